#include "OutlineMerger.h"

namespace {
constexpr int kMaxDepth = 64;
}

OutlineMerger::OutlineMerger(const PDFDocument &result) : m_result(result), m_root(PDFOutline::create(result)) {}

void OutlineMerger::addSource(const QString &label, const PDFDocument &source, const QVector<PDFPage> &copies)
{
    if (copies.isEmpty())
        return;
    PDFOutline item = PDFOutline::create(m_result);
    item.setLabel(label);
    const QRectF box = copies.first().bounds(PDFDisplayBox::CropBox);
    item.setDestination(PDFDestination(copies.first(), QPointF(box.left(), box.bottom()))); // its top left
    const PDFOutline sourceRoot = source.outlineRoot();
    QSet<PDFOutline> copied{sourceRoot};
    if (!sourceRoot.isNull())
        copyChildren(sourceRoot, item, copies, copied, 0);
    m_root.insertChild(item, m_root.numberOfChildren());
}

void OutlineMerger::copyChildren(const PDFOutline &from, PDFOutline &to, const QVector<PDFPage> &copies,
                                 QSet<PDFOutline> &copied, int depth)
{
    if (depth >= kMaxDepth)
        return;
    // Every item keeps its place in the tree; only its page changes. An item whose destination is
    // not one of the source's pages keeps its label without a destination.
    const int count = from.numberOfChildren();
    for (int i = 0; i < count; ++i) {
        const PDFOutline child = from.childAtIndex(i);
        if (child.isNull() || copied.contains(child))
            continue;
        copied.insert(child);
        PDFOutline copy = PDFOutline::create(m_result);
        copy.setLabel(child.label());
        const PDFDestination destination = child.destination();
        const int index = destination.isNull() ? -1 : destination.page().index();
        if (index >= 0 && index < copies.size())
            copy.setDestination(PDFDestination(copies[index], destination.point()));
        copyChildren(child, copy, copies, copied, depth + 1);
        to.insertChild(copy, to.numberOfChildren());
    }
}

void OutlineMerger::finish() { m_result.setOutlineRoot(m_root); }
