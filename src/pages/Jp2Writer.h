#pragma once

#include <QImage>
#include <QString>

// JPEG 2000 (JP2 container) encoding through OpenJPEG, lossless (the reversible wavelet with no
// rate limit), since exports are made at the highest quality.
class Jp2Writer {
public:
    static bool write(const QImage &image, const QString &path);
};
