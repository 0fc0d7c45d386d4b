#include "PFAnnotationSelector.h"

#include "PFAnnotationGeometry.h"
#include "PFBasePDFView.h"
#include "PFFreeTextAppearance.h"
#include "stamps/PFStampRedraw.h"
#include "PFHandleGeometry.h"
#include "PFTextToolHooks.h"

using namespace PFHandleGeometry;

namespace {

bool isType(const QString &type, const char *name)
{
    return type == QLatin1String(name);
}

} // namespace

PFAnnotationSelector::PFAnnotationSelector(PFBasePDFView &view, PFTextToolHooks *&textHooks)
    : m_view(view), m_textHooks(textHooks)
{
}

bool PFAnnotationSelector::isMarkup(const QString &subtype)
{
    return isType(subtype, "Highlight") || isType(subtype, "StrikeOut") || isType(subtype, "Underline");
}

void PFAnnotationSelector::grab(const PDFAnnotation &annotation, QPointF p)
{
    m_dragItem = true;
    m_prePoint = p;
    m_clickDelta = p - annotation.bounds().topLeft();
}

void PFAnnotationSelector::select(const PDFAnnotation &annotation, QPointF p, bool keepOrigin)
{
    const bool freeText = isType(annotation.type(), "FreeText");
    if (freeText && !(m_view.dragAnnotation() == annotation))
        m_view.setSelectTextCount(0);
    grab(annotation, p);
    m_view.pfSelectAnnotation(annotation);
    m_view.pfSelectStatus(annotation);
    if (keepOrigin)
        m_view.setPfOriginRect(annotation.bounds());
    if (freeText)
        m_view.setSelectTextCount(m_view.selectTextCount() + 1);
}

int PFAnnotationSelector::pfDirectClickAnnotationPoint(QPointF p)
{
    if (m_textHooks && m_textHooks->isTextEditorOpen()) {
        const QRectF frame = handleFrame(m_textHooks->textEditorFrame());
        for (int index = 0; index < 8; ++index) {
            if (isNear(p, pfDragPointCenter(index, frame))) {
                m_dragItem = true;
                m_prePoint = p;
                m_clickDelta = p - frame.topLeft();
                m_view.viewport()->update();
                return index;
            }
        }
        return -1;
    }

    for (const PDFAnnotation &annotation : m_currentPage.annotations()) {
        const QString type = annotation.type();
        const QRectF bounds = annotation.bounds();
        if (isMarkup(type))
            continue; // reached through the context menu only
        if (isType(type, "Square") || isType(type, "Circle") || isType(type, "FreeText")) {
            const QRectF frame = handleFrame(bounds);
            for (int index = 0; index < 8; ++index) {
                if (isNear(p, pfDragPointCenter(index, frame))) {
                    select(annotation, p, true);
                    return index;
                }
            }
        } else if (isType(type, "Line")) {
            PFLineInfo info = m_view.pfLineInfo().value_or(PFLineInfo{p, {}, {}});
            info.lineStartPoint = annotation.startPoint();
            info.lineEndPoint = annotation.endPoint();
            m_view.setPfLineInfo(info);
            if (isNear(p, info.lineStartPoint) || isNear(p, info.lineEndPoint)) {
                const int end = isNear(p, info.lineStartPoint) ? 0 : 1;
                select(annotation, p, false);
                return end;
            }
            if (bounds.contains(p)) {
                select(annotation, p, false);
                m_view.viewport()->setCursor(Qt::OpenHandCursor);
                return 8;
            }
            continue;
        } else if (isType(type, "Stamp")) {
            const QRectF frame = handleFrame(bounds);
            for (int corner = 0; corner < 4; ++corner) {
                if (isNear(p, pfDragStampPointCenter(corner, frame))) {
                    select(annotation, p, true);
                    return corner;
                }
            }
        }
        if (bounds.contains(p)) {
            select(annotation, p, true);
            m_view.viewport()->setCursor(Qt::OpenHandCursor);
            return 8;
        }
    }

    if (!m_view.dragAnnotation().isNull()) {
        m_view.pfSelectAnnotation({});
        PFStatusInfo &status = m_view.pfCurrentStatus();
        status.currentStatus = status.editStatus;
        m_view.pfResetColor();
    }
    if (m_textHooks)
        m_textHooks->pfResetTextView();
    m_dragItem = false;
    return -1;
}

bool PFAnnotationSelector::pfIsClickAnnotation(const QString &subtype, QPointF p)
{
    for (const PDFAnnotation &annotation : m_currentPage.annotations()) {
        if (annotation.type() == subtype && annotation.bounds().contains(p)) {
            grab(annotation, p);
            m_view.pfSelectAnnotation(annotation);
            m_view.viewport()->setCursor(Qt::OpenHandCursor);
            return true;
        }
    }
    return false;
}

bool PFAnnotationSelector::pfIsClickOtherAnnotationPoint(QPointF p)
{
    for (const PDFAnnotation &annotation : m_currentPage.annotations()) {
        if (annotation.bounds().contains(p)) {
            if (!(m_view.dragAnnotation() == annotation))
                m_view.setSelectTextCount(0);
            grab(annotation, p);
            m_view.pfSelectAnnotation(annotation);
            m_view.viewport()->setCursor(Qt::OpenHandCursor);
            return true;
        }
    }
    return false;
}

bool PFAnnotationSelector::selectForMove(QPointF p)
{
    for (const PDFAnnotation &annotation : m_currentPage.annotations()) {
        if (isMarkup(annotation.type()) || !annotation.bounds().contains(p))
            continue;
        grab(annotation, p);
        m_view.pfSelectAnnotation(annotation);
        m_view.setPfOriginRect(annotation.bounds());
        if (isType(annotation.type(), "FreeText"))
            m_view.setSelectTextCount(m_view.selectTextCount() + 1);
        m_view.pfSelectStatus(annotation);
        return true;
    }
    return false;
}

void PFAnnotationSelector::moveSelection(QPointF viewportPoint)
{
    PDFAnnotation selection = m_view.dragAnnotation();
    const PDFPage page = selection.page();
    if (page.isNull())
        return;
    const QPointF p = m_view.convertPointToPage(viewportPoint, page);
    if (!page.bounds().contains(p))
        return; // the pointer left the page: the annotation stays at its last place on it
    const QPointF origin = movedOrigin(p, m_clickDelta);
    if (origin == selection.bounds().topLeft())
        return;
    PFAnnotationGeometry::pfMoveAnnotation(selection, origin);
    m_prePoint = p;
    m_view.invalidatePage(page);
    m_view.setPfHasChangePDF(true);
}

void PFAnnotationSelector::resizeSelection(const QRectF &bounds)
{
    PDFAnnotation selection = m_view.dragAnnotation();
    if (selection.isNull())
        return;
    selection.setBounds(bounds);
    // A kept drawing would be stretched onto the new size; the text is laid out again instead.
    if (isType(selection.type(), "FreeText"))
        PFFreeTextAppearance::apply(selection);
    else
        PFStampRedraw::redrawAtBounds(selection);
    m_view.invalidatePage(selection.page());
    m_view.setPfHasChangePDF(true);
}
