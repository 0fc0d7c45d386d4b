#include "FakeModalSeam.h"
#include "app/AppDelegate.h"
#include "app/Document.h"
#include "app/PFDocumentController.h"
#include "app/PFSaveAlertController.h"
#include "app/PFSidePanel.h"
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/PFBasePDFView.h"
#include "editing/PFFreeTextEditor.h"
#include "editing/PFPageCommands.h"
#include "editing/PFThumbnailMenu.h"
#include "editing/PFToolStatus.h"
#include "editing/PFUndoManager.h"
#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/store/UserDefaults.h"
#include "platform/view/PDFThumbnailView.h"
#include "pages/windows/FakePageUi.h"
#include "support/MenuPicker.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTemporaryDir>
#include <QtTest>

// The Edit commands through the real menu items and keys of a document window: each acts on
// what has the keyboard, and each item is enabled exactly when its command can act.
class TestEditCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<FakeModalSeam> m_seam;
    std::unique_ptr<AppDelegate> m_delegate;
    PFWindowController *m_window = nullptr;
    ViewController *m_controller = nullptr;
    PFBasePDFView *m_view = nullptr;

    MenuPicker m_menu;

    QAction *item(const char *key) const { return m_delegate->action(key); }

    PDFThumbnailView *showThumbnails()
    {
        m_controller->PFExtentClick();
        m_controller->pdSegmentClick(PFSidePanel::Thumbnails);
        PDFThumbnailView *thumbnails = m_controller->sidePanel()->thumbnailView();
        if (!QTest::qWaitFor([&] { return thumbnails->isVisible() && !thumbnails->thumbnailRect(1).isNull(); }))
            return nullptr;
        return thumbnails;
    }

    static QString pageText(const QString &path)
    {
        QString text;
        TestPdf::run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}, &text);
        return text;
    }

    QList<bool> enabled() const
    {
        QList<bool> states;
        for (const char *key : {"剪切", "复制", "粘贴", "删除", "全选"})
            states.append(item(key)->isEnabled());
        return states;
    }

    QPoint viewPoint(int pageIndex, QPointF pagePoint) const
    {
        return m_view->convertPointFromPage(pagePoint, m_view->document().page(pageIndex)).toPoint();
    }

    // A plain click on an annotation with no tool chosen selects it.
    void clickOn(int pageIndex, QPointF pagePoint)
    {
        m_view->setFocus();
        m_view->goToPage(m_view->document().page(pageIndex));
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, viewPoint(pageIndex, pagePoint));
    }

    PDFAnnotation addSquare(int pageIndex, const QRectF &bounds)
    {
        PDFAnnotation square = PDFAnnotation::create(m_view->document(), QStringLiteral("Square"), bounds);
        square.setColor(Qt::blue);
        m_view->pfAddShapeAnnotation(square, pageIndex);
        m_view->undoManager()->removeAllActions();
        return square;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<UserDefaults>(m_dir->filePath(QStringLiteral("prefs.json")));
        m_seam = std::make_unique<FakeModalSeam>();
        const QString path = m_dir->filePath(QStringLiteral("doc.pdf"));
        QVERIFY(TestPdf::write(path, TestPdf::simple(4)));
        m_delegate = std::make_unique<AppDelegate>(*m_defaults);
        Document *document = m_delegate->documentController()->openDocument(path, true);
        QVERIFY(document);
        m_window = document->windowController();
        m_window->resize(1100, 800);
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        m_controller = m_window->contentViewController();
        m_view = m_controller->pdfView();
        m_view->setAutoScales(false);
        m_view->setScaleFactor(1.0);
    }

    void initTestCase() { PFThumbnailMenu::setPresenter(m_menu.presenter()); }
    void cleanupTestCase() { PFThumbnailMenu::setPresenter({}); }

    void cleanup()
    {
        m_delegate.reset();
        m_seam.reset();
    }

    void keysActOnTheSelectedAnnotation()
    {
        const PDFAnnotation square = addSquare(0, QRectF(100, 500, 100, 60));
        QApplication::clipboard()->setText(QStringLiteral("before"));
        clickOn(0, QPointF(150, 530));
        QCOMPARE(m_view->dragAnnotation(), square);
        QCOMPARE(enabled(), QList<bool>({true, true, false, true, true}));

        // Copy takes the annotation, not text, and Paste becomes possible.
        QTest::keyClick(m_view->viewport(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(!m_view->pfCopyAnnotation().isNull());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        QVERIFY(item("粘贴")->isEnabled());

        QTest::keyClick(m_view->viewport(), Qt::Key_Delete);
        QVERIFY(m_view->document().page(0).annotations().isEmpty());
        QVERIFY(m_view->dragAnnotation().isNull());
        QVERIFY(!item("删除")->isEnabled());
        QTest::keyClick(m_view->viewport(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_view->document().page(0).annotations().size(), 1);
        QCOMPARE(m_view->document().page(0).annotations().first(), square);

        clickOn(0, QPointF(150, 530));
        QTest::keyClick(m_view->viewport(), Qt::Key_Backspace);
        QVERIFY(m_view->document().page(0).annotations().isEmpty());

        // The menu's Paste puts a copy in the middle of the current page.
        item("粘贴")->trigger();
        const QVector<PDFAnnotation> pasted = m_view->document().page(0).annotations();
        QCOMPARE(pasted.size(), 1);
        QCOMPARE(pasted.first().bounds().center(), m_view->document().page(0).bounds().center());

        // The copy is selected: Cut acts on it at once, a removal that the clipboard keeps.
        QCOMPARE(m_view->dragAnnotation(), pasted.first());
        QTest::keyClick(m_view->viewport(), Qt::Key_X, Qt::ControlModifier);
        QVERIFY(m_view->document().page(0).annotations().isEmpty());
        QVERIFY(item("粘贴")->isEnabled());
    }

    void copyTakesSelectedTextWhenNoAnnotationIsSelected()
    {
        m_view->setFocus();
        QCOMPARE(enabled(), QList<bool>({false, false, false, false, true}));
        QTest::keyClick(m_view->viewport(), Qt::Key_A, Qt::ControlModifier);
        QVERIFY(!m_view->currentSelection().isEmpty());
        QVERIFY(item("复制")->isEnabled());
        QVERIFY(!item("剪切")->isEnabled());
        item("复制")->trigger();
        QVERIFY(QApplication::clipboard()->text().contains(QStringLiteral("Page 1")));
    }

    void textFieldGetsTheCommandsWhileTypedIn()
    {
        QLineEdit *field = m_window->pfSearchField();
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClicks(field, QStringLiteral("lorem"));
        QVERIFY(!item("剪切")->isEnabled()); // nothing selected in the field
        item("全选")->trigger();
        QCOMPARE(field->selectedText(), QStringLiteral("lorem"));
        QVERIFY(item("剪切")->isEnabled());
        item("剪切")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("lorem"));
        QVERIFY(field->text().isEmpty());
        item("粘贴")->trigger();
        QCOMPARE(field->text(), QStringLiteral("lorem"));
        // The page view's selection stays out of it.
        QVERIFY(m_view->document().page(0).annotations().isEmpty());
    }

    void thumbnailsGetTheCommandsWhenTheyHaveTheKeyboard()
    {
        PDFThumbnailView *thumbnails = showThumbnails();
        QVERIFY(thumbnails);
        const PDFAnnotation square = addSquare(1, QRectF(100, 500, 100, 60));
        QTest::mouseClick(thumbnails->viewport(), Qt::LeftButton, {}, thumbnails->thumbnailRect(1).center());
        QTRY_VERIFY(thumbnails->hasFocus());
        QCOMPARE(enabled(), QList<bool>({true, true, false, true, true}));

        QTest::keyClick(thumbnails->viewport(), Qt::Key_Delete);
        QCOMPARE(m_view->document().pageCount(), 3);
        QTest::keyClick(thumbnails->viewport(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_view->document().pageCount(), 4);
        QCOMPARE(m_view->document().page(1).annotations().first(), square);

        QTest::keyClick(thumbnails->viewport(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(m_view->pfPageCommands()->pfCutPage().size(), 1);
        QTest::keyClick(thumbnails->viewport(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_view->document().pageCount(), 5);
        QVERIFY(m_view->document().page(1).string().startsWith(QStringLiteral("Page 2")));
        QCOMPARE(m_view->document().page(1).annotations().size(), 1);
        QVERIFY(!(m_view->document().page(1).annotations().first() == square)); // a copy

        // Select All then Delete would leave nothing: refused, every page stays.
        QTest::keyClick(thumbnails->viewport(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(thumbnails->selectedPages().size(), 5);
        QTest::keyClick(thumbnails->viewport(), Qt::Key_Delete);
        QCOMPARE(m_view->document().pageCount(), 5);
    }

    void extractCommitsTheTextBoxBeingTyped()
    {
        FakePrompts prompts;
        const QString out = m_dir->filePath(QStringLiteral("extracted.pdf"));
        prompts.save = PFPagePrompts::SaveChoice{out, 0};
        PDFThumbnailView *thumbnails = showThumbnails();
        QVERIFY(thumbnails);

        // A box opened with the Text tool on page 1 and typed into, not yet committed.
        m_view->pfChooseTool(PFToolStatusText);
        m_view->goToPage(m_view->document().page(0));
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, viewPoint(0, QPointF(300, 300)));
        QTextEdit *edit = m_view->pfTextEditor()->pfTextScrollView();
        QVERIFY(edit);
        QTest::keyClicks(edit, QStringLiteral("Typed note"));
        QVERIFY(m_view->pfTextEditor()->isOpen());

        QTest::mouseClick(thumbnails->viewport(), Qt::LeftButton, {}, thumbnails->thumbnailRect(0).center());
        m_menu.rightClick(thumbnails->viewport(), thumbnails->thumbnailRect(0).center(), PFThumbnailMenu::Extract);
        QCOMPARE(m_menu.shown(), 1);
        QTRY_VERIFY(QFileInfo::exists(out));
        QVERIFY(!m_view->pfTextEditor()->isOpen());

        // The box is in the open document and in the extracted page, as other readers see it.
        const QVector<PDFAnnotation> annotations = m_view->document().page(0).annotations();
        QCOMPARE(annotations.size(), 1);
        QCOMPARE(annotations.first().contents(), QStringLiteral("Typed note"));
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), out}), 0);
        QString shown;
        QCOMPARE(TestPdf::run(QStringLiteral("mutool"), {QStringLiteral("show"), out, QStringLiteral("pages/1/Annots/1")}, &shown), 0);
        QVERIFY2(shown.contains(QStringLiteral("/FreeText")) && shown.contains(QStringLiteral("(Typed note)")), qPrintable(shown));
        QVERIFY(pageText(out).contains(QStringLiteral("Page 1")));
    }

    void cutPagesSurviveClosingTheWindow()
    {
        const QString path = m_view->document().path();
        PDFThumbnailView *thumbnails = showThumbnails();
        QVERIFY(thumbnails);
        QTest::mouseClick(thumbnails->viewport(), Qt::LeftButton, {}, thumbnails->thumbnailRect(1).center());
        QTest::mouseClick(thumbnails->viewport(), Qt::LeftButton, Qt::ShiftModifier, thumbnails->thumbnailRect(2).center());
        QTest::keyClick(thumbnails->viewport(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(m_view->document().pageCount(), 2);

        // Closing asks; Cancel keeps the window, and the cut pages can still be pasted.
        QPointer<PFWindowController> window = m_window;
        QVERIFY(!window->close());
        QPointer<PFSaveAlertController> sheet = m_controller->pfSaveAlert();
        QVERIFY(sheet && sheet->isVisible());
        QTest::mouseClick(sheet->button(PFSaveAlertController::Cancel), Qt::LeftButton);
        QTRY_VERIFY(!sheet || !sheet->isVisible());
        QVERIFY(window && window->isVisible());
        window->activateWindow(); // the user clicks back into it
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::mouseClick(thumbnails->viewport(), Qt::LeftButton, {}, thumbnails->thumbnailRect(1).center());
        QTRY_VERIFY(thumbnails->hasFocus());
        QTest::keyClick(thumbnails->viewport(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_view->document().pageCount(), 4);
        QVERIFY(m_view->document().page(1).string().startsWith(QStringLiteral("Page 2")));
        QVERIFY(m_view->document().page(2).string().startsWith(QStringLiteral("Page 3")));

        // Cut again, close and save: the file holds what the window showed, and the window
        // goes with its page clipboard.
        QTest::keyClick(thumbnails->viewport(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(m_view->document().pageCount(), 2);
        QVERIFY(!window->close());
        sheet = m_controller->pfSaveAlert();
        QVERIFY(sheet && sheet->isVisible());
        QTest::mouseClick(sheet->button(PFSaveAlertController::Save), Qt::LeftButton);
        QTRY_VERIFY(!window);
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), path}), 0);
        QString pages;
        QCOMPARE(TestPdf::run(QStringLiteral("pdfinfo"), {path}, &pages), 0);
        QVERIFY2(pages.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))), qPrintable(pages));
        const QString text = pageText(path);
        QVERIFY(text.contains(QStringLiteral("Page 1")) && text.contains(QStringLiteral("Page 4")));
        QVERIFY(!text.contains(QStringLiteral("Page 2")));
    }

    void turningAPageKeepsTheChosenFit()
    {
        PDFThumbnailView *thumbnails = showThumbnails();
        QVERIFY(thumbnails);
        // Fit Width chosen from the toolbar's zoom list with the keyboard.
        auto *zoom = m_window->findChild<QComboBox *>(QStringLiteral("pfWidthItem"));
        QVERIFY(zoom);
        const int fitWidth = int(m_window->titlesArray().indexOf(QStringLiteral("1002")));
        zoom->setFocus();
        zoom->setCurrentIndex(fitWidth - 1);
        QTest::keyClick(zoom, Qt::Key_Down);
        QCOMPARE(m_controller->pfCurrentScaleType(), 1002.0);
        const double portrait = m_view->scaleFactor();
        const PDFPage second = m_view->document().page(1);
        const auto shownWidth = [&] { return m_view->convertRectFromPage(second.bounds(), second).normalized().width(); };
        QVERIFY(shownWidth() <= m_view->viewport()->width());

        // Page 2 turned on its side is wider: the fit is worked out again, so it still fits.
        QTest::mouseClick(thumbnails->viewport(), Qt::LeftButton, {}, thumbnails->thumbnailRect(1).center());
        m_menu.rightClick(thumbnails->viewport(), thumbnails->thumbnailRect(1).center(), PFThumbnailMenu::Rotate);
        QCOMPARE(second.rotation(), 90);
        QVERIFY2(m_view->scaleFactor() < portrait * 0.9, qPrintable(QString::number(m_view->scaleFactor())));
        QVERIFY2(shownWidth() <= m_view->viewport()->width(), qPrintable(QString::number(shownWidth())));
        QCOMPARE(m_view->currentPage(), second);

        // Turned back by undo, the pages fit as before.
        QTest::keyClick(thumbnails->viewport(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(second.rotation(), 0);
        QCOMPARE(m_view->scaleFactor(), portrait);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestEditCommands)
#include "tst_EditCommands.moc"
