#include "PFPointerMachine.h"

#include "PFBasePDFView.h"
#include "PFBaseImageAnnotation.h"
#include "stamps/PFPlacementGeometry.h"
#include "PFHandleGeometry.h"
#include "PFMarkupBuilder.h"
#include "PFTextToolHooks.h"

#include <QMouseEvent>

using namespace PFHandleGeometry;

namespace {

bool isHandle(int direct, int last)
{
    return direct >= 0 && direct <= last;
}

// -1 (nothing hit: a new shape) or a handle 0..7.
bool shapesOrHandle(int direct)
{
    return direct >= -1 && direct <= 7;
}

void styleLine(PDFAnnotation &line, int status, PDFLineStyle start, PDFLineStyle end)
{
    if (status == PFToolStatusLine)
        line.setLineStyles(PDFLineStyle::None, PDFLineStyle::None);
    else
        line.setLineStyles(start, end);
}

// The pointer of a tool away from any annotation.
Qt::CursorShape toolCursor(int status)
{
    if (status >= PFToolStatusHighlight && status <= PFToolStatusStrikeOut)
        return Qt::IBeamCursor;
    if (status >= PFToolStatusPen && status <= PFToolStatusLink)
        return Qt::CrossCursor;
    return Qt::ArrowCursor;
}

} // namespace

PFPointerMachine::PFPointerMachine(PFBasePDFView &view)
    : QObject(&view), m_view(view), m_selector(view, m_textHooks), m_markups(view)
{
}

void PFPointerMachine::reset()
{
    m_hasAddShape = false;
    m_shape = {};
    m_drawPath.clear();
    if (!m_provisionalInk.isNull()) {
        const PDFPage page = m_provisionalInk.page();
        if (!page.isNull()) {
            PDFPage(page).removeAnnotation(m_provisionalInk);
            m_view.invalidatePage(page);
        }
        m_provisionalInk = {};
    }
    m_selector.setDragItem(false);
}

QPointF PFPointerMachine::pagePoint(QMouseEvent *event) const
{
    return m_view.convertPointToPage(event->position(), m_selector.pfCurrentPage());
}

bool PFPointerMachine::beginGesture(QMouseEvent *event)
{
    const PDFPage page = m_view.pageForPoint(event->position(), true);
    if (page.isNull())
        return false;
    m_selector.setCurrentPage(page);
    m_view.setPfLineInfo(PFLineInfo{pagePoint(event), {}, {}});
    m_hasAddShape = false;
    m_shape = {};
    return true;
}

// Press --------------------------------------------------------------------------------------

bool PFPointerMachine::mouseDown(QMouseEvent *event)
{
    emit pfResignSearchBar();
    m_hasRightMouseClick = false;
    PFStatusInfo &status = m_view.pfCurrentStatus();
    switch (status.currentStatus) {
    case PFToolStatusPen:
        m_view.viewport()->setCursor(Qt::CrossCursor);
        if (!beginGesture(event))
            return false;
        if (m_textHooks)
            m_textHooks->pfResetTextView();
        m_view.pfSelectAnnotation({});
        m_view.setPfCurrentDirect(-1);
        return false;
    case PFToolStatusCircle:
    case PFToolStatusRectangle:
    case PFToolStatusArrow:
    case PFToolStatusLine: {
        m_view.viewport()->setCursor(Qt::CrossCursor);
        if (!beginGesture(event))
            return false;
        const int direct = m_selector.pfDirectClickAnnotationPoint(m_view.pfLineInfo()->startPoint);
        m_view.setPfCurrentDirect(direct);
        if (direct != -1)
            emit pfCheckClickLink();
        return false;
    }
    case PFToolStatusLink:
        m_view.viewport()->setCursor(Qt::CrossCursor);
        if (!beginGesture(event))
            return false;
        m_view.setPfCurrentDirect(-1);
        if (m_selector.pfIsClickAnnotation(QStringLiteral("Link"), m_view.pfLineInfo()->startPoint)) {
            m_view.setPfClickOtherAnno(true);
            emit pfCheckClickLink();
            m_view.pfSelectAnnotation({});
        } else {
            m_view.pfSelectAnnotation({});
            if (status.editStatus == PFToolStatusLink)
                m_view.setPfClickOtherAnno(false);
            else
                m_view.pfResetSameStatus();
        }
        return false;
    case PFToolStatusText:
        return !(m_textHooks && m_textHooks->textToolPressed(event));
    case PFToolStatusNote:
        return !(m_textHooks && m_textHooks->noteToolPressed(event));
    case PFToolStatusImage:
    case PFToolStatusStamp:
    case PFToolStatusSign:
        return pressPlacing(event);
    default:
        return pressOther(event);
    }
}

