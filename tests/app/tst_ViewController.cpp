#include "FakeModalSeam.h"
#include "settings/PFManager.h"
#include "app/PFSidePanel.h"
#include "app/PFSidePanelRules.h"
#include "app/PFStylePopovers.h"
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/PFBasePDFView.h"
#include "editing/palette/PFFontViewController.h"
#include "editing/palette/PFColorViewController.h"
#include "editing/palette/PFWidthViewController.h"
#include "panels/search/PFSearchController.h"
#include "platform/view/PDFThumbnailView.h"
#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"
#include "widgets/PFHudView.h"

#include <QApplication>
#include <QComboBox>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

class TestViewController : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void toolDispatchLoadsEachToolsStyle();
    void panelWidthRules();
    void panelOpensAt230AndDragsBetween230And400();
    void insertedPageAsksOnceBeforeThePanelFirstOpens();
    void leavingTheSearchTabCancelsTheSearch();
    void zoomValues();
    void goToPageIgnoresZeroTooLargeAndEmpty();
    void viewModesAndSlideShow();
    void pairedButtonsShareTheBarSlot();
    void refusedLinkIsShownAsAMessage();
    void droppedFiles();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<FakeModalSeam> m_seam;
    ViewController *m_controller = nullptr;
    PFWindowController *m_window = nullptr;
    std::shared_ptr<PFContent> m_content;
};

void TestViewController::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_defaults = std::make_unique<UserDefaults>(m_dir->filePath(QStringLiteral("prefs.json")));
    m_seam = std::make_unique<FakeModalSeam>();
    const QString path = m_dir->filePath(QStringLiteral("doc.pdf"));
    TestPdf::write(path, TestPdf::simple(40));
    m_controller = new ViewController(*m_defaults);
    m_window = new PFWindowController(m_controller);
    m_window->resize(1200, 800);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_content = std::make_shared<PFContent>();
    m_content->filePath = path;
    QVERIFY(m_controller->setRepresentedObject(m_content));
}

void TestViewController::cleanup()
{
    delete m_window;
    m_seam.reset();
}

void TestViewController::toolDispatchLoadsEachToolsStyle()
{
    PFManager &manager = PFManager::sharedManager();
    manager.pfSetTextColor(QColor(10, 20, 30));
    manager.pfSetTextFillColor(QColor(40, 50, 60));
    manager.pfSetFillFontSize(23);
    manager.pfSetRectangleColor(QColor(0, 0, 255));
    manager.pfSetRectangleFillColor(QColor(0, 255, 0));
    manager.pfSetDrawRectangleWidth(7);
    PFBasePDFView *view = m_controller->pdfView();

    m_controller->pfDrawMenuClick(10);
    QCOMPARE(view->pfCurrentStatus().editStatus, 10);
    QCOMPARE(view->pfCurrentStatus().currentStatus, 10);
    QCOMPARE(view->pfColor(), QColor(10, 20, 30));
    QCOMPARE(view->pfFillColor(), QColor(40, 50, 60));
    QCOMPARE(view->currentFontSize(), 23);

    m_controller->pfDrawMenuClick(6);
    QCOMPARE(view->pfColor(), QColor(0, 0, 255));
    QCOMPARE(view->pfFillColor(), QColor(0, 255, 0));
    QCOMPARE(view->pfLineWidth(), 7.0);
    QVERIFY(!view->pfHasChangePDF()); // choosing a tool is no edit
    QCOMPARE(view->viewport()->cursor().shape(), Qt::CrossCursor);

    // Link and Note load no style: what the previous tool left stays.
    view->setPfColor(Qt::magenta);
    view->setPfFillColor(Qt::cyan);
    view->setPfLineWidth(3);
    for (int tool : {9, 11}) {
        m_controller->pfDrawMenuClick(tool);
        QCOMPARE(view->pfCurrentStatus().currentStatus, tool);
        QCOMPARE(view->pfColor(), QColor(Qt::magenta));
        QCOMPARE(view->pfFillColor(), QColor(Qt::cyan));
        QCOMPARE(view->pfLineWidth(), 3.0);
    }

    // The popover buttons open their popover and leave the tool alone.
    PFStylePopovers *popovers = m_controller->stylePopovers();
    for (int button : {15, 16, 17}) {
        m_controller->pfDrawMenuClick(button);
        QCOMPARE(view->pfCurrentStatus().editStatus, 11);
        QCOMPARE(view->pfCurrentStatus().currentStatus, 11);
    }
    QVERIFY(popovers->widthPopover() && popovers->colorPopover() && popovers->fontPopover());
    QVERIFY(popovers->fontPopover()->isVisible());
    m_controller->pfDrawMenuClick(18);
    QCOMPARE(view->pfCurrentStatus().editStatus, 11);
}

