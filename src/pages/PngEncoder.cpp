#include "PngEncoder.h"

#include <QtEndian>
#include <cmath>
#include <cstring>
#include <libdeflate.h>

namespace {

// libdeflate's level 4 writes rendered pages a little smaller than zlib's default level does, in
// under half its time; higher levels cost more time than they save bytes.
constexpr int kDeflateLevel = 4;

void appendBE32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToBigEndian<quint32>(value, bytes);
    out.append(bytes, 4);
}

void appendChunk(QByteArray &out, const char type[4], const unsigned char *data, size_t size)
{
    appendBE32(out, quint32(size));
    const qsizetype start = out.size();
    out.append(type, 4);
    if (size > 0)
        out.append(reinterpret_cast<const char *>(data), qsizetype(size));
    appendBE32(out, libdeflate_crc32(0, out.constData() + start, size + 4));
}

// True when every pixel of an RGB888 image has equal red, green and blue.
bool isGrey(const QImage &image)
{
    const size_t samples = size_t(image.width()) * 3;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *p = image.constScanLine(y);
        bool grey = true;
        for (size_t i = 0; i < samples; i += 3) // no early exit inside a row: this loop vectorises
            grey &= (p[i] == p[i + 1]) & (p[i + 1] == p[i + 2]);
        if (!grey)
            return false;
    }
    return true;
}

} // namespace

PngEncoder::PngEncoder() : m_compressor(libdeflate_alloc_compressor(kDeflateLevel)) {}

PngEncoder::~PngEncoder() { libdeflate_free_compressor(m_compressor); }

QByteArray PngEncoder::encode(const QImage &source, int dpi)
{
    if (source.isNull() || !m_compressor)
        return {};
    const bool alpha = source.hasAlphaChannel();
    const QImage::Format stored = alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
    // Rendered pages come in the stored layout already, and are read where they lie.
    const QImage image = source.format() == stored ? source : source.convertToFormat(stored);
    if (image.isNull())
        return {};
    // A page without colour (most pages of text) is stored as grey: the same pixels in a third
    // of the samples, which also takes a third of the time to deflate.
    const bool grey = !alpha && isGrey(image);
    const int channels = grey ? 1 : alpha ? 4 : 3;
    const size_t rowBytes = size_t(image.width()) * size_t(channels);
    const size_t rowsBytes = (rowBytes + 1) * size_t(image.height());
    // Buffers kept from a much larger image go back rather than wait for pages that may never come.
    if (m_rows.capacity() > 2 * rowsBytes) {
        std::vector<unsigned char>().swap(m_rows);
        std::vector<unsigned char>().swap(m_deflated);
    }
    try {
        m_rows.resize(rowsBytes);
        m_deflated.resize(libdeflate_zlib_compress_bound(m_compressor, rowsBytes));
    } catch (const std::bad_alloc &) {
        return {};
    }
    unsigned char *row = m_rows.data();
    for (int y = 0; y < image.height(); ++y, row += rowBytes + 1) {
        row[0] = 0; // filter: none
        const uchar *pixels = image.constScanLine(y);
        if (grey) {
            for (size_t x = 0; x < rowBytes; ++x)
                row[1 + x] = pixels[3 * x];
        } else {
            memcpy(row + 1, pixels, rowBytes);
        }
    }
    const size_t deflated = libdeflate_zlib_compress(m_compressor, m_rows.data(), rowsBytes, m_deflated.data(),
                                                     m_deflated.size());
    if (deflated == 0)
        return {};

    static const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    unsigned char header[13];
    qToBigEndian<quint32>(quint32(image.width()), header);
    qToBigEndian<quint32>(quint32(image.height()), header + 4);
    header[8] = 8;                            // bits per sample
    header[9] = grey ? 0 : alpha ? 6 : 2;     // grey, RGBA or RGB
    header[10] = header[11] = header[12] = 0; // deflate, adaptive filtering, no interlace
    unsigned char density[9];
    const quint32 perMetre = quint32(std::lround(dpi / 0.0254));
    qToBigEndian<quint32>(perMetre, density);
    qToBigEndian<quint32>(perMetre, density + 4);
    density[8] = 1; // the unit is the metre

    QByteArray png;
    png.reserve(qsizetype(sizeof signature + 25 + 21 + 12 + deflated + 12));
    png.append(reinterpret_cast<const char *>(signature), sizeof signature);
    appendChunk(png, "IHDR", header, sizeof header);
    appendChunk(png, "pHYs", density, sizeof density);
    appendChunk(png, "IDAT", m_deflated.data(), deflated);
    appendChunk(png, "IEND", nullptr, 0);
    return png;
}
