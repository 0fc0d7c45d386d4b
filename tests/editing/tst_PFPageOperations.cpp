#include "editing/PFBasePDFView.h"
#include "editing/PFPageCommands.h"
#include "editing/PFThumbnailMenu.h"
#include "editing/PFUndoManager.h"

#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFPage.h"
#include "platform/store/Localization.h"
#include "platform/view/PDFThumbnailView.h"
#include "support/MenuPicker.h"
#include "support/TestEnvironment.h"
#include "support/TestFolder.h"
#include "support/TestPdf.h"
#include "widgets/PFHudView.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QtTest>
#include <memory>

// The thumbnail list's page operations with real clicks and drags on the list: selection,
// the context menu, reordering, the page clipboard, and every operation as one undo step.
class TestPFPageOperations : public QObject {
    Q_OBJECT

    struct Window {
        std::unique_ptr<QWidget> frame;
        PFBasePDFView *view = nullptr;
        PDFThumbnailView *thumbnails = nullptr;
        PFThumbnailMenu *menu = nullptr;
    };

    TestFolder m_files;
    MenuPicker m_menu;

    Window makeWindow(const QList<TestPdf::Page> &pages)
    {
        Window w;
        const QString path = m_files.writePdf(TestPdf::build(pages));
        if (path.isEmpty())
            return w;
        w.frame = std::make_unique<QWidget>();
        auto *layout = new QHBoxLayout(w.frame.get());
        w.view = new PFBasePDFView;
        w.thumbnails = new PDFThumbnailView;
        layout->addWidget(w.view, 1);
        layout->addWidget(w.thumbnails);
        w.thumbnails->setFixedWidth(220);
        w.frame->resize(900, 700);
        w.view->setDocument(PDFDocument::open(path));
        w.thumbnails->setPDFView(w.view);
        // Small thumbnails, so that a whole test document fits in the list.
        w.thumbnails->setThumbnailWidth(60);
        w.menu = new PFThumbnailMenu(w.view, w.thumbnails);
        w.frame->show();
        if (!QTest::qWaitForWindowExposed(w.frame.get()))
            w.frame.reset();
        return w;
    }

    Window makeWindow(int pages)
    {
        QList<TestPdf::Page> list;
        for (int i = 1; i <= pages; ++i)
            list.append(TestPdf::Page{{QStringLiteral("Page %1").arg(i)}});
        return makeWindow(list);
    }

    // Page n shows "Page n": the document's order as those numbers.
    static QList<int> order(const PDFDocument &document)
    {
        QList<int> numbers;
        for (int i = 0; i < document.pageCount(); ++i)
            numbers.append(document.page(i).string().section(QLatin1Char(' '), 1, 1).trimmed().toInt());
        return numbers;
    }

    static QList<int> selectedIndices(const PDFThumbnailView &thumbnails)
    {
        QList<int> indices;
        for (const PDFPage &page : thumbnails.selectedPages())
            indices.append(page.index());
        return indices;
    }

    static QPoint centreOf(const PDFThumbnailView &thumbnails, int index)
    {
        return thumbnails.thumbnailRect(index).center();
    }

    static void click(Window &w, int index, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(w.thumbnails->viewport(), Qt::LeftButton, modifiers, centreOf(*w.thumbnails, index));
    }

    // A real secondary click on a thumbnail, picking the item tagged `tag` from the menu.
    void rightClick(Window &w, int index, int tag)
    {
        m_menu.rightClick(w.thumbnails->viewport(), centreOf(*w.thumbnails, index), tag);
    }