void TestViewController::panelWidthRules()
{
    using namespace PFSidePanelRules;
    const double w = 1000;
    QCOMPARE(constrain(500, w, w - 230, false), 600.0);       // never wider than 400
    QCOMPARE(constrain(900, w, w - 230, false), 770.0);       // not narrower than 230 once opened at 230
    QCOMPARE(constrain(900, w, w - 300, false), 900.0);       // a panel opened wider may shrink freely
    QCOMPARE(constrain(650, w, w - 230, false), 650.0);
    QCOMPARE(constrain(650, w, w - 230, true), w);            // closed: always the full width
}

void TestViewController::panelOpensAt230AndDragsBetween230And400()
{
    QSplitter *split = m_controller->splitView();
    m_window->pdfExtentClick();
    QVERIFY(!m_controller->shouldClose());
    QVERIFY(m_window->pfExtented());
    QCOMPARE(m_window->imageNameOf(m_window->pfExtentBtn()), QStringLiteral("lanH"));
    QTRY_COMPARE(m_controller->sidePanel()->width(), 230);
    QVERIFY(m_controller->sidePanel()->thumbnailView()->pdfView() == m_controller->pdfView());

    QSplitterHandle *handle = split->handle(1);
    const QPoint middle(handle->width() / 2, handle->height() / 2);
    const auto drag = [&](int dx) {
        const QPointF from = handle->mapToGlobal(QPointF(middle));
        const QPointF to = from + QPointF(dx, 0);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(middle), from, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &press);
        QMouseEvent move(QEvent::MouseMove, handle->mapFromGlobal(to), to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, handle->mapFromGlobal(to), to, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &release);
    };
    drag(-300);
    QCOMPARE(m_controller->sidePanel()->width(), 400);
    drag(100);
    QVERIFY(qAbs(m_controller->sidePanel()->width() - 300) <= split->handleWidth()); // within the divider's own width
    drag(200);
    QCOMPARE(m_controller->sidePanel()->width(), 230);

    m_window->pdfExtentClick();
    QVERIFY(m_controller->shouldClose());
    QVERIFY(m_controller->sidePanel()->isHidden());
    QCOMPARE(m_window->imageNameOf(m_window->pfExtentBtn()), QStringLiteral("lanW"));
}

void TestViewController::insertedPageAsksOnceBeforeThePanelFirstOpens()
{
    m_controller->pdfView()->setPfHasInsertPage(true);
    m_window->pdfExtentClick();
    QCOMPARE(m_seam->alerts.size(), size_t(1));
    QCOMPARE(m_seam->alertButtons.size(), 2);
    QVERIFY(m_controller->shouldClose());
    QVERIFY(!m_window->pfExtented());

    m_controller->pdfView()->setPfHasInsertPage(false);
    m_window->pdfExtentClick();
    m_window->pdfExtentClick();
    m_controller->pdfView()->setPfHasInsertPage(true);
    m_window->pdfExtentClick();
    QCOMPARE(m_seam->alerts.size(), size_t(1));
    QVERIFY(!m_controller->shouldClose());
}

