#pragma once

#include "PDFDisplayMode.h"

#include <QRect>
#include <QSizeF>
#include <QVector>

// Where each page sits in the view's document area (logical pixels, y downwards). In the
// non-continuous modes only the row of the current page is laid out.
class PDFViewLayout {
public:
    static constexpr int kMargin = 8; // around the pages and between them

    void update(const QVector<QSizeF> &pageSizes, PDFDisplayMode mode, double scale,
                int viewportWidth, int currentPage);
    // The scale at which the widest row fills the viewport's width.
    static double fitWidthScale(const QVector<QSizeF> &pageSizes, PDFDisplayMode mode,
                                int viewportWidth);

    int pageCount() const { return int(m_rects.size()); }
    // Null for a page that is not laid out.
    QRect pageRect(int index) const;
    QSize documentSize() const { return m_size; }
    QVector<int> pagesIn(const QRect &area) const;
    // The laid-out page whose rect is closest to the point; -1 when there is none.
    int nearestPage(QPoint point) const;

private:
    QVector<QRect> m_rects;
    QSize m_size;
};
