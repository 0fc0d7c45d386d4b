#include "ViewController.h"

#include "settings/PFManager.h"
#include "PFModalSeam.h"
#include "PFOpenFailureAlert.h"
#include "PFPageTools.h"
#include "PFPrintController.h"
#include "PFRecentDocuments.h"
#include "PFRecentViewController.h"
#include "PFSaveAlertController.h"
#include "PFSidePanel.h"
#include "PFSidePanelRules.h"
#include "PFSlideShowBar.h"
#include "PFStylePopovers.h"
#include "PFThumbnailCache.h"
#include "PFToolMenuView.h"
#include "editing/PFBasePDFView.h"
#include "editing/PFPageCommands.h"
#include "editing/PFEditCommands.h"
#include "editing/PFThumbnailMenu.h"
#include "editing/PFFreeTextEditor.h"
#include "editing/PFUndoManager.h"
#include "editing/palette/PFDrawMenuView.h"
#include "pages/PFPageManager.h"
#include "signatures/PFDataManager.h"
#include "signatures/PFSignPlacement.h"
#include "stamps/PFStampPlacement.h"
#include "links/PFLinkCreator.h"
#include "panels/bookmarks/PFPagemarkController.h"
#include "panels/highlights/PFHighlightController.h"
#include "panels/outline/PFOutlineController.h"
#include "panels/search/PFPageSearchController.h"
#include "panels/search/PFSearchController.h"
#include "platform/store/Localization.h"
#include "platform/system/ColorSchemePortal.h"
#include "platform/view/PDFView.h" // PDFThumbnailView.h needs it complete
#include "platform/view/PDFThumbnailView.h"
#include "platform/view/PDFTileRenderer.h"
#include "widgets/PFHudView.h"
#include "platform/pdf/PDFProbe.h"

#include <QFileInfo>
#include <QDir>
#include <QResizeEvent>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace {
const QColor kDocumentBackground(236, 236, 236);
} // namespace

