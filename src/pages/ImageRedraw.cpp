#include "ImageRedraw.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSet>
#include <cmath>

bool ImageRedraw::isPhotographic(const QImage &image)
{
    if (image.hasAlphaChannel() || image.isNull())
        return false;
    // Drawings and screenshots use few colours; a photograph's sampled pixels are nearly all distinct.
    constexpr int grid = 48;
    QSet<QRgb> colours;
    for (int gy = 0; gy < grid; ++gy)
        for (int gx = 0; gx < grid; ++gx)
            colours.insert(image.pixel(gx * image.width() / grid, gy * image.height() / grid));
    return colours.size() > grid * grid / 4;
}

QSize ImageRedraw::pixelSize(const QRectF &placement)
{
    return QSize(std::max(1, int(std::ceil(placement.width() * kPixelsPerPoint))),
                 std::max(1, int(std::ceil(placement.height() * kPixelsPerPoint))));
}

PDFDrawing ImageRedraw::drawing(const QImage &image, QSizeF pageSize, const QRectF &placement, bool sourceIsJpeg)
{
    const QSize pixels = pixelSize(placement);
    const QImage scaled = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    PDFDrawing::Image entry;
    if (sourceIsJpeg || isPhotographic(scaled)) {
        QBuffer buffer(&entry.jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(90);
        if (!writer.write(scaled.convertToFormat(QImage::Format_RGB888)))
            entry.jpeg.clear();
    }
    if (entry.jpeg.isEmpty())
        entry.image = scaled;
    PDFDrawing result;
    result.size = pageSize;
    result.images.append(entry);
    result.content = QStringLiteral("q %1 0 0 %2 %3 %4 cm /Im0 Do Q\n")
                         .arg(placement.width(), 0, 'f', 4)
                         .arg(placement.height(), 0, 'f', 4)
                         .arg(placement.left(), 0, 'f', 4)
                         .arg(placement.top(), 0, 'f', 4)
                         .toLatin1();
    return result;
}
