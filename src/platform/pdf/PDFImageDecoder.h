#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Image files read by the PDF engine's own decoders: PNG (any depth), JPEG (grey, RGB, CMYK),
// TIFF (its first page), BMP, JPEG 2000 and the other formats the engine knows. Decoding never
// prints anything; a file that cannot be read gives a null image. Safe on any thread.
class PDFImageDecoder {
public:
    struct Decoded {
        QImage image;    // upright; RGB888, or premultiplied RGBA8888 with the file's transparency
        QSize fullSize;  // the upright size of the whole image in pixels
        bool lossy = false; // stored as JPEG or JPEG 2000: a photograph, best kept lossy
    };

    // Images above this many pixels are refused rather than decoded into gigabytes.
    static constexpr qint64 kMaxPixels = 150'000'000;

    // The image at `path`, turned upright by its orientation tag. With a valid `bound`, formats
    // that can decode at a reduced scale (JPEG) do so, down to the smallest scale that still
    // covers `bound`: much faster than decoding the whole image, which the caller then scales.
    static Decoded decode(const QString &path, QSize bound = QSize());
    // The same for an image file already read into memory.
    static Decoded decodeData(const QByteArray &bytes, QSize bound = QSize());
    // The upright size of the image at `path` from its header alone; invalid when the file is
    // not an image the engine reads or is too large.
    static QSize probe(const QString &path);
};
