#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QString>

class PFDrawingSurface;

// Draws the catalogue stamps (PFStampCatalogue) onto a drawing surface, in y-up space: the
// annotation's version, which scales with its bounds, and the picker cell's version at fixed
// sizes. Labels become glyph outlines, so the file needs no font to show them.
class PFStampDrawing {
public:
    // A label laid out in the stamps' font: its outline with the baseline at y = 0 (y-up), its
    // advance width, line height and descent.
    struct Text {
        QPainterPath path;
        double width = 0;
        double height = 0;
        double descent = 0;
    };
    static Text measure(const QString &text, bool bold, double size);

    // The stamp of `index` drawn into `rect`; `date` is the fixed date of a dated stamp.
    // Nothing for an index outside the catalogue.
    static void drawStamp(PFDrawingSurface &surface, int index, const QRectF &rect, const QString &date);
    // The picker cell's version (the grey cell background is the cell's own). `chinese` is
    // whether the interface language is Chinese: other languages get smaller fonts for a few
    // long labels.
    static void drawCell(PFDrawingSurface &surface, int index, const QRectF &rect, const QString &date,
                         bool chinese);
};
