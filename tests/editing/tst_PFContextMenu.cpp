#include "editing/PFAnnotationCommands.h"
#include "editing/PFBasePDFView.h"
#include "editing/PFContextMenu.h"
#include "editing/PFPageMarks.h"
#include "editing/PFStyleCommands.h"
#include "editing/PFToolStatus.h"
#include "editing/PFUndoManager.h"

#include "settings/PFManager.h"
#include "platform/pdf/PDFPage.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"
#include "support/MenuPicker.h"
#include "support/TestEnvironment.h"
#include "support/TestFolder.h"
#include "support/TestPdf.h"
#include "widgets/PFHudView.h"

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

class TestPFContextMenu : public QObject {
    Q_OBJECT

    TestFolder m_files;
    MenuPicker m_menu;

    std::unique_ptr<PFBasePDFView> makeView(int pages, bool onDisk = true)
    {
        auto view = std::make_unique<PFBasePDFView>();
        view->resize(700, 600);
        if (onDisk) {
            const QString path = m_files.writePdf(TestPdf::simple(pages));
            if (path.isEmpty())
                return nullptr;
            view->setDocument(PDFDocument::open(path));
        } else {
            view->setDocument(PDFDocument::openData(TestPdf::simple(pages)));
        }
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            return nullptr;
        return view;
    }

    static PDFAnnotation addSquare(PFBasePDFView &view, const QRectF &bounds)
    {
        PDFAnnotation square = PDFAnnotation::create(view.document(), QStringLiteral("Square"), bounds);
        square.setColor(Qt::blue);
        view.pfAddShapeAnnotation(square, 0);
        view.undoManager()->removeAllActions();
        return square;
    }

    QPoint viewPointOf(PFBasePDFView &view, QPointF pagePoint)
    {
        return view.convertPointFromPage(pagePoint, view.document().page(0)).toPoint();
    }

