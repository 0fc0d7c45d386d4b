#pragma once

#include "platform/pdf/PDFDrawing.h"

#include <QImage>
#include <QRectF>

// An image redrawn for a PDF page: at its fitted size and two pixels per point, enough for
// scanned text to stay legible on a HiDPI screen while the file follows the page size rather
// than the source's; JPEG where the image is a photograph, lossless otherwise.
class ImageRedraw {
public:
    static constexpr double kPixelsPerPoint = 2.0;

    // A drawing of `pageSize` that paints `image` into `placement` (page space, y upwards).
    static PDFDrawing drawing(const QImage &image, QSizeF pageSize, const QRectF &placement, bool sourceIsJpeg);
    // The pixel size an image placed in `placement` is redrawn at.
    static QSize pixelSize(const QRectF &placement);
    // Many distinct colours and no transparency: a photograph, which JPEG stores far smaller.
    static bool isPhotographic(const QImage &image);
};