ViewController::ViewController(UserDefaults &defaults, QWidget *parent) : QWidget(parent), m_defaults(defaults)
{
    setObjectName(QStringLiteral("ViewController"));
    setAutoFillBackground(true);
    m_barSlot = new QWidget(this);
    m_barSlot->setFixedHeight(kBarHeight);
    m_barSlot->hide();
    auto *barLayout = new QVBoxLayout(m_barSlot);
    barLayout->setContentsMargins(0, 0, 0, 0);

    m_split = new QSplitter(Qt::Horizontal, this);
    m_split->setChildrenCollapsible(false);
    // The divider is drawn as nothing: the panel's edge is the only boundary shown.
    m_split->setHandleWidth(3);
    m_split->setStyleSheet(QStringLiteral("QSplitter::handle { background: transparent; }"));
    m_pdfView = new PFBasePDFView(m_split);
    m_pdfView->setAccessibleName(pfLocalized("文档页面"));
    m_pdfView->setBackgroundColor(Qt::white);
    m_pdfView->setAutoScales(true);
    m_pdfView->setAcceptsDrops(true);
    m_panel = new PFSidePanel(m_split);
    m_split->addWidget(m_pdfView);
    m_split->addWidget(m_panel);
    m_split->setStretchFactor(0, 1);
    m_split->setStretchFactor(1, 0);
    m_panel->hide();
    connect(m_split, &QSplitter::splitterMoved, this, [this] { updatePanelLimits(); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_barSlot);
    layout->addWidget(m_split, 1);

    m_recent = new PFRecentViewController(m_defaults, this);
    m_recent->pfDoneEndEdit = [self = QPointer(this)](const QString &path) {
        QMetaObject::invokeMethod(
            self, [self, path] { if (self) self->pfOpenNewPDFDoc(path); }, Qt::QueuedConnection);
    };
    m_recent->raise();

    m_panel->pfPanelBKViewColorChange(PFManager::pfCheckIsDarkMode());
    connect(&ColorSchemePortal::instance(), &ColorSchemePortal::schemeChanged, this,
            &ViewController::pfFollowAppearance);
    m_stylePopovers = new PFStylePopovers(m_pdfView, m_defaults, this);
    m_stampPlacement = new PFStampPlacement(m_pdfView, this);
    m_signPlacement = new PFSignPlacement(m_pdfView, PFDataManager::sharedManager(), m_defaults, this);
    m_pageTools = new PFPageTools(this);
    m_printController = new PFPrintController(this);
    m_slideShowBar = new PFSlideShowBar(m_pdfView->viewport(), this);
    connect(m_slideShowBar, &PFSlideShowBar::previousClicked, m_pdfView, &PDFView::goToPreviousPage);
    connect(m_slideShowBar, &PFSlideShowBar::nextClicked, m_pdfView, &PDFView::goToNextPage);
    connect(m_slideShowBar, &PFSlideShowBar::exitClicked, this, &ViewController::pfEndSlideShow);
    m_editCommands = new PFEditCommands(m_pdfView, m_panel->thumbnailView(), this);
    connect(m_editCommands, &PFEditCommands::stateChanged, this, &ViewController::editMenuChanged);
    m_thumbnailMenu = new PFThumbnailMenu(m_pdfView, m_panel->thumbnailView());
    m_thumbnailMenu->pfExportThumbPage = [this](const QVector<PDFPage> &pages) {
        QVector<int> indices;
        for (const PDFPage &page : pages)
            indices.append(page.index());
        m_pageTools->pfExportThumbPage(indices);
    };

    m_outline = new PFOutlineController(m_pdfView, this);
    m_panel->pfSetPage(PFSidePanel::Outline, m_outline->page());
    m_outline->pfSaveEditCatalogFile = [this] { pfSaveEditCatalogFile(); };
    m_highlights = new PFHighlightController(m_pdfView);
    m_panel->pfSetPage(PFSidePanel::Highlights, m_highlights);
    m_pagemarks = new PFPagemarkController(m_pdfView);
    m_panel->pfSetPage(PFSidePanel::Bookmarks, m_pagemarks);
    m_linkCreator = new PFLinkCreator(m_pdfView);

    m_pageSearch = new PFPageSearchController;
    m_panel->pfSetPage(PFSidePanel::Search, m_pageSearch);
    m_searchController = new PFSearchController(m_pdfView, m_pageSearch, this);
    m_searchController->pfIsPanelClosed = [this] { return m_shouldClose; };
    m_searchController->pfIsSearchPageShown = [this] {
        return !m_shouldClose && m_panel->selectedTab() == PFSidePanel::Search;
    };
    connect(m_searchController, &PFSearchController::pfShowSearchPanel, this, &ViewController::showSearchPanel);
    connect(m_searchController, &PFSearchController::pfNoMatch, this,
            [this] { showMessage(pfLocalized("没有找到匹配项")); });
    connect(m_panel, &PFSidePanel::segmentChanged, this, [this](int s) {
        if (s != PFSidePanel::Search)
            m_searchController->pfCancelSearch();
    });

    connect(m_pdfView, &PDFView::pageChanged, this, &ViewController::pfChangePageTitle);
    // A followed link or outline entry makes Back possible; the Go menu shows it at once.
    connect(m_pdfView, &PDFView::pageChanged, this, [this] { emit goBackMenuEnabled(m_pdfView->canGoBack()); });
    // The chosen zoom is applied again when pages turn: a fit to the pages' width no longer
    // fits once a page lies on its side.
    connect(m_pdfView->pfPageCommands(), &PFPageCommands::pagesRotated, this, [this] { pfScaleFaterClick(m_scaleType); });
    connect(m_pdfView, &PDFView::linkRefused, this, [this](const QString &, const QString &message) {
        showMessage(message);
    });
    connect(m_pdfView, &PDFView::filesDropped, this, [this](const QStringList &paths) { pfDragArray(paths); });
    connect(m_pdfView, &PFBasePDFView::pfShowUndoMenuDelegate, this, [this] { emit undoMenuEnabled(true); });
    connect(m_pdfView, &PFBasePDFView::pfHideUndoMenuDelegate, this, [this] { emit undoMenuEnabled(false); });
    connect(m_pdfView, &PFBasePDFView::pfShowRedoMenuDelegate, this, [this] { emit redoMenuEnabled(true); });
    connect(m_pdfView, &PFBasePDFView::pfHideRedoMenuDelegate, this, [this] { emit redoMenuEnabled(false); });
    // Undoing or redoing back to the saved state leaves nothing to save, unless a change that
    // has no undo step (pages inserted or removed, a watermark) happened meanwhile.
    connect(m_pdfView->undoManager(), &PFUndoManager::cleanChanged, this, [this](bool clean) {
        if (clean && !m_pdfView->pfHasInsertPage() && !m_unsavedWatermark)
            m_pdfView->setPfHasChangePDF(false);
    });

    m_endResize.setSingleShot(true);
    m_endResize.setInterval(250); // a resize that has been still this long is over
    connect(&m_endResize, &QTimer::timeout, this, &ViewController::PFEndResizeWindow);
}

ViewController::~ViewController()
{
    // The writer uses the preference store, which may not outlive this window.
    m_thumbnail.waitForFinished();
}

// Loading ---------------------------------------------------------------------------------------

bool ViewController::setRepresentedObject(std::shared_ptr<PFContent> content)
{
    m_content = std::move(content);
    return loadDocument();
}

bool ViewController::loadDocument()
{
    m_openFailed = false;
    if (!m_content)
        return false;
    PDFDocument document;
    if (!m_content->filePath.isEmpty())
        document = PDFDocument::open(m_content->filePath, PDFPageCheck::Deferred);
    else if (!m_content->data.isEmpty())
        document = PDFDocument::openData(m_content->data, PDFPageCheck::Deferred);
    if (document.isNull())
        return reportUnopenable();
    bool retry = false;
    while (document.isLocked()) {
        const auto password = PFModalSeam::current().password(window(), QFileInfo(m_content->filePath).fileName(), retry);
        if (!password)
            return false;
        retry = !document.unlock(*password);
    }
    if (document.pageCount() == 0)
        return reportUnopenable();

    m_pdfView->setDocument(document);
    m_pdfView->setAutoScales(true);
    m_pdfView->setBackgroundColor(kDocumentBackground);
    m_content->totalNum = document.pageCount();
    m_content->currentNum = std::max(m_pdfView->currentPageIndex(), 0) + 1;
    m_originPdfRect = document.page(0).bounds(PDFDisplayBox::CropBox);

    pfLoadLeftPannelData();
    emit documentLoaded();
    m_recent->hide();
    if (!m_content->filePath.isEmpty()) {
        PFRecentDocuments::note(m_content->filePath, m_defaults);
        // The start window's picture of the file is made once the first screen is drawn:
        // earlier, a second reading of the whole file would compete with the window's own.
        constexpr int kLatestStartMs = 2000; // for a window that is never shown
        auto start = [this, path = m_content->filePath, started = std::make_shared<bool>(false)] {
            if (std::exchange(*started, true))
                return;
            m_thumbnail.waitForFinished();
            m_thumbnail = PFThumbnailCache::pfRefreshThumbNail(path, m_defaults);
        };
        connect(m_pdfView->tileRenderer(), &PDFTileRenderer::renderingIdle, this, start, Qt::SingleShotConnection);
        QTimer::singleShot(kLatestStartMs, this, start);
    }
    emit titleChanged();
    return true;
}

bool ViewController::reportUnopenable()
{
    m_openFailed = !m_content->filePath.isEmpty();
    if (!m_content->filePath.isEmpty())
        PFOpenFailureAlert::show(window(), m_content->filePath);
    return false;
}

void ViewController::pfLoadLeftPannelData()
{
    if (m_hasLoadPannelData)
        return;
    m_hasLoadPannelData = true;
    PDFThumbnailView *thumbnails = m_panel->thumbnailView();
    thumbnails->setPDFView(m_pdfView);
    thumbnails->setThumbnailWidth(160);
    const bool dark = PFManager::pfCheckIsDarkMode();
    m_panel->pfPanelBKViewColorChange(dark);
    m_outline->setDark(dark);
    m_highlights->setDark(dark);
    m_pagemarks->setDark(dark);
}

void ViewController::pfChangePageTitle()
{
    if (!m_content || m_pdfView->currentPageIndex() < 0)
        return;
    m_content->currentNum = m_pdfView->currentPageIndex() + 1;
    emit titleChanged();
}

void ViewController::pfOpenNewPDFDoc(const QString &path) { emit openInThisWindowRequested(path); }

// Saving and the close prompt -------------------------------------------------------------------

bool ViewController::pfShouldSavePDF() const
{
    if (m_saveClose)
        return false;
    // The undo history only counts while it is away from the saved state: after a save, or
    // after undoing back to it, closing loses nothing and asks nothing.
    return m_pdfView->pfHasUnsavedChanges();
}

PDFDocument ViewController::documentForWriting()
{
    m_pdfView->pfTextEditor()->pfCheckHasUndoTextView();
    return m_pdfView->document();
}

bool ViewController::pfSavePDFFile(const QString &path)
{
    if (m_pdfView->document().isNull() || path.isEmpty())
        return false;
    const PDFDocument document = documentForWriting();
    const auto &watermark = m_pdfView->pfWaterModel();
    const bool written = watermark && !watermark->inputText.isEmpty() ? writeWatermarked(path, *watermark)
                                                                        : document.write(path);
    if (!written) {
        showMessage(pfLocalized("保存失败"));
        return false;
    }
    // A copy elsewhere leaves this window's own file unsaved, so the flag stays for it.
    if (m_content && QFileInfo(path).absoluteFilePath() == QFileInfo(m_content->filePath).absoluteFilePath()) {
        m_pdfView->setPfHasChangePDF(false);
        m_pdfView->undoManager()->setClean();
        m_unsavedWatermark = false;
        if (m_saveCatalogClick)
            pfOpenSaveEditCatalogFile();
    }
    return true;
}

void ViewController::pfSaveEditCatalogFile()
{
    if (!m_content || m_content->filePath.isEmpty() || m_pdfView->document().isNull())
        return;
    m_saveCatalogClick = true;
    pfSavePDFFile(m_content->filePath);
    m_saveCatalogClick = false;
}

void ViewController::pfOpenSaveEditCatalogFile()
{
    // The saved file replaces the document in this window, as if it had been closed and opened
    // again: the undo history and the page-change flags belong to the old one.
    m_pdfView->setPfHasChangePDF(false);
    const PDFDestination here = m_pdfView->currentDestination();
    const int pageIndex = here.isNull() ? -1 : here.page().index();
    if (!loadDocument())
        return;
    const PDFDocument document = m_pdfView->document();
    if (pageIndex >= 0 && pageIndex < document.pageCount())
        m_pdfView->goToPage(document.page(pageIndex));
}

void ViewController::pfShowSavePannel()
{
    if (m_saveAlert)
        return; // one prompt at a time
    const QString fileName = m_content ? QFileInfo(m_content->filePath).fileName() : QString();
    const QString message = QStringLiteral("%1\"%2\"%3?")
                                .arg(pfLocalized("要保存对文档"), fileName, pfLocalized("的更改吗?"));
    auto *alert = new PFSaveAlertController(window());
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setMessage(message);
    alert->pfDoneEdit = [self = QPointer(this)](int code) {
        QMetaObject::invokeMethod(
            self, [self, code] { if (self) self->pfCheckPDFClick(code); }, Qt::QueuedConnection);
    };
    m_saveAlert = alert;
    alert->open();
}

void ViewController::pfCheckPDFClick(int code)
{
    switch (code) {
    case PFSaveAlertController::Save:
        if (m_saveClose)
            return;
        m_saveClose = true;
        if (!writeOwnFile()) {
            // The sheet stays, and a later close must still ask: nothing was saved.
            m_saveClose = false;
            return;
        }
        if (m_saveAlert)
            m_saveAlert->dismiss();
        emit closeDocument();
        break;
    case PFSaveAlertController::Cancel:
        if (m_saveAlert)
            m_saveAlert->dismiss();
        emit closeCancelled();
        break;
    case PFSaveAlertController::DontSave:
        if (m_saveAlert)
            m_saveAlert->dismiss();
        emit closeDocument();
        break;
    default:
        break;
    }
}

bool ViewController::writeOwnFile()
{
    return m_content && pfSavePDFFile(m_content->filePath);
}

bool ViewController::writeWatermarked(const QString &path, const PFWatermarkModel &model)
{
    // The document in memory never holds the watermark: it is drawn on a snapshot, encrypted as
    // the document is, and the snapshot is written in its place. Pages the watermark's range
    // names beyond the end are not there to mark; the save goes ahead all the same.
    PDFDocument copy = m_pdfView->document().snapshot();
    return !copy.isNull() && PFPageManager::sharedManager().pfStampWatermark(copy, model) >= 0 && copy.write(path);
}

void ViewController::pfAddAddWatermarkDoneClick(const PFWatermarkModel &model)
{
    m_pdfView->setPfHasChangePDF(true);
    m_unsavedWatermark = true; // no undo step leads back from it
    m_pdfView->setPfWaterModel(model);
    m_pdfView->pfRefreshWatermark();
}

// Side panel ------------------------------------------------------------------------------------

void ViewController::pdSegmentClick(int s) { m_panel->pdSegmentClick(s); }

double ViewController::viewWidth() const { return m_split->width(); }

void ViewController::PFExtentClick()
{
    if (m_pdfView->pfHasInsertPage() && !m_hasFirstOpenPannel) {
        // The panels read the file on disk, which does not have the inserted pages yet.
        const int answer = PFModalSeam::current().alert(window(), pfLocalized("需要保存后"), QString(),
                                                        {pfLocalized("保存"), pfLocalized("取消")});
        // Either way the panel stays closed; after the save it opens on the next click.
        if (answer == 0)
            pfSaveEditCatalogFile();
        return;
    }
    m_hasFirstOpenPannel = true;
    if (!m_shouldClose) {
        m_searchController->pfCancelSearch();
        m_divPosition = 0;
        m_shouldClose = true;
        moveDivider(viewWidth());
    } else {
        pfLoadLeftPannelData();
        m_shouldClose = false;
        m_divPosition = viewWidth() - PFSidePanelRules::kOpenWidth;
        moveDivider(m_divPosition);
    }
}

void ViewController::moveDivider(double position)
{
    const double width = viewWidth();
    const double constrained = PFSidePanelRules::constrain(position, width, m_divPosition, m_shouldClose);
    m_panel->setVisible(!m_shouldClose);
    updatePanelLimits();
    if (!m_shouldClose) {
        // The divider was hidden with the panel; lay it out again so it sits at the panel's edge.
        m_split->refresh();
        m_split->setSizes({qRound(constrained), qRound(width - constrained)});
    }
}

void ViewController::updatePanelLimits()
{
    if (m_shouldClose) {
        m_panel->setMinimumWidth(0);
        return;
    }
    const double width = viewWidth();
    m_panel->setMaximumWidth(qRound(width - PFSidePanelRules::minimumPosition(width)));
    m_panel->setMinimumWidth(qRound(width - PFSidePanelRules::maximumPosition(width, m_divPosition)));
}

void ViewController::PFResizeWindow()
{
    if (!m_shouldClose) {
        if (m_resizePosition == 0)
            m_resizePosition = m_panel->width();
        m_divPosition = viewWidth() - PFSidePanelRules::kOpenWidth;
        moveDivider(viewWidth() - m_resizePosition);
    }
    m_pdfView->viewport()->update();
    m_endResize.start();
}

void ViewController::PFEndResizeWindow() { m_resizePosition = 0; }

void ViewController::showSearchPanel()
{
    if (m_shouldClose)
        PFExtentClick();
    if (!m_shouldClose && m_panel->selectedTab() != PFSidePanel::Search)
        pdSegmentClick(PFSidePanel::Search);
}

void ViewController::pfFollowAppearance()
{
    const bool dark = PFManager::pfCheckIsDarkMode();
    if (dark != m_panel->isDark())
        m_panel->pfPanelBKViewColorChange(dark);
}

void ViewController::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The toolkit's palette follows the desktop's theme; a new one may be light or dark.
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange)
        pfFollowAppearance();
}

