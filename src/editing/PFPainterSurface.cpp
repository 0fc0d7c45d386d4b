#include "PFPainterSurface.h"

#include <QPainter>

void PFPainterSurface::save()
{
    m_painter.save();
}

void PFPainterSurface::restore()
{
    m_painter.restore();
}

void PFPainterSurface::concatTransform(const QTransform &transform)
{
    m_painter.setTransform(transform, true);
}

void PFPainterSurface::fillPath(const QPainterPath &path, const QColor &color)
{
    m_painter.fillPath(path, color);
}

void PFPainterSurface::strokePath(const QPainterPath &path, const QColor &color, double width)
{
    m_painter.strokePath(path, QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void PFPainterSurface::drawImage(const QImage &image, const QRectF &rect)
{
    // QPainter puts an image's first row at the smaller y; in y-up space that is the bottom.
    m_painter.save();
    m_painter.translate(rect.left(), rect.bottom());
    m_painter.scale(1, -1);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.drawImage(QRectF(QPointF(), rect.size()), image);
    m_painter.restore();
}

void PFPainterSurface::clipPath(const QPainterPath &path)
{
    m_painter.setClipPath(path, Qt::IntersectClip);
}
