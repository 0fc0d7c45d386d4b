#pragma once

#include "PageImageFormat.h"
#include "PngEncoder.h"

#include <QByteArray>
#include <QImage>

// Encodes rendered pages as image files of one format at the highest quality it offers, tagged
// with the resolution they were rendered at (PNG, JPEG, TIFF). It keeps its scratch buffers from
// one page to the next, so a worker that encodes many pages has one of its own.
class PageImageEncoder {
public:
    PageImageEncoder(PageImageFormat::Kind kind, int dpi);

    // The image file's bytes; empty when encoding fails.
    QByteArray encode(const QImage &image);

private:
    PageImageFormat::Kind m_kind;
    int m_dpi;
    PngEncoder m_png;
};
