#pragma once

#include "platform/pdf/PDFPage.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QPointer>
#include <QVector>

class PDFTileRenderer;
class PDFView;

// A vertical list of page thumbnails bound to a PDF view. It marks the selected pages (always
// including the view's current page): a click selects one page and makes it current, a click
// with Ctrl adds or removes a page, a click with Shift selects the run from the last clicked
// page. Selected thumbnails can be dragged to another place in the list, and a secondary click
// on a selected one asks for a menu; what happens then is up to the owner. Thumbnails render
// off this thread.
class PDFThumbnailView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kSpacing = 12;
    static constexpr int kLabelHeight = 18;

    explicit PDFThumbnailView(QWidget *parent = nullptr);
    ~PDFThumbnailView() override;

    PDFView *pdfView() const { return m_view; }
    void setPDFView(PDFView *view);
    int thumbnailWidth() const { return m_width; }
    void setThumbnailWidth(int width);
    // The thumbnail's rect in viewport coordinates; null for an unknown index.
    QRect thumbnailRect(int index) const;
    int indexAt(QPoint point) const;
    PDFTileRenderer *tileRenderer() const { return m_renderer; }
    // What the list is drawn on, behind the thumbnails; the labels take a colour that reads on it.
    QColor backgroundColor() const { return m_background; }
    void setBackgroundColor(const QColor &color);

    // The selected pages in document order; never empty while the document has pages.
    QVector<PDFPage> selectedPages() const;
    // Selects these pages (those still in the document); the first becomes current.
    void setSelectedPages(const QVector<PDFPage> &pages);
    void selectAll();
    // While a drag is under way: the gap (0 to page count) the pages would be dropped into.
    int dropGap() const { return m_dropGap; }

signals:
    void selectionChanged();
    // A secondary click on a selected thumbnail, at this global point.
    void contextMenuRequested(QPoint globalPos);
    // Selected pages were dropped into the gap before the page at index `gap`.
    void pagesDropped(const QVector<PDFPage> &pages, int gap);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void relayout();
    void followCurrentPage();
    void scrollToIndex(int index);
    double scaleOf(int index) const;
    bool isSelected(int index) const;
    void selectOnly(int index);
    void clickSelect(int index, Qt::KeyboardModifiers modifiers);
    int gapAt(int y) const;
    void paintDropMarker(QPainter &painter) const;

    QPointer<PDFView> m_view;
    PDFTileRenderer *m_renderer;
    QVector<QRect> m_rects; // in document coordinates, the thumbnail images only
    int m_width = 160;
    int m_height = 0;
    QVector<PDFPage> m_selected; // by identity, so it survives pages moving around it
    PDFPage m_anchor;            // where a Shift click's run starts
    int m_pressIndex = -1;
    QPoint m_pressPos;
    bool m_pressDeferred = false; // a plain press on a selected page: a drag, or a click on release
    int m_dropGap = -1;
    QColor m_background = Qt::white;
};