void TestViewController::leavingTheSearchTabCancelsTheSearch()
{
    m_window->pdfExtentClick();
    PFSidePanel *panel = m_controller->sidePanel();
    QTest::mouseClick(panel->tab(PFSidePanel::Search), Qt::LeftButton);
    QVERIFY(panel->page(PFSidePanel::Search)->isVisible());
    QVERIFY(panel->page(PFSidePanel::Outline)->isHidden());

    PFSearchController *search = m_controller->searchController();
    QSignalSpy completed(search, &PFSearchController::pfSearchFinished);
    search->pfSearchChange(QStringLiteral("Lorem"));
    QVERIFY(search->isFinding());
    QTest::mouseClick(panel->tab(PFSidePanel::Thumbnails), Qt::LeftButton);
    QVERIFY(panel->page(PFSidePanel::Thumbnails)->isVisible());
    QVERIFY(panel->page(PFSidePanel::Search)->isHidden());
    QVERIFY(!search->isFinding());

    // On the search tab a running search goes on to its end.
    QTest::mouseClick(panel->tab(PFSidePanel::Search), Qt::LeftButton);
    search->pfSearchChange(QStringLiteral("Lorem"));
    QTest::mouseClick(panel->tab(PFSidePanel::Search), Qt::LeftButton);
    QTRY_VERIFY(!completed.isEmpty());

    // Closing the panel cancels it too.
    const qsizetype ended = completed.size();
    search->pfSearchChange(QStringLiteral("Lorem"));
    m_controller->PFExtentClick();
    QVERIFY(m_controller->shouldClose());
    QVERIFY(!search->isFinding());
    QTest::qWait(50);
    QCOMPARE(completed.size(), ended);
}

void TestViewController::zoomValues()
{
    PFBasePDFView *view = m_controller->pdfView();
    m_controller->pfScaleFaterClick(1001);
    QCOMPARE(view->scaleFactor(), 1.0);
    QCOMPARE(m_controller->pfCurrentScaleType(), 1001.0);
    m_controller->pfScaleFaterClick(1003);
    QVERIFY(qAbs(view->scaleFactor() - view->viewport()->height() / 792.0) < 1e-6);
    m_controller->pfScaleFaterClick(2);
    QCOMPARE(view->scaleFactor(), 2.0);
    // Through the pop-up: item 16 is the equal-width value.
    QCOMPARE(m_window->titlesArray().size(), 18);
    m_window->pfScaleFacterClick(16);
    QCOMPARE(m_controller->pfCurrentScaleType(), 1002.0);
    QVERIFY(qAbs(view->scaleFactor() - view->scaleFactorForSizeToFit()) < 1e-6);
    m_window->pfScaleFacterClick(0);
    QCOMPARE(view->scaleFactor(), 0.1);
}

void TestViewController::goToPageIgnoresZeroTooLargeAndEmpty()
{
    PFBasePDFView *view = m_controller->pdfView();
    view->goToPage(view->document().page(4));
    for (const QString &entry : {QStringLiteral("0"), QStringLiteral("41"), QString(), QStringLiteral("abc")}) {
        m_seam->texts.push_back(entry);
        m_controller->pfGoMenuClick(7);
        QCOMPARE(view->currentPage().index(), 4);
    }
    QCOMPARE(m_seam->textPresets.back(), QStringLiteral("5"));
    m_seam->texts.push_back(QStringLiteral("40"));
    m_controller->pfGoMenuClick(7);
    QCOMPARE(view->currentPage().index(), 39);
    m_controller->pfGoMenuClick(3);
    QCOMPARE(view->currentPage().index(), 0);
    m_controller->pfGoMenuClick(2);
    QCOMPARE(view->currentPage().index(), 1);
    QCOMPARE(m_content->currentNum, 2);
}