    void rightClick(PFBasePDFView &view, QPoint at, int tag) { m_menu.rightClick(view.viewport(), at, tag); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_files.isValid());
        PFContextMenu::setPresenter(m_menu.presenter());
    }

    void cleanupTestCase() { PFContextMenu::setPresenter({}); }

    void enablingRules()
    {
        auto view = makeView(2);
        QVERIFY(view);
        rightClick(*view, QPoint(650, 580), 0);
        QCOMPARE(m_menu.shown(), 1);
        QCOMPARE(m_menu.enabled().size(), 10);
        for (const int tag : {1, 2, 3, 4, 9, 10})
            QVERIFY2(!m_menu.isEnabled(tag), qPrintable(QString::number(tag)));
        for (const int tag : {5, 6, 7, 8})
            QVERIFY(m_menu.isEnabled(tag));

        const PDFAnnotation square = addSquare(*view, QRectF(100, 500, 100, 60));
        rightClick(*view, viewPointOf(*view, QPointF(150, 530)), 0);
        QCOMPARE(view->dragAnnotation(), square);
        QVERIFY(view->pfContextMenu()->hasRightMouseClick());
        QCOMPARE(view->pfCurrentStatus().currentStatus, int(PFToolStatusRectangle));
        for (const int tag : {1, 2, 4, 9})
            QVERIFY(m_menu.isEnabled(tag));
        QVERIFY(!m_menu.isEnabled(3));

        // Another program's stamp or ours: no clipboard for it.
        PDFAnnotation stamp = PDFAnnotation::create(view->document(), QStringLiteral("Stamp"), QRectF(300, 300, 80, 40));
        view->pfAddShapeAnnotation(stamp, 0);
        rightClick(*view, viewPointOf(*view, QPointF(340, 320)), 0);
        QCOMPARE(view->dragAnnotation(), stamp);
        QVERIFY(!m_menu.isEnabled(1) && !m_menu.isEnabled(2) && !m_menu.isEnabled(3));
        QVERIFY(m_menu.isEnabled(4));

        auto unsaved = makeView(2, false);
        QVERIFY(unsaved);
        rightClick(*unsaved, QPoint(200, 200), 0);
        QCOMPARE(m_menu.shown(), 0);
    }

    void pasteIsCentredOnTheClick()
    {
        auto view = makeView(1);
        QVERIFY(view);
        const PDFAnnotation square = addSquare(*view, QRectF(100, 500, 100, 60));
        rightClick(*view, viewPointOf(*view, QPointF(120, 520)), PFContextMenu::Copy);
        QVERIFY(!view->pfCopyAnnotation().isNull());
        QCOMPARE(view->document().page(0).annotations().size(), 1);

        const QPoint at = viewPointOf(*view, QPointF(400, 200));
        const QPointF onPage = view->convertPointToPage(at, view->document().page(0));
        rightClick(*view, at, PFContextMenu::Paste);
        QVector<PDFAnnotation> annotations = view->document().page(0).annotations();
        QCOMPARE(annotations.size(), 2);
        const PDFAnnotation pasted = annotations.last();
        QVERIFY(!(pasted == square));
        QCOMPARE(pasted.bounds().size(), QSizeF(100, 60));
        QCOMPARE(pasted.bounds().center(), onPage);
        QCOMPARE(pasted.color(), std::optional<QColor>(QColor(Qt::blue)));
        QVERIFY(view->pfHasChangePDF());

        // Near the edge the size is kept and the annotation moves just enough to stay on the page.
        const QPoint edge = viewPointOf(*view, QPointF(10, 10));
        rightClick(*view, edge, PFContextMenu::Paste);
        annotations = view->document().page(0).annotations();
        QCOMPARE(annotations.size(), 3);
        QCOMPARE(annotations.last().bounds(), QRectF(0, 0, 100, 60));

        // Each paste is one undo step.
        view->pfUndoClick();
        view->pfUndoClick();
        QCOMPARE(view->document().page(0).annotations().size(), 1);
    }

    void deleteIsUndoneInOneStep()
    {
        auto view = makeView(1);
        QVERIFY(view);
        PDFAnnotation highlight = PDFAnnotation::create(view->document(), QStringLiteral("Highlight"), QRectF(70, 690, 80, 16));
        highlight.setQuadrilateralPoints({PDFQuad{{70, 706}, {150, 706}, {70, 690}, {150, 690}}});
        view->pfAddShapeAnnotation(highlight, 0);
        view->undoManager()->removeAllActions();
        QSignalSpy undoShown(view.get(), &PFBasePDFView::pfShowUndoMenuDelegate);
        QSignalSpy undoHidden(view.get(), &PFBasePDFView::pfHideUndoMenuDelegate);
        QSignalSpy redoShown(view.get(), &PFBasePDFView::pfShowRedoMenuDelegate);

        rightClick(*view, viewPointOf(*view, QPointF(100, 698)), PFContextMenu::Delete);
        QVERIFY(view->document().page(0).annotations().isEmpty());
        QVERIFY(view->dragAnnotation().isNull());
        QCOMPARE(undoShown.size(), 1);

        view->pfUndoClick();
        QCOMPARE(view->document().page(0).annotations().size(), 1);
        QCOMPARE(view->document().page(0).annotations().first(), highlight);
        QCOMPARE(undoHidden.size(), 1);
        QCOMPARE(redoShown.size(), 1);
        view->pfRedoClick();
        QVERIFY(view->document().page(0).annotations().isEmpty());
    }

    void cutAndEditMenu()
    {
        auto view = makeView(1);
        QVERIFY(view);
        const PDFAnnotation square = addSquare(*view, QRectF(100, 500, 100, 60));
        view->pfSelectAnnotation(square);
        view->pfAnnotationCommands()->pfEdiitMenuItemClick(0);
        QVERIFY(view->document().page(0).annotations().isEmpty());
        QVERIFY(!view->pfCopyAnnotation().isNull());
        view->pfAnnotationCommands()->pfEdiitMenuItemClick(2);
        const QVector<PDFAnnotation> pasted = view->document().page(0).annotations();
        QCOMPARE(pasted.size(), 1);
        const QRectF box = view->document().page(0).bounds();
        QCOMPARE(pasted.first().bounds().center(), QPointF(box.width() / 2, box.height() / 2));
        view->pfSelectAnnotation(pasted.first());
        view->pfAnnotationCommands()->pfEdiitMenuItemClick(3);
        QVERIFY(view->document().page(0).annotations().isEmpty());
        view->pfUndoClick(); // the delete
        view->pfUndoClick(); // the paste
        view->pfUndoClick(); // the cut
        QCOMPARE(view->document().page(0).annotations().size(), 1);
        QCOMPARE(view->document().page(0).annotations().first(), square);
    }

    void centreOnPage()
    {
        auto view = makeView(1);
        QVERIFY(view);
        const PDFAnnotation square = addSquare(*view, QRectF(10, 500, 100, 60));
        rightClick(*view, viewPointOf(*view, QPointF(50, 530)), PFContextMenu::Center);
        QCOMPARE(square.bounds(), QRectF((612 - 100) / 2.0, 500, 100, 60));
    }

    void theLastPageCannotBeDeleted()
    {
        auto view = makeView(1);
        QVERIFY(view);
        rightClick(*view, QPoint(300, 300), PFContextMenu::DeletePage);
        QVERIFY(!m_menu.isEnabled(PFContextMenu::DeletePage));
        view->pfContextMenu()->pfmenuItemSubClick(PFContextMenu::DeletePage);
        QCOMPARE(view->document().pageCount(), 1);
        QVERIFY(!view->pfHasInsertPage());
        const QList<PFHudView *> huds = view->findChildren<PFHudView *>();
        QVERIFY(!huds.isEmpty());
        QCOMPARE(huds.last()->textHint(), pfLocalized("不能删除了"));

        auto two = makeView(2);
        QVERIFY(two);
        const PDFPage second = two->document().page(1);
        two->goToPage(second);
        const QPoint onSecond = two->convertPointFromPage(QPointF(300, 400), second).toPoint();
        rightClick(*two, onSecond, PFContextMenu::DeletePage);
        QCOMPARE(two->document().pageCount(), 1);
        QVERIFY(two->pfHasInsertPage());
        QVERIFY(two->pfHasChangePDF());
        QCOMPARE(two->document().page(0).string().contains(QStringLiteral("Page 1")), true);
    }

    void insertPagesBeforeAndAfter()
    {
        auto view = makeView(1);
        QVERIFY(view);
        rightClick(*view, QPoint(300, 300), PFContextMenu::InsertAfter);
        QCOMPARE(view->document().pageCount(), 2);
        QVERIFY(view->document().page(1).string().trimmed().isEmpty());
        QCOMPARE(view->document().page(1).bounds(), view->document().page(0).bounds());
        view->goToFirstPage();
        rightClick(*view, viewPointOf(*view, QPointF(300, 400)), PFContextMenu::InsertBefore);
        QCOMPARE(view->document().pageCount(), 3);
        QVERIFY(view->document().page(1).string().contains(QStringLiteral("Page 1")));
        QVERIFY(view->pfHasInsertPage());
    }

    void addBookmarkIsStoredOnce()
    {
        auto view = makeView(2);
        QVERIFY(view);
        QSignalSpy refreshed(view->pfPageMarks(), &PFPageMarks::pfRefreshPagemarkClick);
        rightClick(*view, viewPointOf(*view, QPointF(300, 400)), PFContextMenu::AddBookmark);
        const QString key = view->document().path() + QStringLiteral("PageMark");
        QVariantMap stored = UserDefaults::standard().value(key).toMap();
        QCOMPARE(stored.size(), 1);
        const QString title = stored.value(QStringLiteral("0")).toString();
        QCOMPARE(title.size(), 20);
        QVERIFY(title.startsWith(QStringLiteral("Page 1")));
        QCOMPARE(refreshed.size(), 1);
        QCOMPARE(refreshed.first().first().toString(), QStringLiteral("0"));

        stored[QStringLiteral("0")] = QStringLiteral("Renamed");
        UserDefaults::standard().setValue(key, stored);
        view->pfPageMarks()->pfShowPagemarks();
        rightClick(*view, viewPointOf(*view, QPointF(300, 400)), PFContextMenu::AddBookmark);
        QCOMPARE(UserDefaults::standard().value(key).toMap().value(QStringLiteral("0")).toString(), QStringLiteral("Renamed"));
        QCOMPARE(refreshed.size(), 1);
    }

    void restylingFollowsTheTables()
    {
        auto view = makeView(1);
        QVERIFY(view);
        PDFAnnotation square = addSquare(*view, QRectF(100, 500, 100, 60));
        view->pfChooseTool(PFToolStatusRectangle);
        view->pfSelectAnnotation(square);
        view->pfStyleCommands()->pfChangeCurrentWidth(7);
        QCOMPARE(square.border()->lineWidth, 7.0);
        QCOMPARE(PFManager::sharedManager().pfGetDrawRectangleWidth(), 7);
        view->pfStyleCommands()->pfChangeAnoColor(Qt::green, 3);
        QCOMPARE(square.interiorColor(), std::optional<QColor>(QColor(Qt::green)));
        QCOMPARE(PFManager::sharedManager().pfGetRectangleFillColor(), QColor(Qt::green));

        // A selected highlight keeps its colour; only the tool's next colour changes.
        PDFAnnotation highlight = PDFAnnotation::create(view->document(), QStringLiteral("Highlight"), QRectF(70, 690, 80, 16));
        highlight.setColor(Qt::yellow);
        view->pfAddShapeAnnotation(highlight, 0);
        view->pfChooseTool(PFToolStatusHighlight);
        view->pfSelectAnnotation(highlight);
        view->pfStyleCommands()->pfChangeAnoColor(Qt::red, 1);
        QCOMPARE(highlight.color(), std::optional<QColor>(QColor(Qt::yellow)));
        QCOMPARE(view->pfColor(), QColor(Qt::red));
        QCOMPARE(PFManager::sharedManager().pfGetHilightColor().rgb(), QColor(Qt::red).rgb());
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFContextMenu)
#include "tst_PFContextMenu.moc"
