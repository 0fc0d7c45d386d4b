#include "FakeModalSeam.h"
#include "app/AppDelegate.h"
#include "app/Document.h"
#include "app/PFDocumentController.h"
#include "app/PFSidePanel.h"
#include "app/PFStylePopovers.h"
#include "app/PFToolMenuView.h"
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/PFBasePDFView.h"
#include "editing/palette/PFColorButton.h"
#include "editing/palette/PFColorViewController.h"
#include "editing/palette/PFDrawMenuView.h"
#include "pages/windows/PFCombineViewController.h"
#include "pages/windows/PFStatusDisplay.h"
#include "panels/search/PFPageSearchController.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"
#include "widgets/PFHudView.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

class TestAppWiring : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void paletteButtonChoosesTheTool();
    void colourButtonOpensItsPopoverAtTheButton();
    void typingInTheSearchFieldListsMatches();
    void watermarkIsPreviewedAndSaved();
    void combineCommandOpensOneCombineWindow();
    void goKeysMoveThroughPagesAndHistory();

private:
    // Dark pixels in a square of `radius` around `centre` of `image`.
    static int darkPixels(const QImage &image, QPoint centre, int radius);
    QPoint pageCentreInViewport(int index) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<FakeModalSeam> m_seam;
    ViewController *m_controller = nullptr;
    PFWindowController *m_window = nullptr;
    QString m_path;
};

void TestAppWiring::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_defaults = std::make_unique<UserDefaults>(m_dir->filePath(QStringLiteral("prefs.json")));
    m_seam = std::make_unique<FakeModalSeam>();
    m_path = m_dir->filePath(QStringLiteral("doc.pdf"));
    QVERIFY(TestPdf::write(m_path, TestPdf::simple(5)));
    m_controller = new ViewController(*m_defaults);
    m_window = new PFWindowController(m_controller);
    m_window->resize(1000, 760);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    auto content = std::make_shared<PFContent>();
    content->filePath = m_path;
    QVERIFY(m_controller->setRepresentedObject(content));
}

void TestAppWiring::cleanup()
{
    delete m_window;
    m_seam.reset();
}

int TestAppWiring::darkPixels(const QImage &image, QPoint centre, int radius)
{
    int dark = 0;
    for (int y = centre.y() - radius; y <= centre.y() + radius; ++y)
        for (int x = centre.x() - radius; x <= centre.x() + radius; ++x)
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 128)
                ++dark;
    return dark;
}

QPoint TestAppWiring::pageCentreInViewport(int index) const
{
    const PFBasePDFView *view = m_controller->pdfView();
    const PDFPage page = view->document().page(index);
    return view->convertPointFromPage(page.bounds().center(), page).toPoint();
}

void TestAppWiring::paletteButtonChoosesTheTool()
{
    QTest::mouseClick(m_window->pfEditBtn(), Qt::LeftButton);
    PFDrawMenuView *bar = m_controller->drawMenu();
    QTRY_VERIFY(bar->isVisible());
    // Palette index 6 is the button with tag 7.
    QTest::mouseClick(bar->childAt(bar->pfRectAtIndex(7).center()), Qt::LeftButton);
    QTRY_COMPARE(m_controller->pdfView()->pfCurrentStatus().editStatus, 6);
    QCOMPARE(m_controller->pdfView()->pfCurrentStatus().currentStatus, 6);
    QCOMPARE(m_controller->pdfView()->viewport()->cursor().shape(), Qt::CrossCursor);
}