void ViewController::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_recent->setGeometry(rect());
    if (event->oldSize().isValid())
        PFResizeWindow();
}

// Bars ------------------------------------------------------------------------------------------

void ViewController::pfShowZhuShiMenu() { showBar(true); }

void ViewController::pfShowToolMenuView() { showBar(false); }

void ViewController::showBar(bool annotationBar)
{
    bool &shown = annotationBar ? m_showEditMenu : m_showToolMenu;
    bool &other = annotationBar ? m_showToolMenu : m_showEditMenu;
    shown = !shown;
    other = false;
    if (annotationBar)
        drawMenu();
    if (!annotationBar && !m_toolMenu) {
        m_toolMenu = new PFToolMenuView(m_barSlot);
        m_toolMenu->pfToolClick = [self = QPointer(this)](int index) {
            QMetaObject::invokeMethod(
                self, [self, index] { if (self) self->pfToolMenuClick(index); }, Qt::QueuedConnection);
        };
        m_barSlot->layout()->addWidget(m_toolMenu);
    }
    if (m_drawMenu)
        m_drawMenu->setVisible(m_showEditMenu);
    if (m_toolMenu)
        m_toolMenu->setVisible(m_showToolMenu);
    m_barSlot->setVisible(m_showEditMenu || m_showToolMenu);
}

