#include "PageImageFormat.h"

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
