#include "PFPageCommands.h"

#include "PFBasePDFView.h"
#include "PFFreeTextEditor.h"
#include "PFUndoManager.h"

#include "platform/pdf/PDFAnnotation.h"
#include "platform/store/Localization.h"
#include "widgets/PFHudView.h"

#include <algorithm>

PFPageCommands::PFPageCommands(PFBasePDFView *view) : QObject(view), m_view(view) {}

QVector<PDFPage> PFPageCommands::livePages(const QVector<PDFPage> &pages) const
{
    const PDFDocument document = m_view->document();
    QVector<std::pair<int, PDFPage>> indexed;
    for (const PDFPage &page : pages) {
        const int index = page.isNull() || !(page.document() == document) ? -1 : page.index();
        if (index >= 0 && std::none_of(indexed.cbegin(), indexed.cend(), [&](const auto &p) { return p.first == index; }))
            indexed.append({index, page});
    }
    std::sort(indexed.begin(), indexed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QVector<PDFPage> result;
    for (const auto &[index, page] : indexed)
        result.append(page);
    return result;
}

QVector<PDFPage> PFPageCommands::currentOrder() const
{
    const PDFDocument document = m_view->document();
    QVector<PDFPage> order;
    const int count = document.isNull() ? 0 : document.pageCount();
    order.reserve(count);
    for (int i = 0; i < count; ++i)
        order.append(document.page(i));
    return order;
}

void PFPageCommands::refused(const char *message)
{
    if (PFHudView *hud = PFHudView::showHUDAddedTo(m_view, pfLocalized(message)))
        hud->hide(true, PFHudView::kMessageSeconds);
}

void PFPageCommands::finish(const QVector<PDFPage> &selection)
{
    m_view->setPfHasChangePDF(true);
    m_view->setPfHasInsertPage(true);
    // A selection on a page that left the document has nothing left to act on.
    const PDFAnnotation selected = m_view->dragAnnotation();
    if (!selected.isNull() && (selected.page().isNull() || selected.page().index() < 0))
        m_view->pfResetData();
    m_view->viewport()->update();
    m_view->pfChangeOrAddAnnotation();
    const QVector<PDFPage> shown = livePages(selection);
    if (!shown.isEmpty())
        m_view->goToPage(shown.first());
    emit pagesChanged(shown);
}

// Undoable primitives ---------------------------------------------------------------------------

void PFPageCommands::removeStep(const QVector<PDFPage> &pages)
{
    PDFDocument document = m_view->document();
    QVector<int> indices;
    for (const PDFPage &page : pages)
        indices.append(page.index());
    const QVector<int> gone = document.removePages(indices);
    if (gone.isEmpty())
        return;
    // The indices are those of the document before the step, ascending, as the pages were.
    QVector<PDFPage> removed;
    for (int i = 0; i < pages.size(); ++i)
        if (gone.contains(indices[i]))
            removed.append(pages[i]);
    m_view->undoManager()->registerUndo([this, removed, gone] { insertStep(removed, gone); });
    m_view->pagesRemoved(gone);
    const int first = std::min(gone.first(), document.pageCount() - 1);
    finish({document.page(first)});
}

void PFPageCommands::insertStep(const QVector<PDFPage> &pages, const QVector<int> &indices)
{
    PDFDocument document = m_view->document();
    // In ascending order each page lands on the index it had before it was removed.
    if (document.reinsertPages(pages, indices) == 0)
        return;
    const QVector<PDFPage> inserted = livePages(pages);
    m_view->undoManager()->registerUndo([this, inserted] { removeStep(inserted); });
    QVector<int> at;
    for (const PDFPage &page : inserted)
        at.append(page.index());
    m_view->pagesInserted(at);
    finish(inserted);
}

bool PFPageCommands::orderStep(const QVector<PDFPage> &order, const QVector<PDFPage> &moved)
{
    PDFDocument document = m_view->document();
    QVector<PDFPage> current = currentOrder();
    if (current.size() != order.size())
        return false;
    const QVector<PDFPage> before = current;
    bool changed = false;
    QVector<std::pair<int, int>> moves;
    // Only pages out of place move, one movePage each, so a single moved page costs one move
    // however long the document is.
    for (int i = 0; i < order.size(); ++i) {
        if (current[i] == order[i])
            continue;
        const int from = int(std::find(current.cbegin() + i, current.cend(), order[i]) - current.cbegin());
        if (from >= current.size() || !document.movePage(from, i))
            break;
        const PDFPage page = current.takeAt(from);
        current.insert(i, page);
        moves.append({from, i});
        changed = true;
    }
    if (!changed)
        return false;
    m_view->undoManager()->registerUndo([this, before, moved] { orderStep(before, moved); });
    m_view->pagesMoved(moves);
    finish(moved);
    return true;
}

void PFPageCommands::rotateStep(const QVector<PDFPage> &pages, const QVector<int> &rotations)
{
    QVector<int> previous;
    QVector<int> indices;
    for (int i = 0; i < pages.size(); ++i) {
        previous.append(pages[i].rotation());
        PDFPage(pages[i]).setRotation(rotations[i]);
        indices.append(pages[i].index());
    }
    m_view->undoManager()->registerUndo([this, pages, previous] { rotateStep(pages, previous); });
    m_view->pagesResized(indices);
    emit pagesRotated();
    finish(pages);
}

// Commands --------------------------------------------------------------------------------------

bool PFPageCommands::pfInsertPage(const PDFPage &page, bool after)
{
    PDFDocument document = m_view->document();
    if (page.isNull() || document.isNull() || page.index() < 0)
        return false;
    const int index = page.index() + (after ? 1 : 0);
    const PDFPage blank = document.insertNewPage(page.bounds(), index);
    if (blank.isNull())
        return false;
    m_view->undoManager()->registerUndo([this, blank] { removeStep({blank}); });
    m_view->pagesInserted({index});
    finish({blank});
    return true;
}

bool PFPageCommands::pfDeletePage(const PDFPage &page)
{
    return pfDeletePages({page});
}

bool PFPageCommands::pfDeletePages(const QVector<PDFPage> &pages)
{
    const QVector<PDFPage> live = livePages(pages);
    if (live.isEmpty())
        return false;
    if (live.size() >= m_view->document().pageCount()) {
        refused("不能删除了");
        return false;
    }
    removeStep(live);
    return true;
}

bool PFPageCommands::pfMovePages(const QVector<PDFPage> &pages, int gap)
{
    const QVector<PDFPage> moved = livePages(pages);
    if (moved.isEmpty())
        return false;
    QVector<PDFPage> order = currentOrder();
    gap = std::clamp(gap, 0, int(order.size()));
    // The gap counts the pages before it in the present order; the moved ones leave first.
    const int before = int(std::count_if(moved.cbegin(), moved.cend(), [gap](const PDFPage &p) { return p.index() < gap; }));
    order.erase(std::remove_if(order.begin(), order.end(), [&](const PDFPage &p) { return moved.contains(p); }),
                order.end());
    int at = gap - before;
    for (const PDFPage &page : moved)
        order.insert(at++, page);
    return orderStep(order, moved);
}

bool PFPageCommands::pfRotatePages(const QVector<PDFPage> &pages)
{
    const QVector<PDFPage> live = livePages(pages);
    if (live.isEmpty())
        return false;
    QVector<int> rotations;
    for (const PDFPage &page : live)
        rotations.append((page.rotation() + 90) % 360);
    rotateStep(live, rotations);
    return true;
}

bool PFPageCommands::pfCopyPages(const QVector<PDFPage> &pages)
{
    const QVector<PDFPage> live = livePages(pages);
    if (live.isEmpty())
        return false;
    m_clipboard = live;
    emit pfCutPageChanged();
    return true;
}

bool PFPageCommands::pfCutPages(const QVector<PDFPage> &pages)
{
    const QVector<PDFPage> live = livePages(pages);
    if (live.isEmpty())
        return false;
    if (live.size() >= m_view->document().pageCount()) {
        refused("不能剪切了");
        return false;
    }
    pfCopyPages(live);
    removeStep(live);
    return true;
}

QVector<PDFPage> PFPageCommands::pfPastePages(int index)
{
    PDFDocument document = m_view->document();
    // Pages cut from another window's document cannot come here: each window has its own.
    if (m_clipboard.isEmpty() || document.isNull() || !(m_clipboard.first().document() == document))
        return {};
    const int at = std::clamp(index, 0, document.pageCount());
    const QVector<PDFPage> pasted = document.insertPageCopies(m_clipboard, at);
    if (pasted.isEmpty())
        return {};
    m_view->undoManager()->registerUndo([this, pasted] { removeStep(pasted); });
    QVector<int> indices;
    for (int i = 0; i < pasted.size(); ++i)
        indices.append(at + i);
    m_view->pagesInserted(indices);
    finish(pasted);
    return pasted;
}
