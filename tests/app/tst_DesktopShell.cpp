#include "FakeModalSeam.h"
#include "app/AppDelegate.h"
#include "app/Document.h"
#include "app/PFAboutDialog.h"
#include "app/PFDocumentController.h"
#include "app/PFPageTools.h"
#include "app/PFSidePanel.h"
#include "app/PFSlideShowBar.h"
#include "app/PFStylePopovers.h"
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/PFBasePDFView.h"
#include "editing/palette/PFColorViewController.h"
#include "editing/palette/PFDrawMenuView.h"
#include "pages/windows/PFExtractImageController.h"
#include "panels/search/PFPageSearchController.h"
#include "panels/search/PFSearchController.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"
#include "widgets/PFHudView.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

// The keyboard and menus of a document window as a Linux user meets them: nothing traps the
// keyboard, every way into full screen or the slide show has a way out, and the menus hold
// only what means something here.
class TestDesktopShell : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fullScreenKeepsShortcutsAndEscapeLeavesIt();
    void slideShowHasItsControlsAndEndsWithEscape();
    void zoomListGivesTheKeyboardBackToThePages();
    void searchFieldStepsThroughMatchesAndMovesTheView();
    void searchWithoutMatchSaysSo();
    void escapeClosesPopoversAndToolWindows();
    void menusHoldOnlyLinuxItemsAndAboutIsOurOwn();
    void chineseInterfaceShowsNoKeySuffix();
    void panelFollowsTheDesktopAppearance();

private:
    int currentIndex() const { return m_controller->pdfView()->currentPage().index(); }
    QStringList menuTexts() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<FakeModalSeam> m_seam;
    std::unique_ptr<AppDelegate> m_app;
    QPointer<PFWindowController> m_window;
    ViewController *m_controller = nullptr;
};

void TestDesktopShell::init()
{
    Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
    m_dir = std::make_unique<QTemporaryDir>();
    m_defaults = std::make_unique<UserDefaults>(m_dir->filePath(QStringLiteral("prefs.json")));
    m_seam = std::make_unique<FakeModalSeam>();
    m_app = std::make_unique<AppDelegate>(*m_defaults);
    const QString path = m_dir->filePath(QStringLiteral("doc.pdf"));
    QVERIFY(TestPdf::write(path, TestPdf::simple(5)));
    Document *document = m_app->documentController()->openDocument(path, true);
    QVERIFY(document);
    m_window = document->windowController();
    m_controller = m_window->contentViewController();
    m_window->resize(1000, 760);
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_controller->pdfView()->setFocus();
}

void TestDesktopShell::cleanup()
{
    m_app.reset();
    m_seam.reset();
    QTest::qWait(20);
}

QStringList TestDesktopShell::menuTexts() const
{
    QStringList texts;
    for (QAction *menu : m_window->menuBar()->actions()) {
        texts << menu->text();
        for (QAction *item : menu->menu()->actions())
            if (!item->isSeparator())
                texts << item->text();
    }
    return texts;
}

void TestDesktopShell::fullScreenKeepsShortcutsAndEscapeLeavesIt()
{
    QTest::keyClick(m_window, Qt::Key_F11);
    QTRY_VERIFY(m_window->isFullScreen());
    QVERIFY(!m_window->menuBar()->isVisible());
    QVERIFY(!m_window->toolbar()->isVisible());

    // With the menu bar hidden its shortcuts still work: Go to Page asks for the page.
    m_seam->texts.push_back(QStringLiteral("4"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(m_seam->textLabels.size(), size_t(1));
    QTRY_COMPARE(currentIndex(), 3);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!m_window->isFullScreen());
    QVERIFY(m_window->menuBar()->isVisible());
    QVERIFY(m_window->toolbar()->isVisible());

    // F11 both enters and leaves; Escape outside full screen leaves the window as it is.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
    QTRY_VERIFY(m_window->isFullScreen());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
    QTRY_VERIFY(!m_window->isFullScreen());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!m_window->isFullScreen());
    QVERIFY(m_window->isVisible());
}

