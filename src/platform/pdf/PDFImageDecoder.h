#pragma once

#include <QByteArray>
#include <QImage>

// Decodes image files through the PDF engine's own codecs, which read JPEG 2000 among others.
namespace PDFImageDecoder {
// The image in `bytes`, decoded at a reduced resolution when it has more than `maxPixels`
// pixels, so a huge file never lives in memory at full size. Null when it cannot be read.
QImage decode(const QByteArray &bytes, qint64 maxPixels);
} // namespace PDFImageDecoder
