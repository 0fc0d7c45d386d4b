#include "PageImageFormat.h"

#include "Jp2Writer.h"
#include "PngEncoder.h"

#include <QBuffer>
#include <QImageWriter>

PageImageFormat::Kind PageImageFormat::fromIndex(int index)
{
    switch (index) {
    case Jpeg: return Jpeg;
    case Jpeg2000: return Jpeg2000;
    case Tiff: return Tiff;
    default: return Png;
    }
}

int PageImageFormat::indexFromName(const QString &name)
{
    const QString lower = name.toLower();
    if (lower == QStringLiteral("png"))
        return Png;
    if (lower == QStringLiteral("jpeg") || lower == QStringLiteral("jpg"))
        return Jpeg;
    if (lower == QStringLiteral("jp2"))
        return Jpeg2000;
    if (lower == QStringLiteral("tiff") || lower == QStringLiteral("tif"))
        return Tiff;
    return -1;
}

QString PageImageFormat::pageFileName(Kind kind, int pageNumber)
{
    static const char *const extensions[] = {"png", "png", "jpg", "jp2", "tiff"};
    return QStringLiteral("Page_%1.%2").arg(pageNumber).arg(QLatin1String(extensions[kind]));
}

QByteArray PageImageFormat::encode(const QImage &source, Kind kind, int dpi)
{
    if (source.isNull())
        return {};
    if (kind == Jpeg2000)
        return Jp2Writer::encode(source);
    if (kind == Png)
        return PngEncoder::encode(source, dpi);
    // The resolution tag says what the pixels were rendered at, so the image prints at the
    // page's own size.
    QImage image = source;
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    // Encoded into memory: the codec never meets a disk error, and the bytes are written with
    // every step checked.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, kind == Jpeg ? "jpeg" : "tiff");
    if (kind == Jpeg)
        writer.setQuality(100);
    if (kind == Tiff)
        writer.setCompression(1); // LZW: lossless, and far smaller than raw samples
    return writer.write(image) ? bytes : QByteArray();
}
