#include "OutlineParts.h"

#include <algorithm>
#include <vector>

namespace {

struct Start {
    QString title;
    int pageIndex;
};

// Items of `level` below `item` (at `depth`) in outline order. Every item is visited once: a
// child that was seen before (a cycle, or an item listed twice) is skipped with its subtree.
void collect(const PDFOutline &item, int depth, int level, std::vector<PDFOutline> &visited, QVector<Start> &starts)
{
    const int count = item.numberOfChildren();
    for (int i = 0; i < count && int(visited.size()) < OutlineParts::kMaxItems; ++i) {
        const PDFOutline child = item.childAtIndex(i);
        if (child.isNull() || std::find(visited.begin(), visited.end(), child) != visited.end())
            continue;
        visited.push_back(child);
        if (depth == level) {
            const PDFPage page = child.destination().page();
            const int index = page.isNull() ? -1 : page.index();
            if (index >= 0)
                starts.append({child.label(), index});
        } else {
            collect(child, depth + 1, level, visited, starts);
        }
    }
}

} // namespace

QVector<OutlineParts::Part> OutlineParts::parts(const PDFDocument &document, int level)
{
    const PDFOutline root = document.isNull() ? PDFOutline() : document.outlineRoot();
    const int pageCount = document.isNull() ? 0 : document.pageCount();
    if (root.isNull() || level < 1 || level > kMaxLevel || pageCount <= 0)
        return {};
    std::vector<PDFOutline> visited{root};
    QVector<Start> starts;
    collect(root, 1, level, visited, starts);
    // Items in page order; an item whose page comes before the previous one's (an outline out
    // of order) still gets its own page, but no page goes to two parts.
    std::stable_sort(starts.begin(), starts.end(), [](const Start &a, const Start &b) { return a.pageIndex < b.pageIndex; });
    QVector<Part> result;
    for (int i = 0; i < starts.size(); ++i) {
        const int first = i == 0 ? 0 : starts[i].pageIndex;
        if (!result.isEmpty() && first <= result.last().lastIndex)
            continue; // starts on a page the previous part already holds
        int next = pageCount;
        for (int j = i + 1; j < starts.size(); ++j)
            if (starts[j].pageIndex > starts[i].pageIndex) {
                next = starts[j].pageIndex;
                break;
            }
        result.append({starts[i].title, first, next - 1});
    }
    return result;
}

bool OutlineParts::hasOutline(const PDFDocument &document)
{
    const PDFOutline root = document.isNull() ? PDFOutline() : document.outlineRoot();
    return !root.isNull() && root.numberOfChildren() > 0;
}

QString OutlineParts::fileNameFor(const QString &title)
{
    QString name;
    for (const QChar c : title.simplified()) {
        if (c.category() == QChar::Other_Control || c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?'
            || c == u'"' || c == u'<' || c == u'>' || c == u'|')
            name += u'_';
        else
            name += c;
    }
    while (name.startsWith(u'.') || name.startsWith(u' '))
        name.remove(0, 1);
    name.truncate(80);
    name = name.trimmed();
    return name.isEmpty() ? QStringLiteral("Part") : name;
}