bool PFPointerMachine::pressPlacing(QMouseEvent *event)
{
    if (!beginGesture(event))
        return false;
    const QPointF p = m_view.pfLineInfo()->startPoint;
    const int direct = m_selector.pfDirectClickAnnotationPoint(p);
    m_view.setPfCurrentDirect(direct);
    if (direct != -1) {
        emit pfCheckClickLink();
        return false;
    }
    const PFStatusInfo &status = m_view.pfCurrentStatus();
    if (status.editStatus != status.currentStatus)
        return false;
    const PDFPage page = m_selector.pfCurrentPage();
    switch (status.currentStatus) {
    case PFToolStatusImage:
        placePhoto(page, p);
        break;
    case PFToolStatusStamp:
        if (m_view.selectStampIndex() != -1)
            emit stampPlacementRequested(page, p);
        break;
    case PFToolStatusSign:
        if (m_view.pfSignModel())
            emit signPlacementRequested(page, p);
        break;
    default:
        break;
    }
    return false;
}

bool PFPointerMachine::pressOther(QMouseEvent *event)
{
    const PDFPage page = m_view.pageForPoint(event->position(), false);
    if (page.isNull())
        return false;
    m_selector.setCurrentPage(page);
    const QPointF p = pagePoint(event);
    m_view.setPfLineInfo(PFLineInfo{p, {}, {}});
    if (m_selector.selectForMove(p)) {
        // Remembered as a body hit, so that the release keeps the tool of the selection.
        m_view.setPfCurrentDirect(8);
        emit pfCheckClickLink();
        return false;
    }
    m_view.setPfCurrentDirect(-1);
    m_view.pfResetSameStatus();
    if (m_textHooks)
        m_textHooks->pfResetTextView();
    m_view.pfSelectAnnotation({});
    m_selector.setDragItem(false);
    return true; // text selection
}

void PFPointerMachine::placePhoto(const PDFPage &page, QPointF p)
{
    const PFPicture photo = m_view.pfPhotoImage();
    const QRectF bounds = PFPlacementGeometry::centredOnPage(page, p, PFPlacementGeometry::pictureSize(photo.image().size()));
    if (bounds.isEmpty())
        return;
    PFBaseImageAnnotation picture(page, photo.drawingImage(), bounds);
    if (picture.isNull())
        return;
    m_view.pfAddShapeAnnotation(picture, page.index());
    m_view.setPfPhotoImage({}); // one picture per choice
}

// Drag ---------------------------------------------------------------------------------------

