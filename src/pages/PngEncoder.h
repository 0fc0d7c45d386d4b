#pragma once

#include <QByteArray>
#include <QImage>
#include <vector>

struct libdeflate_compressor;

// PNG files of rendered pages, made for speed: rows are stored unfiltered, which suits pages of
// text and line art best, an image without colour as grey, and the rows are deflated in one piece
// by libdeflate, which is about twice as fast as zlib for files of the same size. The encoder
// keeps its buffers and its compressor from one image to the next, so a worker encoding page after
// page allocates nothing large; each thread needs an encoder of its own. The resolution is
// recorded in a pHYs chunk.
class PngEncoder {
public:
    PngEncoder();
    ~PngEncoder();
    PngEncoder(const PngEncoder &) = delete;
    PngEncoder &operator=(const PngEncoder &) = delete;

    // The bytes of a PNG file of `image` (any format; stored as 8-bit grey, RGB or RGBA) tagged
    // `dpi` pixels per inch; empty on failure.
    QByteArray encode(const QImage &image, int dpi);

private:
    libdeflate_compressor *m_compressor;
    std::vector<unsigned char> m_rows;     // the rows, each behind its filter byte
    std::vector<unsigned char> m_deflated; // the zlib stream of the rows
};
