#pragma once

#include "platform/pdf/PDFDrawing.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// A picture to be placed on a page (picture, image stamp, image signature): the decoded image
// and, when the file is a baseline JPEG shown at its own size, the file's bytes, which the page
// keeps as they are instead of compressing the pixels again.
class PFPicture {
public:
    // Pictures above this many pixels are scaled down to it when they are read.
    static constexpr qint64 kMaxPixels = 25'000'000;

    PFPicture() = default;
    explicit PFPicture(const QImage &image) : m_image(image) {}

    // Reads an image file by its content, whatever its name says. On failure the result is
    // null and `message` says why, for the user.
    static PFPicture fromFile(const QString &path, QString *message = nullptr);
    static PFPicture fromData(const QByteArray &bytes, QString *message = nullptr);

    bool isNull() const { return m_image.isNull(); }
    const QImage &image() const { return m_image; }
    const QByteArray &jpeg() const { return m_jpeg; }
    // How the picture enters an appearance drawing.
    PDFDrawing::Image drawingImage() const { return {m_image, m_jpeg}; }

    // True for a JPEG whose bytes a PDF reader shows as they are: baseline, grey or RGB.
    static bool isPassThroughJpeg(const QByteArray &bytes);

private:
    QImage m_image;
    QByteArray m_jpeg;
};