bool PFPointerMachine::mouseDragged(QMouseEvent *event)
{
    if (m_textHooks && m_textHooks->isTextEditorOpen()) {
        m_textHooks->textEditorDragged(event);
        return false;
    }
    if (!m_view.pfLineInfo() || m_selector.pfCurrentPage().isNull())
        return true;
    const QPointF p = pagePoint(event);
    const PFStatusInfo &status = m_view.pfCurrentStatus();
    const int direct = m_view.pfCurrentDirect();
    const PDFAnnotation selection = m_view.dragAnnotation();
    switch (status.currentStatus) {
    case PFToolStatusPen:
        if (status.editStatus == PFToolStatusPen)
            extendStroke(p);
        return false;
    case PFToolStatusCircle:
    case PFToolStatusRectangle:
        if (shapesOrHandle(direct))
            return dragShape(p), false;
        break;
    case PFToolStatusArrow:
    case PFToolStatusLine:
        if (shapesOrHandle(direct))
            return dragLine(p), false;
        break;
    case PFToolStatusLink:
        dragLink(p);
        return false;
    case PFToolStatusText:
        if (isHandle(direct, 7) && selection.type() == QLatin1String("FreeText")) {
            m_selector.resizeSelection(eightHandleResize(direct, m_view.pfOriginRect(), p));
            return false;
        }
        break;
    case PFToolStatusImage:
    case PFToolStatusStamp:
    case PFToolStatusSign:
        if (isHandle(direct, 3) && selection.type() == QLatin1String("Stamp")) {
            m_view.viewport()->setCursor(Qt::CrossCursor);
            m_selector.resizeSelection(stampCornerResize(direct, m_view.pfOriginRect(), p));
            return false;
        }
        break;
    default:
        break;
    }
    if (m_selector.isDragItem() && !selection.isNull() && selection.type() != QLatin1String("Link")
        && !PFAnnotationSelector::isMarkup(selection.type())) {
        m_selector.moveSelection(event->position());
        return false;
    }
    return true;
}

void PFPointerMachine::extendStroke(QPointF p)
{
    if (!m_drawPath.isEmpty() && m_drawPath.last() == p)
        return;
    if (m_drawPath.isEmpty())
        m_drawPath.append(m_view.pfLineInfo()->startPoint);
    m_drawPath.append(p);

    const double w = m_view.pfLineWidth();
    QRectF box = QPolygonF(m_drawPath).boundingRect();
    box.adjust(-w, -w, w, w);
    PDFPage page = m_selector.pfCurrentPage();
    // One provisional annotation follows the stroke; it becomes the undo step on release.
    if (m_provisionalInk.isNull()) {
        m_provisionalInk = PDFAnnotation::create(m_view.document(), QStringLiteral("Ink"), box);
        if (m_provisionalInk.isNull())
            return;
        m_provisionalInk.setColor(m_view.pfColor());
        m_provisionalInk.setBorder(PDFBorder{w});
        m_provisionalInk.setInkPaths({m_drawPath});
        page.addAnnotation(m_provisionalInk);
    } else {
        m_provisionalInk.setInkPaths({m_drawPath});
    }
    m_provisionalInk.setBounds(box);
    m_view.invalidatePage(page);
}

void PFPointerMachine::finishStroke(QPointF p)
{
    if (m_provisionalInk.isNull()) {
        m_drawPath.clear(); // a click without moving draws nothing
        return;
    }
    extendStroke(p);
    PDFAnnotation stroke = m_provisionalInk;
    m_provisionalInk = {};
    m_drawPath.clear();
    PDFPage page = stroke.page();
    page.removeAnnotation(stroke);
    m_view.pfAddShapeAnnotation(stroke, page.index());
}

void PFPointerMachine::dragShape(QPointF p)
{
    const int status = m_view.pfCurrentStatus().currentStatus;
    const int direct = m_view.pfCurrentDirect();
    const QPointF start = m_view.pfLineInfo()->startPoint;
    if (!m_hasAddShape && m_view.dragAnnotation().isNull()) {
        m_hasAddShape = true;
        const QString type = status == PFToolStatusCircle ? QStringLiteral("Circle") : QStringLiteral("Square");
        PDFAnnotation shape = PDFAnnotation::create(m_view.document(), type, unitSquareUnion(start, p));
        if (shape.isNull())
            return;
        shape.setColor(m_view.pfColor());
        shape.setBorder(PDFBorder{m_view.pfLineWidth()});
        shape.setInteriorColor(m_view.pfFillColor());
        m_shape = shape;
        m_view.pfAddShapeAnnotation(shape, m_selector.pfCurrentPage().index());
        m_view.pfSelectAnnotation(shape);
        return;
    }
    const QRectF bounds = isHandle(direct, 7) ? eightHandleResize(direct, m_view.pfOriginRect(), p)
                                              : unitSquareUnion(start, p);
    if (m_view.dragAnnotation().isNull())
        m_view.pfSelectAnnotation(m_shape);
    m_selector.resizeSelection(bounds);
}

