#pragma once

#include "PDFDisplayMode.h"
#include "PDFNavigationHistory.h"
#include "PDFViewLayout.h"

#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFSelection.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QHash>
#include <QTransform>
#include <optional>

class PDFTileRenderer;
class QTimer;
class QMimeData;

// Shows a document's pages: layout in four display modes, zoom, navigation with history,
// text selection and link following. Pages are drawn from tiles rendered off this thread.
class PDFView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr double kMinScale = 0.1;
    static constexpr double kMaxScale = 64.0;

    explicit PDFView(QWidget *parent = nullptr);
    ~PDFView() override;

    PDFDocument document() const { return m_document; }
    void setDocument(const PDFDocument &document);
    // Pages were inserted, removed, rotated or resized: lay them out again.
    void layoutDocumentView();
    // The same, told what changed, so only those pages are measured again. Removed pages are
    // given by the indices they had, ascending; inserted ones by the indices they have now,
    // ascending; moves as (from, to) pairs applied in turn, as QVector::move does.
    void pagesRemoved(const QVector<int> &indices);
    void pagesInserted(const QVector<int> &indices);
    void pagesMoved(const QVector<std::pair<int, int>> &moves);
    void pagesResized(const QVector<int> &indices);

    PDFDisplayMode displayMode() const { return m_mode; }
    void setDisplayMode(PDFDisplayMode mode);

    double scaleFactor() const { return m_scale; }
    void setScaleFactor(double scale);
    bool autoScales() const { return m_autoScales; }
    void setAutoScales(bool autoScales);
    double scaleFactorForSizeToFit() const;
    bool canZoomIn() const;
    bool canZoomOut() const;

    QColor backgroundColor() const { return m_background; }
    void setBackgroundColor(const QColor &color);
    QColor selectionColor() const { return m_selectionColor; }
    void setSelectionColor(const QColor &color);
    void setAcceptsDrops(bool accept);

    PDFPage currentPage() const;
    // The current page's index, -1 when there is none; known without asking the document.
    int currentPageIndex() const { return m_current; }
    PDFDestination currentDestination() const;
    void goToPage(const PDFPage &page);
    void goToDestination(const PDFDestination &destination);
    // Scrolls so that `rect` (page space) of `page` is visible.
    void goToRect(const QRectF &rect, const PDFPage &page);
    void goToSelection(const PDFSelection &selection);
    bool canGoBack() const { return m_history.canGoBack(); }
    bool canGoForward() const { return m_history.canGoForward(); }

    // The page under a viewport point; with `nearest`, the closest page when none is under it.
    PDFPage pageForPoint(QPointF point, bool nearest) const;
    QPointF convertPointToPage(QPointF point, const PDFPage &page) const;
    QPointF convertPointFromPage(QPointF point, const PDFPage &page) const;
    QRectF convertRectToPage(const QRectF &rect, const PDFPage &page) const;
    QRectF convertRectFromPage(const QRectF &rect, const PDFPage &page) const;
    // Page space to viewport coordinates; identity for a page that is not laid out.
    QTransform pageTransform(const PDFPage &page) const;

    PDFSelection currentSelection() const { return m_selection; }
    void setCurrentSelection(const PDFSelection &selection);
    void clearSelection() { setCurrentSelection({}); }

    // The page's annotations changed: render it again.
    void invalidatePage(const PDFPage &page);
    PDFTileRenderer *tileRenderer() const { return m_renderer; }
    // Sizes of the displayed pages in points, by index.
    const QVector<QSizeF> &pageSizes() const { return m_layout.pageSizes(); }

public slots:
    void zoomIn();
    void zoomOut();
    void goToFirstPage();
    void goToLastPage();
    void goToNextPage();
    void goToPreviousPage();
    void goBack();
    void goForward();
    void copy();

signals:
    void documentChanged(); // another document, or its pages were laid out again
    void pageSizesChanged(); // sizes first estimated were read from the pages
    void pageChanged();
    void selectionChanged();
    void scaleChanged();
    void liveScroll();
    void filesDropped(const QStringList &paths);
    // A link asked for an address the desktop must not open; `message` says so to the user.
    void linkRefused(const QString &url, const QString &message);

protected:
    // Performs a link's action: a go-to scrolls to its destination and can be gone back from;
    // a web or mail address goes to the desktop ("www." addresses as http), anything else is
    // refused with linkRefused.
    void followLink(const PDFAnnotation &link);
    // Draws one page; the painter is in viewport coordinates and clipped to the page. Subclasses
    // call this and draw their overlays on top (pageTransform maps page space for them).
    virtual void drawPage(QPainter &painter, const PDFPage &page);
    // The page's index in the view, found without asking the document for pages near the
    // current one; -1 for a page not shown.
    int indexOf(const PDFPage &page) const;
    // The page's crop box, as pageTransform maps it; null for a page not shown.
    QRectF cropBox(const PDFPage &page) const;

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QRect viewRect(int index) const; // the page's rect in viewport coordinates
    // A page's crop box and its map to the displayed page at scale 1, read with the page's size
    // and kept: painting and zooming then do not wait for a worker holding the document.
    struct PageGeometry {
        QRectF cropBox;
        QTransform toDisplay;
        QSizeF displaySize() const { return toDisplay.mapRect(cropBox).size(); }
    };
    static PageGeometry geometryOf(const PDFPage &page);
    // Read on first use for a page whose size is still estimated.
    PageGeometry geometry(int index) const;
    QPoint scrollOffset() const;
    void relayout();
    // After the page list changed: a full re-measure when the view lost track of the document,
    // then the scale, layout and listeners catch up.
    void pageListChanged();
    // Re-lays out keeping the page point under the viewport point `anchor` where it was.
    void relayoutKeeping(QPointF anchor);
    void applyScale(double scale, QPointF anchor);
    void scrollTo(QPoint documentPoint);
    void setCurrentIndex(int index);
    void updateCurrentFromScroll();
    void jumpTo(const PDFDestination &destination, bool record);
    void turnPage(int step, bool toBottom);
    std::optional<PDFAnnotation> linkAt(QPointF point) const;
    void updateSelectionRects();
    QStringList droppedFiles(const QMimeData *mime) const;
    // A document opened with its page check deferred is checked here a slice at a time, between
    // events; pages not yet checked are laid out at the first page's size until then.
    void checkPages();
    // Takes what was read of the pages from m_sizedPages on, in order.
    void applyCheckedGeometry(const QVector<PageGeometry> &read);

    PDFDocument m_document;
    QVector<PDFPage> m_pages;
    int m_sizedPages = 0; // page sizes are read from the pages below this index, estimated above
    int m_checkedPages = 0; // pages below this index are checked
    mutable QVector<std::optional<PageGeometry>> m_geometry; // by page index, beside m_pages
    QTimer *m_pageCheck;
    PDFViewLayout m_layout;
    PDFDisplayMode m_mode = PDFDisplayMode::SinglePageContinuous;
    double m_scale = 1.0;
    bool m_autoScales = false;
    int m_current = -1;
    bool m_scrolling = false; // the view itself is moving the scroll bars
    QColor m_background{0x80, 0x80, 0x80};
    QColor m_selectionColor{0xa8, 0xce, 0xff};
    PDFNavigationHistory m_history;
    PDFTileRenderer *m_renderer;

    PDFSelection m_selection;
    QHash<int, QVector<QRectF>> m_selectionRects; // page index to line boxes in page space
    PDFPage m_pressPage;
    QPointF m_pressPagePoint;
    QPoint m_pressPos;
    std::optional<PDFAnnotation> m_pressLink;
    bool m_dragging = false;
};