PFDrawMenuView *ViewController::drawMenu()
{
    if (!m_drawMenu) {
        m_drawMenu = new PFDrawMenuView(m_barSlot);
        m_drawMenu->hide();
        m_drawMenu->pfToolClick = [self = QPointer(this)](int index) {
            QMetaObject::invokeMethod(
                self, [self, index] { if (self) self->pfDrawMenuClick(index); }, Qt::QueuedConnection);
        };
        m_barSlot->layout()->addWidget(m_drawMenu);
    }
    return m_drawMenu;
}

// Tools -----------------------------------------------------------------------------------------

void ViewController::pfDrawMenuClick(int t)
{
    if (t >= 15 && t <= 17) {
        m_stylePopovers->pfShow(t, drawMenu());
        return;
    }
    m_pdfView->pfResetData();
    // The view loads the tool's remembered style and pointer; other indices stop here.
    if (!m_pdfView->pfChooseTool(t))
        return;
    // The placing tools first ask for what they place.
    switch (t) {
    case PFToolStatusImage:
        m_stampPlacement->pfAddPhotoToPDF();
        break;
    case PFToolStatusStamp:
        m_stampPlacement->pfShowSelectStampView(drawMenu());
        break;
    case PFToolStatusSign:
        m_signPlacement->pfShowSignTab(drawMenu());
        break;
    default:
        break;
    }
}

