#pragma once

#include <QPointF>
#include <QRectF>

// Geometry of selection handles, resizing and moving, in page space (y upwards). Pure functions:
// the pointer machine and the overlays share them, so what is drawn is what is hit.
namespace PFHandleGeometry {

// Handles sit this far outside the annotation's bounds.
inline constexpr double kHandleOutset = 8.0;
// Side of a drawn handle square.
inline constexpr double kHandleSize = 8.0;
// A handle is hit when the squared distance to its centre is below this (about 3.16 points).
inline constexpr double kHitDistanceSquared = 10.0;

// The bounds grown by kHandleOutset on every side.
QRectF handleFrame(const QRectF &bounds);

// Centre of handle 0..7 (top left, top middle, top right, left middle, right middle, bottom
// left, bottom middle, bottom right); (0, 0) for any other index.
QPointF pfDragPointCenter(int index, const QRectF &rect);
// Centre of stamp corner 0..3 (top left, top right, bottom left, bottom right); (0, 0) otherwise.
QPointF pfDragStampPointCenter(int index, const QRectF &rect);
// The 8 x 8 squares drawn on the same centres.
QRectF pfSquarePointRect(int index, const QRectF &rect);
QRectF pfRectanglePointRect(int index, const QRectF &rect);
// The rectangle moved by minus the point.
QRectF pfConvetRect(const QRectF &rect, QPointF point);

// The near-test of every handle: squared distance below kHitDistanceSquared.
bool isNear(QPointF point, QPointF centre);

// The union of the two 1 x 1 squares whose lower-left corners are a and b: never empty.
QRectF unitSquareUnion(QPointF a, QPointF b);

// New bounds when handle 0..7 of `origin` is dragged to p; the opposite side stays put and
// dragging past it flips the rectangle. `origin` itself for any other index.
QRectF eightHandleResize(int handle, const QRectF &origin, QPointF p);
// New bounds when corner 0..3 of a stamp is dragged to p, keeping the stamp's proportions.
QRectF stampCornerResize(int corner, const QRectF &origin, QPointF p);

// The origin of a moved annotation: p minus the grab offset, rounded to whole points with
// halves away from zero.
QPointF movedOrigin(QPointF p, QPointF clickDelta);


} // namespace PFHandleGeometry
