#pragma once

#include "PFContent.h"
#include "PFSaveAlertController.h"

#include <QColor>
#include <QFuture>
#include <QPointer>
#include <QRectF>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "pages/PFWatermarkModel.h"
#include "platform/view/PDFDisplayMode.h"

class PDFDocument;
class PFBasePDFView;
class PFEditCommands;
class PFThumbnailMenu;
class PFDrawMenuView;
class PFHighlightController;
class PFLinkCreator;
class PFOutlineController;
class PFPagemarkController;
class PFPageSearchController;
class PFPageTools;
class PFPrintController;
class PFSearchController;
class PFStylePopovers;
class PFRecentViewController;
class PFSaveAlertController;
class PFSidePanel;
class PFSignPlacement;
class PFStampPlacement;
class PFSlideShowBar;
class PFToolMenuView;
class QSplitter;
class UserDefaults;

// The content of a document window and the hub of its parts: the editing PDF view, the side
// panel on its right, the bar slot above it and the start view over everything while no file
// is shown. Menu and toolbar commands arrive here and become calls on the view or requests to
// the window.
class ViewController : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBarHeight = 34;

    explicit ViewController(UserDefaults &defaults, QWidget *parent = nullptr);
    ~ViewController() override;

    // Loads the content's file into the view (asking for the password of a locked one); a file
    // that cannot be opened leaves the start view up. True when a document is shown.
    bool setRepresentedObject(std::shared_ptr<PFContent> content);
    // The last load failed because the file cannot be read as a document (and the user was told).
    bool openFailed() const { return m_openFailed; }
    std::shared_ptr<PFContent> representedObject() const { return m_content; }

    PFBasePDFView *pdfView() const { return m_pdfView; }
    // The document as it is to be written: text still being typed in a box goes in first. Every
    // write of the open document (save, protected copy, single-page export) takes it from here.
    PDFDocument documentForWriting();
    PFSidePanel *sidePanel() const { return m_panel; }
    PFRecentViewController *recentView() const { return m_recent; }
    QSplitter *splitView() const { return m_split; }
    QWidget *barSlot() const { return m_barSlot; }
    PFSaveAlertController *pfSaveAlert() const { return m_saveAlert; }
    // The annotation bar, made on first use.
    PFDrawMenuView *drawMenu();
    PFStylePopovers *stylePopovers() const { return m_stylePopovers; }
    PFSearchController *searchController() const { return m_searchController; }
    PFPageSearchController *pageSearch() const { return m_pageSearch; }
    PFPageTools *pageTools() const { return m_pageTools; }
    // The Image, Stamp and Sign tools' choosers and placement.
    PFStampPlacement *stampPlacement() const { return m_stampPlacement; }
    PFSignPlacement *signPlacement() const { return m_signPlacement; }
    PFOutlineController *outlineController() const { return m_outline; }
    PFHighlightController *highlightController() const { return m_highlights; }
    PFPagemarkController *pagemarkController() const { return m_pagemarks; }
    PFLinkCreator *linkCreator() const { return m_linkCreator; }
    PFSlideShowBar *slideShowBar() const { return m_slideShowBar; }
    PFPrintController *printController() const { return m_printController; }
    PFEditCommands *editCommands() const { return m_editCommands; }
    PFThumbnailMenu *thumbnailMenu() const { return m_thumbnailMenu; }

    // View state.
    bool shouldClose() const { return m_shouldClose; }
    bool hasLoadPannelData() const { return m_hasLoadPannelData; }
    bool hasFirstOpenPannel() const { return m_hasFirstOpenPannel; }
    double divPosition() const { return m_divPosition; }
    QRectF originPdfRect() const { return m_originPdfRect; }
    double pfCurrentScaleType() const { return m_scaleType; }
    bool isInHuanDengPian() const { return m_slideShow; }
    bool isShowEditMenu() const { return m_showEditMenu; }
    bool isShowToolMenu() const { return m_showToolMenu; }
    bool pfSaveClose() const { return m_saveClose; }

    // Document lifecycle.
    bool pfShouldSavePDF() const;
    void pfShowSavePannel();
    void pfCheckPDFClick(int code);
    // Writes the document to `path`; only a write to the document's own file counts as saved.
    bool pfSavePDFFile(const QString &path);
    void pfOpenNewPDFDoc(const QString &path);
    // Saves the document to its own file and opens that file again, so that the panels, which
    // number pages as the file does, work after pages were inserted or removed.
    void pfSaveEditCatalogFile();
    void pfOpenSaveEditCatalogFile();
    void pfChangePageTitle();

    // Side panel and bars.
    void pdSegmentClick(int s);
    void PFExtentClick();
    void pfShowZhuShiMenu();
    void pfShowToolMenuView();
    void PFResizeWindow();
    void PFEndResizeWindow();

    // Tools, zoom, view modes, navigation.
    void pfDrawMenuClick(int t);
    void pfToolMenuClick(int index);
    void pfScaleFaterClick(double value);
    void pfScaleDownClick();
    void pfScaleUpClick();
    void pfChangePDFShowMode(int m);
    void pfResetHuanDengPianExit();
    // Ends the slide show from its own controls: the window leaves full screen.
    void pfEndSlideShow();
    void pfGoMenuClick(int g);
    void pfUndoClick();
    void pfRedoClick();
    void pfCheckUndoMenu();
    void pfCheckRedoMenu();
    // The Edit menu: each acts on what has the keyboard (see PFEditCommands).
    void pfCutMenuClick();
    void pfCopyMenuClick();
    // File › Print: the system dialog, then the pages rendered off the GUI thread.
    void pfPrintClick();
    // Follows the desktop's light or dark appearance (also when it changes while running).
    void pfFollowAppearance();
    void pfPasteMenuClick();
    void pfDeleteMenuClick();
    void pfSelectAllMenuClick();
    // Whether the Edit item 0 cut, 1 copy, 2 paste, 3 delete, 4 select all can act now.
    bool pfCanEditMenuItem(int index) const;
    bool pfDragArray(const QStringList &paths);
    // The watermark dialog's record: drawn over the pages from now on, written by every save.
    void pfAddAddWatermarkDoneClick(const PFWatermarkModel &model);