void ViewController::pfToolMenuClick(int index)
{
    switch (index) {
    case 0:
        m_pageTools->pfExtractImageMenuClick();
        break;
    case 1:
        m_pageTools->pfPassMenuClick();
        break;
    case 2:
        m_pageTools->pfAddWatermarkClick();
        break;
    default:
        break;
    }
}

// Zoom and view modes ---------------------------------------------------------------------------

void ViewController::pfScaleFaterClick(double value)
{
    m_scaleType = value;
    // 1000 is the value stored before any zoom was chosen: it keeps the page fitted rather than
    // jumping to the largest factor.
    if (value == 1000)
        m_pdfView->setAutoScales(true);
    else if (value == 1001)
        m_pdfView->setScaleFactor(1.0);
    else if (value == 1002)
        m_pdfView->setScaleFactor(m_pdfView->scaleFactorForSizeToFit());
    else if (value == 1003) {
        if (m_originPdfRect.height() > 0)
            m_pdfView->setScaleFactor(m_pdfView->viewport()->height() / m_originPdfRect.height());
    } else
        m_pdfView->setScaleFactor(value); // the view keeps it within its limits
}

void ViewController::pfScaleDownClick()
{
    if (m_pdfView->canZoomOut())
        m_pdfView->zoomOut();
}

