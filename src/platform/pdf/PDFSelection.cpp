#include "PDFSelection.h"

#include "PDFDocument.h"
#include "PDFDocumentPrivate.h"

PDFSelection PDFSelection::fromPoints(const PDFPage &fromPage, QPointF from, const PDFPage &toPage, QPointF to)
{
    PDFSelection selection;
    if (fromPage.isNull() || toPage.isNull() || fromPage.d != toPage.d)
        return selection;
    auto d = fromPage.d;
    PDFLock lock(d->mutex);
    int firstIndex = fromPage.index(), lastIndex = toPage.index();
    if (firstIndex < 0 || lastIndex < 0)
        return selection;
    if (firstIndex > lastIndex) {
        std::swap(firstIndex, lastIndex);
        std::swap(from, to);
    }
    const PDFDocument document = fromPage.document();
    for (int index = firstIndex; index <= lastIndex; ++index) {
        const PDFPage page = document.page(index);
        auto text = d->textPage(page.m_object);
        if (!text || text->chars.isEmpty())
            continue;
        int first = index == firstIndex ? text->nearestChar(from) : 0;
        int last = index == lastIndex ? text->nearestChar(to) : int(text->chars.size()) - 1;
        if (first > last)
            std::swap(first, last);
        selection.m_ranges.append({page, first, last});
    }
    return selection;
}

QVector<PDFPage> PDFSelection::pages() const
{
    QVector<PDFPage> result;
    for (const Range &range : m_ranges)
        if (!result.contains(range.page))
            result.append(range.page);
    return result;
}

QRectF PDFSelection::boundsForPage(const PDFPage &page) const
{
    QRectF bounds;
    if (page.isNull())
        return bounds;
    PDFLock lock(page.d->mutex);
    auto text = page.d->textPage(page.m_object);
    if (!text)
        return bounds;
    for (const Range &range : m_ranges) {
        if (!(range.page == page))
            continue;
        for (int i = std::max(range.first, 0); i <= range.last && i < text->chars.size(); ++i)
            bounds = bounds.isNull() ? text->chars[i].box : bounds.united(text->chars[i].box);
    }
    return bounds;
}

QString PDFSelection::string() const
{
    QString result;
    for (int r = 0; r < m_ranges.size(); ++r) {
        const Range &range = m_ranges[r];
        PDFLock lock(range.page.d->mutex);
        auto text = range.page.d->textPage(range.page.m_object);
        if (!text)
            continue;
        if (r > 0)
            result += QLatin1Char('\n');
        result += text->string(range.first, range.last);
    }
    return result;
}

QVector<PDFSelection> PDFSelection::selectionsByLine() const
{
    QVector<PDFSelection> lines;
    for (const Range &range : m_ranges) {
        PDFLock lock(range.page.d->mutex);
        auto text = range.page.d->textPage(range.page.m_object);
        if (!text)
            continue;
        int start = std::max(range.first, 0);
        const int end = std::min(range.last, int(text->chars.size()) - 1);
        for (int i = start; i <= end; ++i) {
            if (i == end || text->chars[i + 1].line != text->chars[i].line) {
                PDFSelection line;
                line.m_ranges.append({range.page, start, i});
                line.m_color = m_color;
                lines.append(line);
                start = i + 1;
            }
        }
    }
    return lines;
}

void PDFSelection::extendAtEnd(int n)
{
    if (m_ranges.isEmpty())
        return;
    Range &last = m_ranges.last();
    PDFLock lock(last.page.d->mutex);
    auto text = last.page.d->textPage(last.page.m_object);
    if (!text)
        return;
    last.last = std::clamp(last.last + n, last.first, int(text->chars.size()) - 1);
}

void PDFSelection::addSelection(const PDFSelection &other)
{
    for (const Range &range : other.m_ranges)
        if (!m_ranges.contains(range))
            m_ranges.append(range);
}
