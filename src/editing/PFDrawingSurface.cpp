#include "PFDrawingSurface.h"

void PFDrawingSurface::fillText(const QString &text, const QFont &font, QPointF origin,
                                const QColor &color)
{
    QPainterPath glyphs;
    glyphs.setFillRule(Qt::WindingFill);
    glyphs.addText(QPointF(), font, text);
    // Qt lays glyphs out y-down; turn them over onto the baseline.
    const QTransform upright(1, 0, 0, -1, origin.x(), origin.y());
    fillPath(upright.map(glyphs), color);
}