void ViewController::pfScaleUpClick()
{
    if (m_pdfView->canZoomIn())
        m_pdfView->zoomIn();
}

void ViewController::pfChangePDFShowMode(int m)
{
    switch (m) {
    case 1:
        m_pdfView->setDisplayMode(PDFDisplayMode::SinglePage);
        break;
    case 2:
        m_pdfView->setDisplayMode(PDFDisplayMode::SinglePageContinuous);
        break;
    case 3:
        m_pdfView->setDisplayMode(PDFDisplayMode::TwoUp);
        break;
    case 4:
        m_pdfView->setDisplayMode(PDFDisplayMode::TwoUpContinuous);
        break;
    case 5:
        emit fullScreenRequested(!window()->isFullScreen());
        break;
    case 6: {
        if (m_slideShow)
            return; // already showing; leaving full screen ends it
        m_slideShow = true;
        emit fullScreenRequested(true);
        m_savedMode = m_pdfView->displayMode();
        m_savedScale = m_pdfView->scaleFactor();
        m_savedAutoScales = m_pdfView->autoScales();
        m_savedBackground = m_pdfView->backgroundColor();
        m_pdfView->setDisplayMode(PDFDisplayMode::SinglePage);
        m_pdfView->setAutoScales(true);
        m_pdfView->setBackgroundColor(Qt::black);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, Qt::black);
        setPalette(palette);
        if (!m_shouldClose)
            PFExtentClick();
        m_slideShowBar->setActive(true);
        m_slideShowBar->reveal(); // shows at once how to get out
        m_pdfView->setFocus();
        break;
    }
    case 7:
    case 8:
        emit toggleToolbarRequested();
        break;
    default:
        break;
    }
}

