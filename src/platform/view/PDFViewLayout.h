#pragma once

#include "PDFDisplayMode.h"

#include <QRect>
#include <QSizeF>
#include <QVector>

// Where each page sits in the view's document area (logical pixels, y downwards). In the
// non-continuous modes only the row of the current page is laid out.
//
// The page sizes are kept as a list that page insertions and removals edit in place; the row
// positions are running sums worked out on the first question after a change, and a question
// about an area or a point finds its rows by bisection, so nothing walks every page per paint.
class PDFViewLayout {
public:
    static constexpr int kMargin = 8; // around the pages and between them

    // Sizes in points, by page index.
    const QVector<QSizeF> &pageSizes() const { return m_sizes; }
    void setPageSizes(const QVector<QSizeF> &sizes);
    void insertPage(int index, const QSizeF &size);
    // Removes the pages at these indices (ascending) in one pass.
    void removePages(const QVector<int> &indices);
    void movePage(int from, int to);
    void setPageSize(int index, const QSizeF &size);

    void update(PDFDisplayMode mode, double scale, int viewportWidth, int currentPage);
    // The scale at which the widest row fills the viewport's width.
    static double fitWidthScale(const QVector<QSizeF> &pageSizes, PDFDisplayMode mode,
                                int viewportWidth);

    int pageCount() const { return int(m_sizes.size()); }
    // Null for a page that is not laid out.
    QRect pageRect(int index) const;
    QSize documentSize() const;
    // The laid-out pages that meet the area, ascending.
    QVector<int> pagesIn(const QRect &area) const;
    // The laid-out page whose rect is closest to the point; -1 when there is none.
    int nearestPage(QPoint point) const;

private:
    int perRow() const { return isTwoUp(m_mode) ? 2 : 1; }
    int rowCount() const { return (pageCount() + perRow() - 1) / perRow(); }
    QSize scaledSize(int index) const;
    // The rows laid out: all of them, or the current page's row alone.
    int firstRow() const;
    int lastRow() const;
    void invalidate() { m_valid = false; }
    // Works out the row tops, row heights and document size when a change left them stale.
    void ensure() const;
    // The first laid-out row whose bottom is at or below y (lastRow() + 1 when none is).
    int rowAtOrBelow(int y) const;

    QVector<QSizeF> m_sizes;
    PDFDisplayMode m_mode = PDFDisplayMode::SinglePageContinuous;
    double m_scale = 1.0;
    int m_viewportWidth = 0;
    int m_current = 0;

    mutable bool m_valid = false;
    mutable QVector<int> m_rowTop;    // by laid-out row, counted from firstRow()
    mutable QVector<int> m_rowHeight; // likewise
    mutable QSize m_size;
};
