#include "PDFViewLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int rowOf(int page, PDFDisplayMode mode) { return isTwoUp(mode) ? page / 2 : page; }

QSize scaled(const QSizeF &size, double scale)
{
    return QSize(std::max(1, int(std::lround(size.width() * scale))),
                 std::max(1, int(std::lround(size.height() * scale))));
}

} // namespace

void PDFViewLayout::update(const QVector<QSizeF> &pageSizes, PDFDisplayMode mode, double scale,
                           int viewportWidth, int currentPage)
{
    const int count = int(pageSizes.size());
    m_rects = QVector<QRect>(count);
    const int perRow = isTwoUp(mode) ? 2 : 1;
    const int rows = (count + perRow - 1) / perRow;
    int firstRow = 0;
    int lastRow = rows - 1;
    if (!isContinuous(mode) && count > 0) {
        firstRow = lastRow = rowOf(std::clamp(currentPage, 0, count - 1), mode);
    }

    int widest = 0;
    for (int row = firstRow; row <= lastRow; ++row) {
        int width = 0;
        for (int i = row * perRow; i < std::min(count, (row + 1) * perRow); ++i)
            width += scaled(pageSizes[i], scale).width() + (width ? kMargin : 0);
        widest = std::max(widest, width);
    }
    const int docWidth = std::max(viewportWidth, widest + 2 * kMargin);

    int y = kMargin;
    for (int row = firstRow; row <= lastRow; ++row) {
        int width = 0, height = 0;
        const int first = row * perRow, end = std::min(count, (row + 1) * perRow);
        for (int i = first; i < end; ++i) {
            const QSize s = scaled(pageSizes[i], scale);
            width += s.width() + (i > first ? kMargin : 0);
            height = std::max(height, s.height());
        }
        int x = (docWidth - width) / 2;
        for (int i = first; i < end; ++i) {
            const QSize s = scaled(pageSizes[i], scale);
            m_rects[i] = QRect(QPoint(x, y + (height - s.height()) / 2), s);
            x += s.width() + kMargin;
        }
        y += height + kMargin;
    }
    m_size = QSize(docWidth, y);
}

double PDFViewLayout::fitWidthScale(const QVector<QSizeF> &pageSizes, PDFDisplayMode mode,
                                    int viewportWidth)
{
    const int perRow = isTwoUp(mode) ? 2 : 1;
    double widest = 0;
    for (int first = 0; first < pageSizes.size(); first += perRow) {
        double width = 0;
        for (int i = first; i < std::min(int(pageSizes.size()), first + perRow); ++i)
            width += pageSizes[i].width();
        widest = std::max(widest, width);
    }
    if (widest <= 0)
        return 1.0;
    // A pixel less per page: each page's width is rounded on its own and must still fit.
    const double room = viewportWidth - 2 * kMargin - (perRow - 1) * kMargin - perRow;
    return std::max(room, 1.0) / widest;
}

QRect PDFViewLayout::pageRect(int index) const
{
    return index >= 0 && index < m_rects.size() ? m_rects[index] : QRect();
}

QVector<int> PDFViewLayout::pagesIn(const QRect &area) const
{
    QVector<int> pages;
    for (int i = 0; i < m_rects.size(); ++i) {
        if (!m_rects[i].isNull() && m_rects[i].intersects(area))
            pages.append(i);
    }
    return pages;
}

int PDFViewLayout::nearestPage(QPoint point) const
{
    int best = -1;
    double bestDistance = std::numeric_limits<double>::max();
    for (int i = 0; i < m_rects.size(); ++i) {
        const QRect &r = m_rects[i];
        if (r.isNull())
            continue;
        const double dx = std::max({r.left() - point.x(), 0, point.x() - r.right()});
        const double dy = std::max({r.top() - point.y(), 0, point.y() - r.bottom()});
        const double distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}