void PFPointerMachine::dragLine(QPointF p)
{
    const int status = m_view.pfCurrentStatus().currentStatus;
    const int direct = m_view.pfCurrentDirect();
    const PFLineInfo info = *m_view.pfLineInfo();
    if (!m_hasAddShape && m_view.dragAnnotation().isNull()) {
        m_hasAddShape = true;
        PDFAnnotation line = PDFAnnotation::create(m_view.document(), QStringLiteral("Line"), QRectF(p, QSizeF(1, 1)));
        if (line.isNull())
            return;
        line.setColor(m_view.pfColor());
        line.setBorder(PDFBorder{m_view.pfLineWidth()});
        styleLine(line, status, PDFLineStyle::None, PDFLineStyle::OpenArrow);
        line.setLinePoints(info.startPoint, p);
        m_shape = line;
        m_view.pfAddShapeAnnotation(line, m_selector.pfCurrentPage().index());
        m_view.pfSelectAnnotation(line);
        return;
    }
    PDFAnnotation line = m_view.dragAnnotation().isNull() ? m_shape : m_view.dragAnnotation();
    if (line.isNull())
        return;
    if (direct == 0) {
        // The head stays at whichever end carried it.
        const bool headAtEnd = line.startLineStyle() == PDFLineStyle::None;
        styleLine(line, status, headAtEnd ? PDFLineStyle::None : PDFLineStyle::OpenArrow,
                  headAtEnd ? PDFLineStyle::OpenArrow : PDFLineStyle::None);
        line.setLinePoints(p, info.lineEndPoint);
    } else if (direct == 1) {
        styleLine(line, status, PDFLineStyle::None, PDFLineStyle::OpenArrow);
        line.setLinePoints(info.lineStartPoint, p);
    } else {
        styleLine(line, status, PDFLineStyle::None, PDFLineStyle::OpenArrow);
        line.setLinePoints(info.startPoint, p);
    }
    line.setColor(m_view.pfColor());
    line.setBorder(PDFBorder{m_view.pfLineWidth()});
    m_view.pfSelectAnnotation(line);
    m_view.invalidatePage(line.page());
    m_view.setPfHasChangePDF(true);
}

void PFPointerMachine::dragLink(QPointF p)
{
    // A press on an existing link follows it; it does not start a new one.
    if (m_view.pfClickOtherAnno())
        return;
    const QPointF start = m_view.pfLineInfo()->startPoint;
    if (!m_hasAddShape && m_view.dragAnnotation().isNull()) {
        m_hasAddShape = true;
        m_shape = PDFAnnotation::create(m_view.document(), QStringLiteral("Link"), QRectF(start, QSizeF(0, 0)));
        if (m_shape.isNull())
            return;
        m_shape.setBorder(PDFBorder{0});
        m_selector.pfCurrentPage().addAnnotation(m_shape);
    }
    if (m_shape.isNull())
        return;
    m_shape.setBounds(unitSquareUnion(start, p));
    m_view.pfSelectAnnotation(m_shape);
    m_view.invalidatePage(m_shape.page());
}

// Release ------------------------------------------------------------------------------------

