#pragma once

#include <QByteArray>
#include <QImage>

// PNG files of rendered pages, made for speed: rows filtered with "Up" (a page is mostly rows
// that repeat the row above) and deflated at a low level, which costs a fraction of the usual
// encoders' time for a file a little larger. The resolution is recorded in a pHYs chunk.
class PngEncoder {
public:
    // The bytes of a PNG file of `image` (any format; stored as 8-bit RGB or RGBA) tagged `dpi`
    // pixels per inch; empty on failure.
    static QByteArray encode(const QImage &image, int dpi);
};
