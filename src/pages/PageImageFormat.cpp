#include "PageImageFormat.h"

#include "Jp2Writer.h"

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

bool PageImageFormat::write(const QImage &image, const QString &path, Kind kind)
{
    if (image.isNull())
        return false;
    if (kind == Jpeg2000)
        return Jp2Writer::write(image, path);
    QImageWriter writer(path, kind == Jpeg ? "jpeg" : kind == Tiff ? "tiff" : "png");
    if (kind == Jpeg)
        writer.setQuality(100);
    if (kind == Tiff)
        writer.setCompression(1); // LZW: lossless, and far smaller than raw samples
    return writer.write(image);
}
