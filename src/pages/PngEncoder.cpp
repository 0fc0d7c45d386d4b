#include "PngEncoder.h"

#include <QtEndian>
#include <cmath>
#include <vector>
#include <zlib.h>

namespace {

constexpr int kDeflateLevel = 2;

void appendChunk(QByteArray &out, const char type[4], const QByteArray &data)
{
    char length[4];
    qToBigEndian<quint32>(quint32(data.size()), length);
    out.append(length, 4);
    const int start = int(out.size());
    out.append(type, 4);
    out.append(data);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(out.constData() + start), uInt(4 + data.size()));
    char crcBytes[4];
    qToBigEndian<quint32>(quint32(crc), crcBytes);
    out.append(crcBytes, 4);
}

QByteArray be32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian<quint32>(value, bytes.data());
    return bytes;
}

// The rows, each behind its filter byte, deflated as one zlib stream.
bool deflateRows(const QImage &image, int bytesPerPixel, QByteArray *out)
{
    z_stream stream{};
    if (deflateInit2(&stream, kDeflateLevel, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    const size_t rowBytes = size_t(image.width()) * size_t(bytesPerPixel);
    std::vector<unsigned char> filtered(rowBytes + 1);
    out->resize(qsizetype(deflateBound(&stream, uLong((rowBytes + 1) * size_t(image.height())))));
    stream.next_out = reinterpret_cast<Bytef *>(out->data());
    stream.avail_out = uInt(out->size());
    bool ok = true;
    for (int y = 0; ok && y < image.height(); ++y) {
        const uchar *row = image.constScanLine(y);
        filtered[0] = y == 0 ? 0 : 2; // None for the first row, Up for the rest
        if (y == 0) {
            memcpy(filtered.data() + 1, row, rowBytes);
        } else {
            const uchar *above = image.constScanLine(y - 1);
            for (size_t i = 0; i < rowBytes; ++i)
                filtered[i + 1] = uchar(row[i] - above[i]);
        }
        stream.next_in = filtered.data();
        stream.avail_in = uInt(filtered.size());
        ok = deflate(&stream, Z_NO_FLUSH) == Z_OK && stream.avail_in == 0;
    }
    ok = ok && deflate(&stream, Z_FINISH) == Z_STREAM_END;
    out->resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return ok;
}

} // namespace

QByteArray PngEncoder::encode(const QImage &source, int dpi)
{
    if (source.isNull())
        return {};
    const bool alpha = source.hasAlphaChannel();
    const QImage image = source.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (image.isNull())
        return {};
    QByteArray idat;
    if (!deflateRows(image, alpha ? 4 : 3, &idat))
        return {};

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header = be32(quint32(image.width())) + be32(quint32(image.height()));
    header.append(char(8));             // bits per sample
    header.append(char(alpha ? 6 : 2)); // RGBA or RGB
    header.append(3, '\0');             // deflate, adaptive filtering, no interlace
    appendChunk(png, "IHDR", header);
    const quint32 perMetre = quint32(std::lround(dpi / 0.0254));
    appendChunk(png, "pHYs", be32(perMetre) + be32(perMetre) + QByteArray(1, char(1)));
    appendChunk(png, "IDAT", idat);
    appendChunk(png, "IEND", {});
    return png;
}
