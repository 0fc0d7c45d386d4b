#include "PFPicture.h"

#include "platform/pdf/PDFImageDecoder.h"
#include "platform/store/Localization.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <cmath>

namespace {

// Larger files are refused before they are read into memory.
constexpr qint64 kMaxFileBytes = qint64(512) * 1024 * 1024;

QSize boundedSize(QSize size)
{
    const double pixels = double(size.width()) * double(size.height());
    if (pixels <= double(PFPicture::kMaxPixels))
        return size;
    const double scale = std::sqrt(double(PFPicture::kMaxPixels) / pixels);
    return {std::max(1, int(size.width() * scale)), std::max(1, int(size.height() * scale))};
}

QString unreadable() { return pfLocalized("无法读取该图片文件。"); }

} // namespace

bool PFPicture::isPassThroughJpeg(const QByteArray &bytes)
{
    const auto byte = [&](qsizetype i) { return i < bytes.size() ? uchar(bytes[i]) : 0; };
    if (byte(0) != 0xFF || byte(1) != 0xD8)
        return false;
    qsizetype i = 2;
    while (i + 4 <= bytes.size()) {
        if (byte(i) != 0xFF)
            return false;
        const uchar marker = byte(i + 1);
        if (marker == 0xFF) { // fill byte
            ++i;
            continue;
        }
        const int length = (byte(i + 2) << 8) | byte(i + 3);
        if (marker == 0xC0) { // baseline frame: precision, height, width, components
            const int components = byte(i + 9);
            return byte(i + 4) == 8 && (components == 1 || components == 3);
        }
        if ((marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            || marker == 0xDA || length < 2)
            return false; // progressive, lossless, arithmetic, or scan data before any frame
        i += 2 + length;
    }
    return false;
}

PFPicture PFPicture::fromFile(const QString &path, QString *message)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes) {
        if (message)
            *message = file.size() > kMaxFileBytes ? pfLocalized("图片太大，无法放置。") : unreadable();
        return {};
    }
    return fromData(file.readAll(), message);
}

PFPicture PFPicture::fromData(const QByteArray &bytes, QString *message)
{
    PFPicture picture;
    if (bytes.isEmpty()) {
        if (message)
            *message = unreadable();
        return picture;
    }
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false); // the same orientation as the JPEG bytes kept as they are
    if (reader.canRead()) {
        const QSize size = reader.size();
        const QSize bounded = size.isValid() ? boundedSize(size) : size;
        if (bounded != size)
            reader.setScaledSize(bounded);
        picture.m_image = reader.read();
        if (!picture.m_image.isNull() && size.isValid() && bounded != size && picture.m_image.size() != bounded)
            picture.m_image = picture.m_image.scaled(bounded, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (picture.m_image.isNull()) {
            if (message)
                *message = reader.error() == QImageReader::InvalidDataError && size.isValid()
                                   && boundedSize(size) != size
                               ? pfLocalized("图片太大，无法放置。")
                               : unreadable();
            return picture;
        }
        if (bounded == size && isPassThroughJpeg(bytes))
            picture.m_jpeg = bytes;
        return picture;
    }
    // Formats the toolkit does not read (JPEG 2000) go to the PDF engine's codecs.
    picture.m_image = PDFImageDecoder::decodeData(bytes).image;
    const QSize fitted = boundedSize(picture.m_image.size());
    if (!picture.m_image.isNull() && fitted != picture.m_image.size())
        picture.m_image = picture.m_image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (picture.m_image.isNull() && message)
        *message = unreadable();
    return picture;
}