signals:
    void titleChanged();
    void documentLoaded();
    void closeDocument();
    // The save prompt shown on closing was cancelled: the window stays.
    void closeCancelled();
    // The start view chose a file (or one was dropped on it) for this window.
    void openInThisWindowRequested(const QString &path);
    // A dropped PDF to open as its own document.
    void openDocumentRequested(const QString &path);
    // The window should enter (true) or leave (false) full screen.
    void fullScreenRequested(bool on);
    void toggleToolbarRequested();
    void undoMenuEnabled(bool enabled);
    void redoMenuEnabled(bool enabled);
    void goBackMenuEnabled(bool enabled);
    // What the Edit items can act on may have changed.
    void editMenuChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool loadDocument();
    // Tells the user why the represented file cannot be shown; always false.
    bool reportUnopenable();
    void pfLoadLeftPannelData();
    void moveDivider(double position);
    void updatePanelLimits();
    void showBar(bool annotationBar);
    void pfResetHuanDengPian();
    void showMessage(const QString &text);
    double viewWidth() const;
    bool writeOwnFile();
    bool writeWatermarked(const QString &path, const PFWatermarkModel &model);
    void showSearchPanel();

    UserDefaults &m_defaults;
    bool m_openFailed = false;
    std::shared_ptr<PFContent> m_content;
    PFBasePDFView *m_pdfView;
    PFSidePanel *m_panel;
    PFRecentViewController *m_recent;
    QSplitter *m_split;
    QWidget *m_barSlot;
    PFDrawMenuView *m_drawMenu = nullptr;
    PFToolMenuView *m_toolMenu = nullptr;
    PFStylePopovers *m_stylePopovers;
    PFPageSearchController *m_pageSearch;
    PFSearchController *m_searchController;
    PFPageTools *m_pageTools;
    PFStampPlacement *m_stampPlacement;
    PFSignPlacement *m_signPlacement;
    PFOutlineController *m_outline;
    PFHighlightController *m_highlights;
    PFPagemarkController *m_pagemarks;
    PFLinkCreator *m_linkCreator;
    PFSlideShowBar *m_slideShowBar;
    PFPrintController *m_printController;
    PFEditCommands *m_editCommands;
    PFThumbnailMenu *m_thumbnailMenu;
    QPointer<PFSaveAlertController> m_saveAlert;
    QTimer m_endResize;
    QFuture<void> m_thumbnail;

    bool m_shouldClose = true;
    bool m_hasLoadPannelData = false;
    bool m_hasFirstOpenPannel = false;
    double m_divPosition = 0;
    double m_resizePosition = 0;
    QRectF m_originPdfRect;
    double m_scaleType = 1000;
    bool m_slideShow = false;
    PDFDisplayMode m_savedMode = PDFDisplayMode::SinglePageContinuous;
    double m_savedScale = 1;
    bool m_savedAutoScales = false;
    QColor m_savedBackground;
    bool m_showEditMenu = false;
    bool m_showToolMenu = false;
    bool m_saveClose = false;
    bool m_saveCatalogClick = false;
    bool m_unsavedWatermark = false;
};