void TestDesktopShell::slideShowHasItsControlsAndEndsWithEscape()
{
    PFBasePDFView *view = m_controller->pdfView();
    m_app->action("幻灯片")->trigger();
    QTRY_VERIFY(m_window->isFullScreen());
    QVERIFY(m_controller->isInHuanDengPian());
    PFSlideShowBar *bar = m_controller->slideShowBar();
    // Shown at once, so the way out is visible; then the pointer's move brings it back.
    QTRY_VERIFY(bar->isVisible());
    bar->hide();
    QTest::mouseMove(view->viewport(), view->viewport()->rect().center());
    QTRY_VERIFY(bar->isVisible());
    QVERIFY(!bar->exitButton()->accessibleName().isEmpty());

    QTest::mouseClick(bar->nextButton(), Qt::LeftButton);
    QTRY_COMPARE(currentIndex(), 1);
    QTest::mouseClick(bar->nextButton(), Qt::LeftButton);
    QTRY_COMPARE(currentIndex(), 2);
    QTest::mouseClick(bar->previousButton(), Qt::LeftButton);
    QTRY_COMPARE(currentIndex(), 1);
    // The keyboard turns pages too; the buttons never take it.
    QVERIFY(view->hasFocus());
    QTest::keyClick(view, Qt::Key_Right);
    QTRY_COMPARE(currentIndex(), 2);

    QTest::mouseClick(bar->exitButton(), Qt::LeftButton);
    QTRY_VERIFY(!m_window->isFullScreen());
    QVERIFY(!m_controller->isInHuanDengPian());
    QVERIFY(!bar->isVisible());
    QVERIFY(m_window->menuBar()->isVisible());

    // Again, left with Escape this time.
    m_app->action("幻灯片")->trigger();
    QTRY_VERIFY(m_window->isFullScreen());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!m_window->isFullScreen());
    QVERIFY(!m_controller->isInHuanDengPian());
    QCOMPARE(view->displayMode(), PDFDisplayMode::SinglePageContinuous);
}

void TestDesktopShell::zoomListGivesTheKeyboardBackToThePages()
{
    PFBasePDFView *view = m_controller->pdfView();
    QComboBox *zoom = m_window->pfWidthItem();
    zoom->setFocus();
    QVERIFY(zoom->hasFocus());
    QTest::keyClick(zoom, Qt::Key_Down); // "actual size"
    QCOMPARE(m_controller->pfCurrentScaleType(), 1001.0);
    QTRY_VERIFY(view->hasFocus());
    const int chosen = zoom->currentIndex();
    const int before = view->verticalScrollBar()->value();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    QCOMPARE(zoom->currentIndex(), chosen);
    QVERIFY(view->verticalScrollBar()->value() > before);
}

void TestDesktopShell::searchFieldStepsThroughMatchesAndMovesTheView()
{
    QLineEdit *field = m_window->pfSearchField();
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("Page"));
    PFPageSearchController *results = m_controller->pageSearch();
    QTRY_COMPARE(results->pfSearchArray().size(), 5);
    QTRY_VERIFY(!m_controller->searchController()->isFinding());

    QTest::keyClick(field, Qt::Key_Return);
    QTRY_COMPARE(currentIndex(), 0);
    QTest::keyClick(field, Qt::Key_Return);
    QTRY_COMPARE(currentIndex(), 1);
    QTest::keyClick(field, Qt::Key_F3);
    QTRY_COMPARE(currentIndex(), 2);
    QTest::keyClick(field, Qt::Key_F3, Qt::ShiftModifier);
    QTRY_COMPARE(currentIndex(), 1);
    QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
    QTRY_COMPARE(currentIndex(), 4); // wrapped round to the last match
    QVERIFY(field->hasFocus()); // stepping leaves the keyboard in the field
    // F3 works from the pages as well.
    m_controller->pdfView()->setFocus();
    QTest::keyClick(m_controller->pdfView(), Qt::Key_F3);
    QTRY_COMPARE(currentIndex(), 0);
}

void TestDesktopShell::searchWithoutMatchSaysSo()
{
    QLineEdit *field = m_window->pfSearchField();
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("xylophone"));
    const auto message = [this] {
        for (PFHudView *hud : m_controller->findChildren<PFHudView *>())
            if (hud->textHint() == pfLocalized("没有找到匹配项"))
                return true;
        return false;
    };
    QTRY_VERIFY(message());
    QCOMPARE(pfLocalized("没有找到匹配项"), QStringLiteral("No matches found"));
    QCOMPARE(m_controller->pageSearch()->pfSearchArray().size(), 0);
    QCOMPARE(currentIndex(), 0);
}