    static PFHudView *message(QWidget *host)
    {
        for (PFHudView *hud : host->findChildren<PFHudView *>())
            if (!hud->property("pfRemoved").toBool())
                return hud;
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_files.isValid());
        PFThumbnailMenu::setPresenter(m_menu.presenter());
    }

    void cleanupTestCase() { PFThumbnailMenu::setPresenter({}); }

    void menuOpensOnlyOnASelectedThumbnail()
    {
        Window w = makeWindow(3);
        QVERIFY(w.frame);
        click(w, 1);
        QCOMPARE(selectedIndices(*w.thumbnails), QList<int>({1}));
        QCOMPARE(w.view->currentPage().index(), 1);

        rightClick(w, 2, 0);
        QCOMPARE(m_menu.shown(), 0);
        rightClick(w, 1, 0);
        QCOMPARE(m_menu.shown(), 1);
        QCOMPARE(m_menu.enabled().keys(), QList<int>({1, 2, 3, 4, 5, 6}));
        QVERIFY(!m_menu.isEnabled(PFThumbnailMenu::Paste)); // nothing on the page clipboard yet
        QVERIFY(m_menu.isEnabled(PFThumbnailMenu::Cut) && m_menu.isEnabled(PFThumbnailMenu::Delete));
    }

    void cutAndPasteGoBeforeTheSelectedPage()
    {
        Window w = makeWindow(5);
        QVERIFY(w.frame);
        click(w, 1);
        rightClick(w, 1, PFThumbnailMenu::Cut);
        QCOMPARE(order(w.view->document()), QList<int>({1, 3, 4, 5}));
        QVERIFY(w.view->pfHasChangePDF() && w.view->pfHasInsertPage());

        click(w, 3);
        rightClick(w, 3, PFThumbnailMenu::Paste);
        QVERIFY(m_menu.isEnabled(PFThumbnailMenu::Paste));
        QCOMPARE(order(w.view->document()), QList<int>({1, 3, 4, 2, 5}));
        QCOMPARE(selectedIndices(*w.thumbnails), QList<int>({3}));
        // The clipboard keeps its page: a second paste makes another copy.
        rightClick(w, 3, PFThumbnailMenu::Paste);
        QCOMPARE(order(w.view->document()), QList<int>({1, 3, 4, 2, 2, 5}));

        // Each of the three was one step.
        for (int i = 0; i < 3; ++i)
            w.view->pfUndoClick();
        QCOMPARE(order(w.view->document()), QList<int>({1, 2, 3, 4, 5}));
        QVERIFY(!w.view->undoManager()->canUndo());
    }

    void pasteShowsThePageAsItIsAtPasteTime()
    {
        Window w = makeWindow(4);
        QVERIFY(w.frame);
        click(w, 2);
        rightClick(w, 2, PFThumbnailMenu::Copy);
        QCOMPARE(w.view->document().pageCount(), 4);
        QVERIFY(!w.view->undoManager()->canUndo());
        rightClick(w, 2, PFThumbnailMenu::Rotate);
        QCOMPARE(w.view->document().page(2).rotation(), 90);
        click(w, 0);
        rightClick(w, 0, PFThumbnailMenu::Paste);
        QCOMPARE(order(w.view->document()), QList<int>({3, 1, 2, 3, 4}));
        QCOMPARE(w.view->document().page(0).rotation(), 90);
        // A copy, not the page itself: turning the copy leaves the original as it is.
        rightClick(w, 0, PFThumbnailMenu::Rotate);
        QCOMPARE(w.view->document().page(0).rotation(), 180);
        QCOMPARE(w.view->document().page(3).rotation(), 90);
    }

    void rotationRunsThroughFourQuarters()
    {
        QList<TestPdf::Page> pages;
        for (int rotate : {0, 270, 45, -90})
            pages.append(TestPdf::Page{{QStringLiteral("Page %1").arg(pages.size() + 1)}, QRectF(0, 0, 612, 792), rotate});
        Window w = makeWindow(pages);
        QVERIFY(w.frame);
        click(w, 0);
        QList<int> seen;
        for (int i = 0; i < 4; ++i) {
            rightClick(w, 0, PFThumbnailMenu::Rotate);
            seen.append(w.view->document().page(0).rotation());
        }
        QCOMPARE(seen, QList<int>({90, 180, 270, 0}));
        // 270 goes to 0 in one step; odd stored values count as the quarter below them.
        click(w, 1);
        click(w, 3, Qt::ShiftModifier);
        QCOMPARE(selectedIndices(*w.thumbnails), QList<int>({1, 2, 3}));
        rightClick(w, 2, PFThumbnailMenu::Rotate);
        QCOMPARE(w.view->document().page(1).rotation(), 0);
        QCOMPARE(w.view->document().page(2).rotation(), 90);
        QCOMPARE(w.view->document().page(3).rotation(), 0);
        // The whole selection turned in one undo step, back to what each page had.
        w.view->pfUndoClick();
        QCOMPARE(w.view->document().page(1).rotation(), 270);
        QCOMPARE(w.view->document().page(2).rotation(), 0);
        QCOMPARE(w.view->document().page(3).rotation(), 270);
        // The view lays the turned page out on its side.
        w.view->pfRedoClick();
        QCOMPARE(w.view->pageSizes().value(2), QSizeF(792, 612));
    }

    void lastPageIsNeverRemoved()
    {
        Window w = makeWindow(1);
        QVERIFY(w.frame);
        click(w, 0);
        rightClick(w, 0, PFThumbnailMenu::Delete);
        QCOMPARE(w.view->document().pageCount(), 1);
        PFHudView *hud = message(w.view);
        QVERIFY(hud);
        QCOMPARE(hud->textHint(), pfLocalized("不能删除了"));
        // Like every message it goes away by itself.
        QTRY_VERIFY_WITH_TIMEOUT(!message(w.view), 10000);

        rightClick(w, 0, PFThumbnailMenu::Cut);
        QCOMPARE(w.view->document().pageCount(), 1);
        QVERIFY(message(w.view));
        QCOMPARE(message(w.view)->textHint(), pfLocalized("不能剪切了"));
        QVERIFY(w.view->pfPageCommands()->pfCutPage().isEmpty());
        QVERIFY(!w.view->undoManager()->canUndo());
        QVERIFY(!w.view->pfHasChangePDF());
    }

    void deletedPagesComeBackWithTheirAnnotations()
    {
        Window w = makeWindow(5);
        QVERIFY(w.frame);
        PDFDocument document = w.view->document();
        for (int i : {1, 2, 4}) {
            PDFAnnotation square = PDFAnnotation::create(document, QStringLiteral("Square"), QRectF(100, 100, 50 + i, 50));
            w.view->pfAddShapeAnnotation(square, i);
        }
        w.view->undoManager()->removeAllActions();

        click(w, 1);
        click(w, 2, Qt::ControlModifier);
        click(w, 4, Qt::ControlModifier);
        QCOMPARE(selectedIndices(*w.thumbnails), QList<int>({1, 2, 4}));
        // Ctrl toggles: a second Ctrl click drops a page again.
        click(w, 3, Qt::ControlModifier);
        click(w, 3, Qt::ControlModifier);
        QCOMPARE(selectedIndices(*w.thumbnails), QList<int>({1, 2, 4}));

        rightClick(w, 4, PFThumbnailMenu::Delete);
        QCOMPARE(order(document), QList<int>({1, 4}));
        w.view->pfUndoClick();
        QCOMPARE(order(document), QList<int>({1, 2, 3, 4, 5}));
        for (int i : {1, 2, 4}) {
            QCOMPARE(document.page(i).annotations().size(), 1);
            QCOMPARE(document.page(i).annotations().first().bounds().width(), 50.0 + i);
        }
        w.view->pfRedoClick();
        QCOMPARE(order(document), QList<int>({1, 4}));
        w.view->pfUndoClick();

        // The result written out, read by another program: five pages in their order.
        const QString out = m_files.filePath(QStringLiteral("restored.pdf"));
        QVERIFY(document.write(out));
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), out}), 0);
        QString text;
        QCOMPARE(TestPdf::run(QStringLiteral("pdftotext"), {out, QStringLiteral("-")}, &text), 0);
        QVERIFY(text.indexOf(QLatin1String("Page 2")) < text.indexOf(QLatin1String("Page 3")));
        QVERIFY(text.contains(QLatin1String("Page 5")));
    }

    void draggingThumbnailsReordersPages()
    {
        Window w = makeWindow(5);
        QVERIFY(w.frame);
        QWidget *viewport = w.thumbnails->viewport();
        click(w, 3);
        click(w, 4, Qt::ShiftModifier);
        const QPoint from = centreOf(*w.thumbnails, 4);
        const QPoint to = w.thumbnails->thumbnailRect(0).topLeft() + QPoint(10, 3);
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        for (int i = 1; i <= 6; ++i)
            QTest::mouseMove(viewport, from + (to - from) * i / 6);
        QCOMPARE(w.thumbnails->dropGap(), 0);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        QCOMPARE(order(w.view->document()), QList<int>({4, 5, 1, 2, 3}));
        QCOMPARE(selectedIndices(*w.thumbnails), QList<int>({0, 1}));
        QCOMPARE(w.thumbnails->dropGap(), -1);

        // Dropped where they are: nothing changes and no step is recorded.
        w.view->undoManager()->removeAllActions();
        QVERIFY(!w.view->pfPageCommands()->pfMovePages(w.thumbnails->selectedPages(), 2));
        QVERIFY(!w.view->undoManager()->canUndo());

        // A press and release without moving is a click: it selects that page alone.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(*w.thumbnails, 1));
        QCOMPARE(selectedIndices(*w.thumbnails), QList<int>({1}));

        // To the end of the list, and back with one undo.
        w.view->pfPageCommands()->pfMovePages({w.view->document().page(0)}, 5);
        QCOMPARE(order(w.view->document()), QList<int>({5, 1, 2, 3, 4}));
        w.view->pfUndoClick();
        QCOMPARE(order(w.view->document()), QList<int>({4, 5, 1, 2, 3}));
    }

    void insertedBlankPageIsOneStep()
    {
        Window w = makeWindow(2);
        QVERIFY(w.frame);
        PFPageCommands *commands = w.view->pfPageCommands();
        QVERIFY(commands->pfInsertPage(w.view->document().page(1), true));
        QCOMPARE(w.view->document().pageCount(), 3);
        QCOMPARE(w.view->document().page(2).bounds(), QRectF(0, 0, 612, 792));
        w.view->pfUndoClick();
        QCOMPARE(order(w.view->document()), QList<int>({1, 2}));
        w.view->pfRedoClick();
        QCOMPARE(w.view->document().pageCount(), 3);
        QVERIFY(w.view->document().page(2).string().trimmed().isEmpty());
    }

    void selectionOnADeletedPageIsDropped()
    {
        Window w = makeWindow(3);
        QVERIFY(w.frame);
        PDFAnnotation square = PDFAnnotation::create(w.view->document(), QStringLiteral("Square"), QRectF(100, 100, 50, 50));
        w.view->pfAddShapeAnnotation(square, 1);
        w.view->pfSelectAnnotation(square);
        click(w, 1);
        rightClick(w, 1, PFThumbnailMenu::Delete);
        QVERIFY(w.view->dragAnnotation().isNull());
        // Two steps back: the page, then the square's creation.
        w.view->pfUndoClick();
        QCOMPARE(w.view->document().page(1).annotations().size(), 1);
        w.view->pfUndoClick();
        QVERIFY(w.view->document().page(1).annotations().isEmpty());
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFPageOperations)
#include "tst_PFPageOperations.moc"
