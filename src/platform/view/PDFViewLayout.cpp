#include "PDFViewLayout.h"

#include "PDFWithoutIndices.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QSize scaled(const QSizeF &size, double scale)
{
    return QSize(std::max(1, int(std::lround(size.width() * scale))),
                 std::max(1, int(std::lround(size.height() * scale))));
}

} // namespace

void PDFViewLayout::setPageSizes(const QVector<QSizeF> &sizes)
{
    m_sizes = sizes;
    invalidate();
}

void PDFViewLayout::insertPage(int index, const QSizeF &size)
{
    m_sizes.insert(std::clamp(index, 0, pageCount()), size);
    invalidate();
}

void PDFViewLayout::removePages(const QVector<int> &indices)
{
    m_sizes = withoutIndices(m_sizes, indices);
    invalidate();
}

void PDFViewLayout::movePage(int from, int to)
{
    if (from < 0 || from >= pageCount() || to < 0 || to >= pageCount())
        return;
    m_sizes.move(from, to);
    invalidate();
}

void PDFViewLayout::setPageSize(int index, const QSizeF &size)
{
    if (index < 0 || index >= pageCount())
        return;
    m_sizes[index] = size;
    invalidate();
}

void PDFViewLayout::update(PDFDisplayMode mode, double scale, int viewportWidth, int currentPage)
{
    m_mode = mode;
    m_scale = scale;
    m_viewportWidth = viewportWidth;
    m_current = currentPage;
    invalidate();
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

QSize PDFViewLayout::scaledSize(int index) const { return scaled(m_sizes[index], m_scale); }

int PDFViewLayout::firstRow() const
{
    if (isContinuous(m_mode) || pageCount() == 0)
        return 0;
    return std::clamp(m_current, 0, pageCount() - 1) / perRow();
}

int PDFViewLayout::lastRow() const
{
    if (isContinuous(m_mode) || pageCount() == 0)
        return rowCount() - 1;
    return firstRow();
}

void PDFViewLayout::ensure() const
{
    if (m_valid)
        return;
    const int first = firstRow(), last = lastRow();
    m_rowTop.resize(std::max(0, last - first + 1));
    m_rowHeight.resize(m_rowTop.size());
    int widest = 0;
    int y = kMargin;
    for (int row = first; row <= last; ++row) {
        int width = 0, height = 0;
        for (int i = row * perRow(); i < std::min(pageCount(), (row + 1) * perRow()); ++i) {
            const QSize s = scaledSize(i);
            width += s.width() + (width ? kMargin : 0);
            height = std::max(height, s.height());
        }
        widest = std::max(widest, width);
        m_rowTop[row - first] = y;
        m_rowHeight[row - first] = height;
        y += height + kMargin;
    }
    m_size = QSize(std::max(m_viewportWidth, widest + 2 * kMargin), y);
    m_valid = true;
}

QSize PDFViewLayout::documentSize() const
{
    ensure();
    return m_size;
}

QRect PDFViewLayout::pageRect(int index) const
{
    if (index < 0 || index >= pageCount())
        return {};
    const int row = index / perRow();
    if (row < firstRow() || row > lastRow())
        return {};
    ensure();
    const int first = row * perRow(), end = std::min(pageCount(), first + perRow());
    int width = 0;
    for (int i = first; i < end; ++i)
        width += scaledSize(i).width() + (i > first ? kMargin : 0);
    int x = (m_size.width() - width) / 2;
    for (int i = first; i < index; ++i)
        x += scaledSize(i).width() + kMargin;
    const QSize s = scaledSize(index);
    const int top = m_rowTop[row - firstRow()], height = m_rowHeight[row - firstRow()];
    return QRect(QPoint(x, top + (height - s.height()) / 2), s);
}

int PDFViewLayout::rowAtOrBelow(int y) const
{
    ensure();
    // Row bottoms ascend with the rows, so the first one at or below y is found by bisection.
    int low = 0, high = int(m_rowTop.size());
    while (low < high) {
        const int mid = (low + high) / 2;
        if (m_rowTop[mid] + m_rowHeight[mid] - 1 < y)
            low = mid + 1;
        else
            high = mid;
    }
    return firstRow() + low;
}

QVector<int> PDFViewLayout::pagesIn(const QRect &area) const
{
    QVector<int> pages;
    if (pageCount() == 0 || area.isEmpty())
        return pages;
    for (int row = rowAtOrBelow(area.top()); row <= lastRow(); ++row) {
        if (m_rowTop[row - firstRow()] > area.bottom())
            break;
        for (int i = row * perRow(); i < std::min(pageCount(), (row + 1) * perRow()); ++i) {
            if (pageRect(i).intersects(area))
                pages.append(i);
        }
    }
    return pages;
}

int PDFViewLayout::nearestPage(QPoint point) const
{
    if (pageCount() == 0)
        return -1;
    int best = -1;
    double bestDistance = std::numeric_limits<double>::max();
    const auto consider = [&](int row) {
        for (int i = row * perRow(); i < std::min(pageCount(), (row + 1) * perRow()); ++i) {
            const QRect r = pageRect(i);
            const double dx = std::max({r.left() - point.x(), 0, point.x() - r.right()});
            const double dy = std::max({r.top() - point.y(), 0, point.y() - r.bottom()});
            const double distance = dx * dx + dy * dy;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
    };
    // Outwards from the row at the point's height, up and down, until a row is farther away
    // vertically than the nearest page found so far: pages of very different widths can make a
    // row some way off the nearest.
    const int around = std::clamp(rowAtOrBelow(point.y()), firstRow(), lastRow());
    for (int row = around; row <= lastRow(); ++row) {
        const double dy = std::max(0, m_rowTop[row - firstRow()] - point.y());
        if (dy * dy >= bestDistance)
            break;
        consider(row);
    }
    for (int row = around - 1; row >= firstRow(); --row) {
        const double dy = std::max(0, point.y() - (m_rowTop[row - firstRow()] + m_rowHeight[row - firstRow()] - 1));
        if (dy * dy >= bestDistance)
            break;
        consider(row);
    }
    return best;
}