void TestAppWiring::colourButtonOpensItsPopoverAtTheButton()
{
    PFBasePDFView *view = m_controller->pdfView();
    QTest::mouseClick(m_window->pfEditBtn(), Qt::LeftButton);
    PFDrawMenuView *bar = m_controller->drawMenu();
    QTRY_VERIFY(bar->isVisible());
    QTest::mouseClick(bar->childAt(bar->pfRectAtIndex(7).center()), Qt::LeftButton);
    QTRY_COMPARE(view->pfCurrentStatus().currentStatus, 6);

    // Palette index 16, tag 17: the colour popover, just below its button.
    QTest::mouseClick(bar->childAt(bar->pfRectAtIndex(17).center()), Qt::LeftButton);
    PFStylePopovers *popovers = m_controller->stylePopovers();
    QTRY_VERIFY(popovers->colorPopover() && popovers->colorPopover()->isVisible());
    PFColorViewController *popover = popovers->colorPopover();
    const QRect anchor(bar->mapToGlobal(bar->pfRectAtIndex(17).topLeft()), bar->pfRectAtIndex(17).size());
    // Just below the button (the bar slot may settle its layout by a pixel or two meanwhile).
    QVERIFY(qAbs(popover->geometry().top() - (anchor.bottom() + 4)) <= 3);
    QVERIFY(popover->geometry().left() <= anchor.center().x() && anchor.center().x() <= popover->geometry().right());
    QVERIFY(!popovers->widthPopover() && !popovers->fontPopover());
    QCOMPARE(view->pfCurrentStatus().currentStatus, 6); // a style button is no tool

    // A border swatch restyles the rectangle tool.
    PFColorButton *swatch = popover->presetButtons(2).constLast();
    QTest::mouseClick(swatch, Qt::LeftButton);
    QCOMPARE(popovers->pfColorType(), 2);
    QCOMPARE(view->pfColor(), swatch->pfInputColor());
}

void TestAppWiring::typingInTheSearchFieldListsMatches()
{
    PFPageSearchController *page = m_controller->pageSearch();
    QVERIFY(m_controller->shouldClose());
    QTest::keyClicks(m_window->pfSearchField(), QStringLiteral("ipsum"));
    QTRY_COMPARE(page->pfSearchArray().size(), 5); // one match on each page
    QVERIFY(!m_controller->shouldClose());
    QCOMPARE(m_controller->sidePanel()->selectedTab(), int(PFSidePanel::Search));
    QVERIFY(page->isVisible());
    QCOMPARE(page->pfSearchArray().constFirst().string().toLower(), QStringLiteral("ipsum"));

    // The list shows only the newest search's matches.
    m_window->pfSearchField()->setText(QStringLiteral("Page 3"));
    QTRY_COMPARE(page->pfSearchArray().size(), 1);
}

void TestAppWiring::watermarkIsPreviewedAndSaved()
{
    PFBasePDFView *view = m_controller->pdfView();
    m_controller->pfChangePDFShowMode(2);
    m_controller->pfScaleFaterClick(0.5);
    QTest::mouseClick(m_window->pfToolBtn(), Qt::LeftButton);
    PFToolMenuView *tools = m_controller->barSlot()->findChild<PFToolMenuView *>();
    QVERIFY(tools);
    QTest::mouseClick(tools->button(2), Qt::LeftButton);
    QWidget *dialog = nullptr;
    QTRY_VERIFY((dialog = m_controller->findChild<QWidget *>(QStringLiteral("pfTextView"))) != nullptr);
    QVERIFY(!view->pfWaterModel());
    QVERIFY(!view->pfHasChangePDF());

    const QPoint centre = pageCentreInViewport(0);
    QVERIFY(view->viewport()->rect().contains(centre));
    QTRY_VERIFY(darkPixels(view->viewport()->grab().toImage(), centre, 20) == 0);

    QTest::keyClicks(dialog, QStringLiteral("WWWWWW"));
    QVERIFY(view->pfWaterModel());
    QCOMPARE(view->pfWaterModel()->inputText, QStringLiteral("WWWWWW"));
    QVERIFY(view->pfHasChangePDF());
    QTRY_VERIFY(darkPixels(view->viewport()->grab().toImage(), centre, 20) > 40);

    // Pages 2 to 3 only: page 1 loses it in the view.
    QWidget *custom = m_controller->findChild<QRadioButton *>(QStringLiteral("pfNumCustomButton"));
    QTest::mouseClick(custom, Qt::LeftButton);
    auto *start = m_controller->findChild<QLineEdit *>(QStringLiteral("pfNumStartLB"));
    auto *end = m_controller->findChild<QLineEdit *>(QStringLiteral("pfNumEndLB"));
    start->setText(QStringLiteral("2"));
    end->setText(QStringLiteral("3"));
    QCOMPARE(view->pfWaterModel()->numType, 2);
    QCOMPARE(view->pfWaterModel()->startNum, 2);
    QCOMPARE(view->pfWaterModel()->endNum, 3);
    QTRY_VERIFY(darkPixels(view->viewport()->grab().toImage(), centre, 20) == 0);

    QVERIFY(m_controller->pfSavePDFFile(m_path));
    QVERIFY(!view->pfHasChangePDF());
    // The file carries it on pages 2 and 3, drawn into their content; the open document does not.
    const QString prefix = m_dir->filePath(QStringLiteral("page"));
    QCOMPARE(TestPdf::run(QStringLiteral("pdftoppm"), {"-r", "36", "-gray", "-png", m_path, prefix}), 0);
    for (int n = 1; n <= 5; ++n) {
        const QImage image(QStringLiteral("%1-%2.png").arg(prefix).arg(n));
        QVERIFY(!image.isNull());
        const int dark = darkPixels(image, image.rect().center(), 8);
        QVERIFY2((n == 2 || n == 3) ? dark > 10 : dark == 0, qPrintable(QString::number(n)));
    }
    QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {"--check", m_path}), 0);
    const PDFDocument saved = PDFDocument::open(m_path);
    QCOMPARE(saved.pageCount(), 5);

    // Saving again over the file the document was opened from keeps working.
    QVERIFY(m_controller->pfSavePDFFile(m_path));
    QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {"--check", m_path}), 0);
}

