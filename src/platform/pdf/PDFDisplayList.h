#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSizeF>
#include <memory>

// Lets another thread stop a render that is no longer wanted.
class PDFRenderCookie {
public:
    PDFRenderCookie();
    ~PDFRenderCookie();
    void cancel();
    bool isCancelled() const;

private:
    friend class PDFDisplayList;
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// A page recorded for rendering. It needs no lock on its document, so tiles of one page render
// on several threads at once.
class PDFDisplayList {
public:
    struct Impl;
    ~PDFDisplayList();
    PDFDisplayList(const PDFDisplayList &) = delete;
    PDFDisplayList &operator=(const PDFDisplayList &) = delete;

    static constexpr qint64 kMinimumBytes = 4096;

    // Size of the displayed (rotated) page in points.
    QSizeF size() const { return m_size; }
    // Memory the recording holds, estimated when it was made (at least kMinimumBytes).
    qint64 bytes() const;

    // The most pixels one render may make; a larger request gives a null image.
    static constexpr qint64 kMaxPixels = 64'000'000;

    // Renders the part `clip` (device pixels) of the page drawn at `scale` device pixels per
    // point, onto `background`, as an opaque RGB32 image. A cancelled cookie stops the work
    // early; the result is then null.
    QImage render(double scale, const QRect &clip, PDFRenderCookie *cookie = nullptr,
                  const QColor &background = Qt::white) const;
    // The whole page at the given scale.
    QImage render(double scale) const;

private:
    friend class PDFPage;
    PDFDisplayList(std::unique_ptr<Impl> impl, QSizeF size);
    std::unique_ptr<Impl> m_impl;
    QSizeF m_size;
};
