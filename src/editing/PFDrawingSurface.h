#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QTransform>

#include "platform/pdf/PDFDrawing.h"

// Where the program's own annotations draw themselves: on screen through QPainter, or into
// the appearance stream kept in the file. Coordinates are y-up, like page space; an image
// drawn into a rectangle shows its top row at the rectangle's top (highest y).
class PFDrawingSurface {
public:
    virtual ~PFDrawingSurface() = default;

    virtual void save() = 0;
    virtual void restore() = 0;
    // Content drawn afterwards in coordinates p lands at transform.map(p) of the space before.
    virtual void concatTransform(const QTransform &transform) = 0;
    // A colour's alpha is its opacity. The path's fill rule is kept.
    virtual void fillPath(const QPainterPath &path, const QColor &color) = 0;
    // Round caps and joins.
    virtual void strokePath(const QPainterPath &path, const QColor &color, double width) = 0;
    virtual void drawImage(const QImage &image, const QRectF &rect) = 0;
    // A picture that may carry its file's JPEG bytes; a surface that writes the file keeps them
    // as they are, others draw the decoded image.
    virtual void drawPicture(const PDFDrawing::Image &picture, const QRectF &rect) { drawImage(picture.image, rect); }
    // Confines what is drawn afterwards to the path, until the matching restore().
    virtual void clipPath(const QPainterPath &path) = 0;

    // Text as glyph outlines, upright in this y-up space, its baseline starting at `origin`.
    // Outlines need no embedded font, so every reader of the file shows them.
    void fillText(const QString &text, const QFont &font, QPointF origin, const QColor &color);
};
