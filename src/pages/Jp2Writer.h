#pragma once

#include <QImage>
#include <QString>

// JPEG 2000 (JP2 container) encoding through OpenJPEG, lossless (the reversible wavelet with no
// rate limit), since exports are made at the highest quality.
class Jp2Writer {
public:
    // The bytes of a JP2 file; empty when encoding fails.
    static QByteArray encode(const QImage &image);
};