void TestViewController::viewModesAndSlideShow()
{
    PFBasePDFView *view = m_controller->pdfView();
    const std::pair<int, PDFDisplayMode> modes[] = {{1, PDFDisplayMode::SinglePage},
                                                    {3, PDFDisplayMode::TwoUp},
                                                    {4, PDFDisplayMode::TwoUpContinuous},
                                                    {2, PDFDisplayMode::SinglePageContinuous}};
    for (const auto &[tag, mode] : modes) {
        m_controller->pfChangePDFShowMode(tag);
        QCOMPARE(view->displayMode(), mode);
    }
    m_controller->pfScaleFaterClick(1.5);
    m_window->pdfExtentClick();
    const QColor background = view->backgroundColor();
    QSignalSpy fullScreen(m_controller, &ViewController::fullScreenRequested);
    m_controller->pfChangePDFShowMode(6);
    QCOMPARE(fullScreen.size(), 1);
    QCOMPARE(fullScreen.first().first().toBool(), true);
    QVERIFY(m_controller->isInHuanDengPian());
    QCOMPARE(view->displayMode(), PDFDisplayMode::SinglePage);
    QCOMPARE(view->backgroundColor(), QColor(Qt::black));
    QVERIFY(m_controller->shouldClose());

    m_controller->pfResetHuanDengPianExit();
    QVERIFY(!m_controller->isInHuanDengPian());
    QCOMPARE(view->displayMode(), PDFDisplayMode::SinglePageContinuous);
    QCOMPARE(view->scaleFactor(), 1.5);
    QCOMPARE(view->backgroundColor(), background);

    QSignalSpy toolbar(m_controller, &ViewController::toggleToolbarRequested);
    m_controller->pfChangePDFShowMode(7);
    m_controller->pfChangePDFShowMode(9);
    QCOMPARE(toolbar.size(), 1);
}

void TestViewController::pairedButtonsShareTheBarSlot()
{
    QTest::mouseClick(m_window->pfToolBtn(), Qt::LeftButton);
    QVERIFY(m_controller->isShowToolMenu());
    QVERIFY(m_controller->barSlot()->isVisible());
    QCOMPARE(m_controller->barSlot()->height(), ViewController::kBarHeight);
    QCOMPARE(m_window->imageNameOf(m_window->pfToolBtn()), QStringLiteral("toolH"));

    QTest::mouseClick(m_window->pfEditBtn(), Qt::LeftButton);
    QVERIFY(m_controller->isShowEditMenu());
    QVERIFY(!m_controller->isShowToolMenu());
    QCOMPARE(m_window->imageNameOf(m_window->pfToolBtn()), QStringLiteral("toolW"));
    QCOMPARE(m_window->imageNameOf(m_window->pfEditBtn()), QStringLiteral("zhushiH"));

    QTest::mouseClick(m_window->pfEditBtn(), Qt::LeftButton);
    QVERIFY(!m_controller->isShowEditMenu());
    QVERIFY(m_controller->barSlot()->isHidden());
    QCOMPARE(m_window->imageNameOf(m_window->pfEditBtn()), QStringLiteral("zhushiW"));
}

void TestViewController::refusedLinkIsShownAsAMessage()
{
    emit m_controller->pdfView()->linkRefused(QStringLiteral("file:///bin/sh"), QStringLiteral("refused"));
    QPointer<PFHudView> hud = m_controller->findChild<PFHudView *>();
    QVERIFY(hud);
    QCOMPARE(hud->textHint(), QStringLiteral("refused"));
    QTRY_VERIFY_WITH_TIMEOUT(!hud, 3000);
}

void TestViewController::droppedFiles()
{
    QSignalSpy open(m_controller, &ViewController::openDocumentRequested);
    QVERIFY(!m_controller->pfDragArray({QStringLiteral("/a.pdf"), QStringLiteral("/b.pdf")}));
    QVERIFY(!m_controller->pfDragArray({QStringLiteral("/a.png")}));
    QVERIFY(m_controller->pfDragArray({QStringLiteral("/a.PDF")}));
    QCOMPARE(open.size(), 1);
}

QUIRNA_TEST_MAIN(QApplication, TestViewController)
#include "tst_ViewController.moc"