void TestAppWiring::combineCommandOpensOneCombineWindow()
{
    AppDelegate delegate(*m_defaults);
    delegate.applicationDidFinishLaunching({m_path});
    QCOMPARE(delegate.documentController()->documents().size(), 1);
    PFWindowController *window = delegate.documentController()->documents().constFirst()->windowController();
    QVERIFY(window);
    QToolButton *combine = nullptr;
    for (QToolButton *button : window->toolbar()->findChildren<QToolButton *>())
        if (button->text() == pfLocalized("合并"))
            combine = button;
    QVERIFY(combine);
    const auto combineWindows = [] {
        QList<PFCombineViewController *> shown;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *found = qobject_cast<PFCombineViewController *>(widget); found && found->isVisible())
                shown << found;
        return shown;
    };
    QVERIFY(combineWindows().isEmpty());
    QTest::mouseClick(combine, Qt::LeftButton);
    QTRY_COMPARE(combineWindows().size(), 1);
    QTest::mouseClick(combine, Qt::LeftButton);
    QCOMPARE(combineWindows().size(), 1);

    // Its messages are the program's overlay.
    PFCombineViewController *shown = combineWindows().constFirst();
    shown->statusDisplay()->showMessage(QStringLiteral("hello"));
    auto *hud = shown->findChild<PFHudView *>();
    QVERIFY(hud);
    QCOMPARE(hud->textHint(), QStringLiteral("hello"));
    for (Document *document : delegate.documentController()->documents())
        document->close();
}

void TestAppWiring::goKeysMoveThroughPagesAndHistory()
{
    AppDelegate delegate(*m_defaults);
    delegate.applicationDidFinishLaunching({m_path});
    PFWindowController *window = delegate.documentController()->documents().constFirst()->windowController();
    QVERIFY(window);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    PFBasePDFView *view = window->findChild<ViewController *>()->pdfView();
    view->setFocus();
    // The page shown after a key press on the page.
    const auto after = [view](Qt::Key key, Qt::KeyboardModifier modifier) {
        QTest::keyClick(view->viewport(), key, modifier);
        return view->currentPage().index();
    };
    QCOMPARE(view->currentPage().index(), 0);

    QCOMPARE(after(Qt::Key_End, Qt::ControlModifier), 4);
    // Back returns to where the jump started; the key does nothing once there is no history.
    QCOMPARE(after(Qt::Key_Left, Qt::AltModifier), 0);
    QCOMPARE(after(Qt::Key_Left, Qt::AltModifier), 0);
    // Forward is the next page, and leaves a way back.
    QCOMPARE(after(Qt::Key_Right, Qt::AltModifier), 1);
    QCOMPARE(after(Qt::Key_Home, Qt::ControlModifier), 0);
    QCOMPARE(after(Qt::Key_Left, Qt::AltModifier), 1);
    for (Document *document : delegate.documentController()->documents())
        document->close();
}

QUIRNA_TEST_MAIN(QApplication, TestAppWiring)
#include "tst_AppWiring.moc"
