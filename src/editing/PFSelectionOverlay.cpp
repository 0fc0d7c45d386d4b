#include "PFSelectionOverlay.h"

#include "PFBasePDFView.h"
#include "PFHandleGeometry.h"
#include "PFTextToolHooks.h"

#include <QPainter>
#include <QPainterPath>

using namespace PFHandleGeometry;

namespace {

const QColor kSelectionColor(74, 150, 230);

void dashedFrame(QPainter &painter, const QRectF &rect)
{
    QPen pen(kSelectionColor);
    pen.setCosmetic(true);
    pen.setWidthF(1);
    pen.setDashPattern({2, 2});
    pen.setDashOffset(1);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
}

void dot(QPainter &painter, const QRectF &square)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSelectionColor);
    painter.drawEllipse(square);
}

void eightHandles(QPainter &painter, const QRectF &bounds)
{
    const QRectF frame = handleFrame(bounds);
    for (int index = 0; index < 8; ++index)
        dot(painter, pfSquarePointRect(index, frame));
    dashedFrame(painter, frame);
}

void markupOutline(QPainter &painter, const PDFAnnotation &markup)
{
    QPainterPath path;
    const QVector<PDFQuad> quads = markup.quadrilateralPoints();
    // One closed path through every point (a path holding only its start counts as empty, so
    // the start is told by the element count).
    for (const PDFQuad &quad : quads) {
        for (QPointF p : {quad.upperLeft, quad.upperRight, quad.lowerRight, quad.lowerLeft})
            path.elementCount() == 0 ? path.moveTo(p) : path.lineTo(p);
    }
    path.closeSubpath();
    QPen pen(kSelectionColor);
    pen.setCosmetic(true);
    pen.setDashPattern({2, 2});
    pen.setDashOffset(1);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void selectionOverlay(QPainter &painter, const PDFAnnotation &selection, bool markupOutlined)
{
    const QString type = selection.type();
    const QRectF bounds = selection.bounds();
    if (type == QLatin1String("Square") || type == QLatin1String("Circle")) {
        eightHandles(painter, bounds);
    } else if (type == QLatin1String("FreeText")) {
        if (bounds.width() != 0 && bounds.height() != 0)
            eightHandles(painter, bounds);
    } else if (type == QLatin1String("Text")) {
        dashedFrame(painter, bounds);
    } else if (type == QLatin1String("Line")) {
        for (QPointF end : {selection.startPoint(), selection.endPoint()})
            dot(painter, QRectF(end - QPointF(kHandleSize / 2, kHandleSize / 2), QSizeF(kHandleSize, kHandleSize)));
    } else if (type == QLatin1String("Link")) {
        QColor tint = kSelectionColor;
        tint.setAlphaF(0.5);
        painter.fillRect(bounds, tint);
    } else if (type == QLatin1String("Ink")) {
        dashedFrame(painter, handleFrame(bounds));
    } else if (type == QLatin1String("Stamp")) {
        const QRectF frame = handleFrame(bounds);
        for (int corner = 0; corner < 4; ++corner)
            dot(painter, pfRectanglePointRect(corner, frame));
        dashedFrame(painter, frame);
    } else if (markupOutlined && (type == QLatin1String("Highlight") || type == QLatin1String("Underline")
                                  || type == QLatin1String("StrikeOut"))) {
        markupOutline(painter, selection);
    }
}

} // namespace

namespace PFSelectionOverlay {

void draw(QPainter &painter, const PDFPage &page, const PFBasePDFView &view,
          const PFTextToolHooks *textHooks, bool markupOutlined)
{
    const PDFAnnotation selection = view.dragAnnotation();
    const bool editorHere = textHooks && textHooks->isTextEditorOpen() && textHooks->textEditorPage() == page;
    const bool selectionHere = !selection.isNull() && selection.page() == page;
    if (!editorHere && !selectionHere)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(view.pageTransform(page), true);
    if (selectionHere && !(editorHere && selection.type() == QLatin1String("FreeText")))
        selectionOverlay(painter, selection, markupOutlined);
    if (editorHere)
        eightHandles(painter, textHooks->textEditorFrame());
    painter.restore();
}

} // namespace PFSelectionOverlay
