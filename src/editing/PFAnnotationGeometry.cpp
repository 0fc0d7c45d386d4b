#include "PFAnnotationGeometry.h"

#include "platform/pdf/PDFAnnotation.h"

#include <algorithm>

namespace PFAnnotationGeometry {

void pfMoveAnnotation(PDFAnnotation &annotation, QPointF origin)
{
    const QRectF bounds = annotation.bounds();
    const QPointF delta = origin - bounds.topLeft();
    if (delta.isNull())
        return;
    const QString type = annotation.type();
    if (type == QLatin1String("Line")) {
        annotation.setLinePoints(annotation.startPoint() + delta, annotation.endPoint() + delta);
    } else if (type == QLatin1String("Ink")) {
        QVector<QVector<QPointF>> paths = annotation.inkPaths();
        for (QVector<QPointF> &path : paths)
            for (QPointF &point : path)
                point += delta;
        annotation.setInkPaths(paths);
    } else if (type == QLatin1String("Highlight") || type == QLatin1String("Underline")
               || type == QLatin1String("StrikeOut")) {
        QVector<PDFQuad> quads = annotation.quadrilateralPoints();
        for (PDFQuad &quad : quads) {
            quad.upperLeft += delta;
            quad.upperRight += delta;
            quad.lowerLeft += delta;
            quad.lowerRight += delta;
        }
        annotation.setQuadrilateralPoints(quads);
    }
    // Last, since the engine may derive the bounds from the points it was just given.
    annotation.setBounds(bounds.translated(delta));
}

QPointF pfOriginInside(const QRectF &bounds, QPointF centre, const QRectF &pageBox)
{
    QPointF origin = centre - QPointF(bounds.width() / 2, bounds.height() / 2);
    origin.setX(std::max(pageBox.left(), std::min(origin.x(), pageBox.right() - bounds.width())));
    origin.setY(std::max(pageBox.top(), std::min(origin.y(), pageBox.bottom() - bounds.height())));
    return origin;
}

} // namespace PFAnnotationGeometry
