#include "PageImageEncoder.h"

#include "Jp2Writer.h"

#include <QBuffer>
#include <QImageWriter>

PageImageEncoder::PageImageEncoder(PageImageFormat::Kind kind, int dpi) : m_kind(kind), m_dpi(dpi) {}

QByteArray PageImageEncoder::encode(const QImage &source)
{
    if (source.isNull())
        return {};
    if (m_kind == PageImageFormat::Jpeg2000)
        return Jp2Writer::encode(source);
    if (m_kind == PageImageFormat::Png)
        return m_png.encode(source, m_dpi);
    // The resolution tag says what the pixels were rendered at, so the image prints at the
    // page's own size.
    QImage image = source;
    const int dotsPerMeter = qRound(m_dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    // Encoded into memory: the codec never meets a disk error, and the bytes are written with
    // every step checked.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, m_kind == PageImageFormat::Jpeg ? "jpeg" : "tiff");
    if (m_kind == PageImageFormat::Jpeg)
        writer.setQuality(100);
    if (m_kind == PageImageFormat::Tiff)
        writer.setCompression(1); // LZW: lossless, and far smaller than raw samples
    return writer.write(image) ? bytes : QByteArray();
}