void TestDesktopShell::escapeClosesPopoversAndToolWindows()
{
    m_controller->pfDrawMenuClick(16);
    PFColorViewController *popover = m_controller->stylePopovers()->colorPopover();
    QTRY_VERIFY(popover && popover->isVisible());
    QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget() : popover, Qt::Key_Escape);
    QTRY_VERIFY(!popover->isVisible());

    m_controller->pfToolMenuClick(0);
    QPointer<PFExtractImageController> tool = m_controller->pageTools()->extractDialog();
    QTRY_VERIFY(tool && tool->isVisible());
    QApplication::setActiveWindow(tool);
    QTRY_VERIFY(tool->isActiveWindow());
    QTest::keyClick(tool, Qt::Key_Escape);
    QTRY_VERIFY(!tool || !tool->isVisible());
    QVERIFY(m_window->isVisible());
}

void TestDesktopShell::menusHoldOnlyLinuxItemsAndAboutIsOurOwn()
{
    const QStringList texts = menuTexts();
    for (const char *key : {"服务", "隐藏其他", "粘贴并匹配", "拼写", "翻译", "语音", "页面设"})
        QVERIFY2(!texts.contains(pfLocalized(key)), key);
    for (const char *key : {"关于 Quirna", "打印", "全屏", "幻灯片", "退出Quirna"})
        QVERIFY2(texts.contains(pfLocalized(key)), key);

    QAction *print = m_app->action("打印");
    QVERIFY(print->isEnabled());
    QCOMPARE(print->shortcut(), QKeySequence(QKeySequence::Print));
    QVERIFY(m_app->action("全屏")->shortcuts().contains(QKeySequence(Qt::Key_F11)));

    m_app->action("关于 Quirna")->trigger();
    auto *about = qobject_cast<PFAboutDialog *>(m_app->aboutDialog());
    QVERIFY(about);
    QTRY_VERIFY(about->isVisible());
    const QString licence = about->licenceLabel()->text();
    QVERIFY(licence.contains(QStringLiteral("GNU Affero")));
    QVERIFY(licence.contains(QStringLiteral("MuPDF 1.")));
    QVERIFY(licence.contains(QStringLiteral("Qt ") + QString::fromLatin1(qVersion())));
    QVERIFY(about->versionLabel()->text().contains(QCoreApplication::applicationVersion()));
    // A second request brings the same box forward.
    m_app->action("关于 Quirna")->trigger();
    QCOMPARE(m_app->aboutDialog(), about);
    QTest::keyClick(about, Qt::Key_Escape);
    QTRY_VERIFY(!m_app->aboutDialog());

    QStringList tray;
    for (QAction *item : m_app->trayMenu()->actions())
        if (!item->isSeparator())
            tray << item->text();
    QCOMPARE(tray, (QStringList{pfLocalized("打开"), pfLocalized("退出Quirna")}));
}

void TestDesktopShell::chineseInterfaceShowsNoKeySuffix()
{
    // The menus take their texts when they are made, as at start-up.
    m_app.reset();
    QVERIFY(Localization::install(QLocale(QLocale::Chinese, QLocale::China)) > 0);
    m_app = std::make_unique<AppDelegate>(*m_defaults);
    const QString path = m_dir->filePath(QStringLiteral("zh.pdf"));
    QVERIFY(TestPdf::write(path, TestPdf::simple(3)));
    Document *document = m_app->documentController()->openDocument(path, true);
    PFWindowController *window = document->windowController();
    QCOMPARE(window->windowTitle(), QStringLiteral("zh.pdf (页码: 1/3)"));
    QStringList texts;
    for (QAction *menu : window->menuBar()->actions())
        for (QAction *item : menu->menu()->actions())
            texts << item->text();
    QVERIFY(texts.contains(QStringLiteral("关闭")));
    QVERIFY(texts.contains(QStringLiteral("保存")));
    for (const QString &text : texts)
        QVERIFY2(!text.endsWith(QStringLiteral("Menu")), qPrintable(text));
    Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestDesktopShell::panelFollowsTheDesktopAppearance()
{
    PFSidePanel *panel = m_controller->sidePanel();
    const QPalette light = QApplication::palette();
    QVERIFY(!panel->isDark());
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, Qt::white);
    // The desktop switches to dark while the window is open, and back.
    QApplication::setPalette(dark);
    QTRY_VERIFY(panel->isDark());
    QVERIFY(panel->palette().color(QPalette::Window).lightness() < 128);
    QApplication::setPalette(light);
    QTRY_VERIFY(!panel->isDark());
}

QUIRNA_TEST_MAIN(QApplication, TestDesktopShell)
#include "tst_DesktopShell.moc"
