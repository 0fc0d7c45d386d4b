#pragma once

#include <QPointF>
#include <QRectF>

class PDFAnnotation;

// Moving an annotation as a whole. The bounds alone are not the annotation: a line is drawn
// between its end points, ink along its strokes and a markup over its quadrilaterals, so
// those move by the same vector as the bounds.
namespace PFAnnotationGeometry {

// Moves the annotation so that its bounds start at `origin`, its points with it.
void pfMoveAnnotation(PDFAnnotation &annotation, QPointF origin);

// The origin at which bounds of this size, centred on `centre`, lie on the page box as far as
// they can: a box larger than the page starts at the page's lower left.
QPointF pfOriginInside(const QRectF &bounds, QPointF centre, const QRectF &pageBox);

} // namespace PFAnnotationGeometry