void ViewController::pfResetHuanDengPianExit()
{
    if (m_slideShow)
        pfResetHuanDengPian();
}

void ViewController::pfEndSlideShow()
{
    if (!m_slideShow)
        return;
    if (window()->isFullScreen())
        emit fullScreenRequested(false); // the window's return calls pfResetHuanDengPianExit
    else
        pfResetHuanDengPian();
}

void ViewController::pfResetHuanDengPian()
{
    m_slideShow = false;
    m_slideShowBar->setActive(false);
    m_pdfView->setDisplayMode(m_savedMode);
    if (m_savedAutoScales)
        m_pdfView->setAutoScales(true);
    else
        m_pdfView->setScaleFactor(m_savedScale);
    m_pdfView->setBackgroundColor(m_savedBackground);
    setPalette(QPalette());
}

// Navigation ------------------------------------------------------------------------------------

void ViewController::pfGoMenuClick(int g)
{
    const PDFDocument document = m_pdfView->document();
    if (document.isNull())
        return;
    switch (g) {
    case 1:
        m_pdfView->goToPreviousPage();
        break;
    case 2:
        m_pdfView->goToNextPage();
        break;
    case 3:
        m_pdfView->goToFirstPage();
        break;
    case 4:
        m_pdfView->goToLastPage();
        break;
    case 5:
        m_pdfView->goToNextPage();
        if (m_pdfView->canGoBack())
            emit goBackMenuEnabled(true);
        break;
    case 6:
        if (m_pdfView->canGoBack())
            m_pdfView->goBack();
        emit goBackMenuEnabled(m_pdfView->canGoBack());
        break;
    case 7: {
        const int current = std::max(m_pdfView->currentPageIndex(), 0) + 1;
        const auto entry = PFModalSeam::current().textEntry(
            window(), QStringLiteral("%1:").arg(pfLocalized("页面")), QString::number(current),
            {pfLocalized("确定"), pfLocalized("取消")});
        if (!entry || entry->trimmed().isEmpty())
            return;
        bool ok = false;
        const int n = entry->trimmed().toInt(&ok);
        if (ok && n >= 1 && n <= document.pageCount())
            m_pdfView->goToPage(document.page(n - 1));
        break;
    }
    default:
        break;
    }
}

// Edit menu -------------------------------------------------------------------------------------

void ViewController::pfUndoClick() { m_pdfView->pfUndoClick(); }

void ViewController::pfRedoClick() { m_pdfView->pfRedoClick(); }

void ViewController::pfCheckUndoMenu() { emit undoMenuEnabled(m_pdfView->undoManager()->canUndo()); }

void ViewController::pfCheckRedoMenu() { emit redoMenuEnabled(m_pdfView->undoManager()->canRedo()); }

void ViewController::pfCutMenuClick() { m_editCommands->pfPerform(PFEditCommands::Cut); }

void ViewController::pfCopyMenuClick() { m_editCommands->pfPerform(PFEditCommands::Copy); }

void ViewController::pfPasteMenuClick() { m_editCommands->pfPerform(PFEditCommands::Paste); }

void ViewController::pfDeleteMenuClick() { m_editCommands->pfPerform(PFEditCommands::Delete); }

void ViewController::pfSelectAllMenuClick() { m_editCommands->pfPerform(PFEditCommands::SelectAll); }

bool ViewController::pfCanEditMenuItem(int index) const
{
    return index >= PFEditCommands::Cut && index <= PFEditCommands::SelectAll
           && m_editCommands->pfCanPerform(PFEditCommands::Command(index));
}

void ViewController::pfPrintClick() { m_printController->pfPrintClick(); }

bool ViewController::pfDragArray(const QStringList &paths)
{
    // A PDF is known by its content, whatever its name; a broken file named .pdf is taken too, to
    // be reported.
    if (paths.size() != 1
        || (QFileInfo(paths.constFirst()).suffix().toLower() != QLatin1String("pdf")
            && !PDFProbe::looksLikePDF(paths.constFirst())))
        return false;
    emit openDocumentRequested(paths.constFirst());
    return true;
}

void ViewController::showMessage(const QString &text)
{
    if (PFHudView *hud = PFHudView::showHUDAddedTo(this, text))
        hud->hide(true, PFHudView::kMessageSeconds);
}
