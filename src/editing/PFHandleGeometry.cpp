#include "PFHandleGeometry.h"

#include "settings/PFManager.h"

#include <cmath>

namespace PFHandleGeometry {

QRectF handleFrame(const QRectF &bounds)
{
    return bounds.adjusted(-kHandleOutset, -kHandleOutset, kHandleOutset, kHandleOutset);
}

QPointF pfDragPointCenter(int index, const QRectF &r)
{
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    switch (index) {
    case 0: return {x, y + h};
    case 1: return {x + w / 2, y + h};
    case 2: return {x + w, y + h};
    case 3: return {x, y + h / 2};
    case 4: return {x + w, y + h / 2};
    case 5: return {x, y};
    case 6: return {x + w / 2, y};
    case 7: return {x + w, y};
    default: return {};
    }
}

QPointF pfDragStampPointCenter(int index, const QRectF &r)
{
    switch (index) {
    case 0: return {r.x(), r.y() + r.height()};
    case 1: return {r.x() + r.width(), r.y() + r.height()};
    case 2: return {r.x(), r.y()};
    case 3: return {r.x() + r.width(), r.y()};
    default: return {};
    }
}

static QRectF squareAround(QPointF centre)
{
    return {centre.x() - kHandleSize / 2, centre.y() - kHandleSize / 2, kHandleSize, kHandleSize};
}

QRectF pfSquarePointRect(int index, const QRectF &rect)
{
    return squareAround(pfDragPointCenter(index, rect));
}

QRectF pfRectanglePointRect(int index, const QRectF &rect)
{
    return squareAround(pfDragStampPointCenter(index, rect));
}

QRectF pfConvetRect(const QRectF &rect, QPointF point)
{
    return rect.translated(-point);
}

bool isNear(QPointF point, QPointF centre)
{
    return PFManager::pfPointDistance(point, centre) < kHitDistanceSquared;
}

QRectF unitSquareUnion(QPointF a, QPointF b)
{
    const double left = std::min(a.x(), b.x());
    const double bottom = std::min(a.y(), b.y());
    return {left, bottom, std::max(a.x(), b.x()) + 1 - left, std::max(a.y(), b.y()) + 1 - bottom};
}

QRectF eightHandleResize(int handle, const QRectF &o, QPointF p)
{
    const double left = o.x(), bottom = o.y(), right = o.x() + o.width(), top = o.y() + o.height();
    switch (handle) {
    case 0: return unitSquareUnion(p, {right, bottom});
    case 1: return unitSquareUnion({left, p.y()}, {right, bottom});
    case 2: return unitSquareUnion(p, {left, bottom});
    case 3: return unitSquareUnion({p.x(), top}, {right, bottom});
    case 4: return unitSquareUnion({left, bottom}, {p.x(), top});
    case 5: return unitSquareUnion(p, {right, top});
    case 6: return unitSquareUnion({left, p.y()}, {right, top});
    case 7: return unitSquareUnion(p, {left, top});
    default: return o;
    }
}

QRectF stampCornerResize(int corner, const QRectF &o, QPointF p)
{
    if (o.width() <= 0 || o.height() <= 0)
        return o; // no proportions to keep
    const double right = o.x() + o.width(), top = o.y() + o.height();
    const double aspect = o.height() / o.width();
    switch (corner) {
    case 0: {
        const QRectF u = unitSquareUnion(p, {right, o.y()});
        return {u.x(), u.y(), u.width(), u.width() * aspect};
    }
    case 1: {
        const QRectF u = unitSquareUnion(p, {o.x(), o.y()});
        return {u.x(), u.y(), u.width(), u.width() * aspect};
    }
    case 2: {
        const QRectF u = unitSquareUnion(p, {right, top});
        const double width = u.height() / aspect;
        return {right - width, top - u.height(), width, u.height()};
    }
    case 3: {
        const QRectF u = unitSquareUnion(p, {o.x(), top});
        return {u.x(), u.y(), u.height() / aspect, u.height()};
    }
    default: return o;
    }
}

QPointF movedOrigin(QPointF p, QPointF clickDelta)
{
    const QPointF origin = p - clickDelta;
    return {double(std::lround(float(origin.x()))), double(std::lround(float(origin.y())))};
}

} // namespace PFHandleGeometry