void PFPointerMachine::mouseUp(QMouseEvent *event)
{
    if (!m_view.pfLineInfo() || m_selector.pfCurrentPage().isNull())
        return;
    const QPointF p = pagePoint(event);
    PFStatusInfo &status = m_view.pfCurrentStatus();
    const int direct = m_view.pfCurrentDirect();
    switch (status.currentStatus) {
    case PFToolStatusPen:
        finishStroke(p);
        return;
    case PFToolStatusLink:
        if (m_view.pfClickOtherAnno())
            break;
        if (!m_shape.isNull() && p != m_view.pfLineInfo()->startPoint) {
            emit linkDrawn(m_shape, m_selector.pfCurrentPage().index());
        } else if (!m_shape.isNull()) {
            // Back where it started: no link is asked for, so the rectangle, which has no
            // action, leaves the page.
            m_view.pfSelectAnnotation({});
            PDFPage(m_shape.page()).removeAnnotation(m_shape);
            m_view.invalidatePage(m_selector.pfCurrentPage());
            m_shape = {};
        }
        m_hasAddShape = false;
        return;
    case PFToolStatusText:
        if (m_textHooks)
            m_textHooks->textToolReleased(event);
        return;
    case PFToolStatusCircle:
    case PFToolStatusRectangle:
    case PFToolStatusArrow:
    case PFToolStatusLine:
        if (shapesOrHandle(direct)) {
            m_hasAddShape = false;
            // A resized annotation stays selected with the tool of its kind, so the style
            // popovers go on acting on it; after a new shape the palette's tool returns.
            if (direct == -1)
                m_view.pfResetSameStatus();
            return;
        }
        break;
    default:
        break;
    }
    releaseTail();
}

void PFPointerMachine::releaseTail()
{
    const int direct = m_view.pfCurrentDirect();
    if (isHandle(direct, 7) && m_textHooks && m_textHooks->isTextEditorOpen())
        return;
    if (direct == -1)
        m_view.pfResetSameStatus();
    if (m_textHooks)
        m_textHooks->pfResetTextView();
    m_selector.setDragItem(false);
    const int status = m_view.pfCurrentStatus().currentStatus;
    if (status >= PFToolStatusHighlight && status <= PFToolStatusStrikeOut) {
        m_markups.pfHighlight();
        m_view.pfChangeOrAddAnnotation();
    }
}

// Hover --------------------------------------------------------------------------------------

void PFPointerMachine::mouseMoved(QMouseEvent *event)
{
    hover(event);
}

void PFPointerMachine::pfShowMoveCursor(int index)
{
    switch (index) {
    case 0: case 2: case 5: case 7: m_view.viewport()->setCursor(Qt::CrossCursor); break;
    case 1: case 6: m_view.viewport()->setCursor(Qt::SizeVerCursor); break;
    case 3: case 4: m_view.viewport()->setCursor(Qt::SizeHorCursor); break;
    default: break;
    }
}

void PFPointerMachine::hover(QMouseEvent *event)
{
    if (m_textHooks && m_textHooks->isTextEditorOpen()) {
        const PDFPage page = m_textHooks->textEditorPage();
        const QPointF p = m_view.convertPointToPage(event->position(), page);
        const QRectF frame = handleFrame(m_textHooks->textEditorFrame());
        for (int index = 0; index < 8; ++index)
            if (isNear(p, pfDragPointCenter(index, frame)))
                return pfShowMoveCursor(index);
        return;
    }
    const PDFPage page = m_view.pageForPoint(event->position(), false);
    if (page.isNull())
        return;
    const QPointF p = m_view.convertPointToPage(event->position(), page);
    for (const PDFAnnotation &annotation : page.annotations()) {
        const QString type = annotation.type();
        if (PFAnnotationSelector::isMarkup(type))
            continue;
        const QRectF bounds = annotation.bounds();
        const QRectF frame = handleFrame(bounds);
        if (type == QLatin1String("Square") || type == QLatin1String("Circle") || type == QLatin1String("FreeText")) {
            for (int index = 0; index < 8; ++index)
                if (isNear(p, pfDragPointCenter(index, frame)))
                    return pfShowMoveCursor(index);
        } else if (type == QLatin1String("Stamp")) {
            for (int corner = 0; corner < 4; ++corner)
                if (isNear(p, pfDragStampPointCenter(corner, frame)))
                    return pfShowMoveCursor(corner);
        } else if (type == QLatin1String("Line")) {
            if (isNear(p, annotation.startPoint()) || isNear(p, annotation.endPoint()))
                return m_view.viewport()->setCursor(Qt::CrossCursor);
        }
        if (bounds.contains(p))
            return m_view.viewport()->setCursor(Qt::OpenHandCursor);
    }
    m_view.viewport()->setCursor(toolCursor(m_view.pfCurrentStatus().currentStatus));
}
