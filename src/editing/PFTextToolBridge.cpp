#include "PFTextToolBridge.h"

#include "PFAnnotationSelector.h"
#include "PFBasePDFView.h"
#include "PFFreeTextEditor.h"
#include "PFHandleGeometry.h"
#include "PFNoteTool.h"
#include "PFPointerMachine.h"

#include <QMouseEvent>

using namespace PFHandleGeometry;

PFTextToolBridge::PFTextToolBridge(PFBasePDFView &view) : m_view(view) {}

bool PFTextToolBridge::isTextEditorOpen() const
{
    return m_view.pfTextEditor()->isOpen();
}

PDFPage PFTextToolBridge::textEditorPage() const
{
    return isTextEditorOpen() ? m_view.pfTextEditor()->page() : PDFPage();
}

QRectF PFTextToolBridge::textEditorFrame() const
{
    return isTextEditorOpen() ? m_view.pfTextEditor()->pfRectTextScroll() : QRectF();
}

void PFTextToolBridge::pfResetTextView()
{
    m_view.pfTextEditor()->pfResetTextView();
}

std::optional<QPointF> PFTextToolBridge::beginGesture(QMouseEvent *event)
{
    const PDFPage page = m_view.pageForPoint(event->position(), true);
    if (page.isNull())
        return std::nullopt;
    m_view.pfPointer()->selector().setCurrentPage(page);
    const QPointF p = m_view.convertPointToPage(event->position(), page);
    m_view.setPfLineInfo(PFLineInfo{p, {}, {}});
    return p;
}

int PFTextToolBridge::selectedBoxHandle(QPointF p) const
{
    const PDFAnnotation box = m_view.dragAnnotation();
    if (box.isNull() || box.type() != QLatin1String("FreeText")
        || !(box.page() == m_view.pfPointer()->selector().pfCurrentPage()))
        return -1;
    const QRectF bounds = box.bounds();
    if (bounds.width() == 0 || bounds.height() == 0)
        return -1; // such a box shows no handles
    const QRectF frame = handleFrame(bounds);
    for (int index = 0; index < 8; ++index)
        if (isNear(p, pfDragPointCenter(index, frame)))
            return index;
    return -1;
}

bool PFTextToolBridge::textToolPressed(QMouseEvent *event)
{
    m_pressPosition = event->position();
    m_resizing = false;
    if (isTextEditorOpen())
        return pressWithEditorOpen(event);
    const std::optional<QPointF> p = beginGesture(event);
    if (!p)
        return false;
    PFAnnotationSelector &selector = m_view.pfPointer()->selector();
    const int handle = selectedBoxHandle(*p);
    if (handle >= 0) {
        // The pointer machine resizes the box from these bounds while the handle is dragged.
        m_view.setPfCurrentDirect(handle);
        m_view.setPfOriginRect(m_view.dragAnnotation().bounds());
        m_view.setSelectTextCount(1);
        m_view.pfPointer()->pfShowMoveCursor(handle);
        return true;
    }
    const bool used = m_view.pfTextEditor()->pfTextToolPressed(selector.pfCurrentPage(), *p);
    // A press on the selection takes hold of it, so that a drag moves it rather than selecting text.
    const PDFAnnotation selection = m_view.dragAnnotation();
    if (!selection.isNull() && selection.page() == selector.pfCurrentPage()
        && selection.bounds().contains(*p) && selector.pfIsClickOtherAnnotationPoint(*p)) {
        m_view.setPfCurrentDirect(8);
    } else {
        m_view.setPfCurrentDirect(-1);
        selector.setDragItem(false);
    }
    return used;
}

bool PFTextToolBridge::pressWithEditorOpen(QMouseEvent *event)
{
    PFFreeTextEditor *editor = m_view.pfTextEditor();
    const PDFPage page = editor->page();
    const QPointF p = m_view.convertPointToPage(event->position(), page);
    PFAnnotationSelector &selector = m_view.pfPointer()->selector();
    selector.setCurrentPage(page);
    m_view.setPfLineInfo(PFLineInfo{p, {}, {}});
    // With the editor open the hit test looks at the editor's handles only.
    const int handle = selector.pfDirectClickAnnotationPoint(p);
    m_view.setPfCurrentDirect(handle);
    if (handle >= 0) {
        editor->pfBeginResize();
        m_resizeOrigin = editor->pfRectTextScroll();
        m_resizing = true;
        m_view.pfPointer()->pfShowMoveCursor(handle);
        return true;
    }
    return editor->pfTextToolPressed(page, p);
}

void PFTextToolBridge::textEditorDragged(QMouseEvent *event)
{
    if (!m_resizing || !isTextEditorOpen())
        return;
    PFFreeTextEditor *editor = m_view.pfTextEditor();
    const PDFPage page = editor->page();
    // Resized in page space, where the handle indices were hit, so that top stays top.
    const QPointF p = m_view.convertPointToPage(event->position(), page);
    const QRectF rect = eightHandleResize(m_view.pfCurrentDirect(), m_resizeOrigin, p);
    editor->setFrame(m_view.convertRectFromPage(rect, page));
    m_view.viewport()->update();
}

void PFTextToolBridge::textToolReleased(QMouseEvent *event)
{
    const bool moved = event->position() != m_pressPosition;
    m_resizing = false;
    m_view.pfPointer()->selector().setDragItem(false);
    m_view.pfTextEditor()->pfTextToolReleased(moved);
}

bool PFTextToolBridge::noteToolPressed(QMouseEvent *event)
{
    const std::optional<QPointF> p = beginGesture(event);
    const PDFPage page = p ? m_view.pfPointer()->selector().pfCurrentPage() : PDFPage();
    // A double click arrives as a second press of type MouseButtonDblClick.
    const int clicks = event->type() == QEvent::MouseButtonDblClick ? 2 : 1;
    // Also without a page: a press anywhere closes an open popover.
    if (m_view.pfNoteTool()->pfNoteToolPressed(page, p.value_or(QPointF()), clicks)) {
        m_view.setPfCurrentDirect(-1);
        return true;
    }
    if (!p)
        return false;
    const int direct = m_view.pfPointer()->selector().pfDirectClickAnnotationPoint(*p);
    m_view.setPfCurrentDirect(direct);
    if (direct == -1)
        return false; // text selection
    emit m_view.pfPointer()->pfCheckClickLink();
    return true;
}
