#include "PDFImageDecoder.h"

#include "MuPDFContext.h"

#include <QFile>
#include <QTransform>

namespace {

QImage toImage(fz_context *ctx, fz_pixmap *pixmap)
{
    const int width = fz_pixmap_width(ctx, pixmap), height = fz_pixmap_height(ctx, pixmap);
    const bool alpha = fz_pixmap_alpha(ctx, pixmap) != 0;
    QImage image(width, height, alpha ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGB888);
    if (image.isNull())
        return image;
    const unsigned char *samples = fz_pixmap_samples(ctx, pixmap);
    const size_t stride = size_t(fz_pixmap_stride(ctx, pixmap));
    const size_t row = size_t(width) * (alpha ? 4 : 3);
    for (int y = 0; y < height; ++y)
        memcpy(image.scanLine(y), samples + size_t(y) * stride, row);
    return image;
}

// MuPDF's orientation values: 1..4 turn 0, 90, 180, 270 degrees counter-clockwise; 5..8 mirror
// first, then turn the same way.
QImage upright(const QImage &image, int orientation)
{
    if (orientation <= 1 || orientation > 8)
        return image;
    QImage result = orientation >= 5 ? image.mirrored(true, false) : image;
    const int quarterTurns = (orientation - 1) % 4;
    if (quarterTurns == 0)
        return result;
    QTransform turn;
    turn.rotate(-90.0 * quarterTurns); // counter-clockwise on screen, where y grows downwards
    return result.transformed(turn);
}

// Decodes inside fz_try; no object with a destructor lives in the guarded block.
struct ImageFacts {
    int width = 0;
    int height = 0;
    int orientation = 0;
    bool lossy = false;
    bool turned() const { return orientation == 2 || orientation == 4 || orientation == 6 || orientation == 8; }
    QSize uprightSize() const { return turned() ? QSize(height, width) : QSize(width, height); }
};

void readFacts(fz_context *ctx, fz_image *image, ImageFacts *facts)
{
    facts->width = image->w;
    facts->height = image->h;
    facts->orientation = fz_image_orientation(ctx, image);
    const fz_compressed_buffer *compressed = fz_compressed_image_buffer(ctx, image);
    facts->lossy = compressed && (compressed->params.type == FZ_IMAGE_JPEG || compressed->params.type == FZ_IMAGE_JPX);
    if (image->w <= 0 || image->h <= 0 || qint64(image->w) * image->h > PDFImageDecoder::kMaxPixels)
        fz_throw(ctx, FZ_ERROR_GENERIC, "image too large");
}

// Reads the header only (decode = false) or the pixels too, as RGB.
fz_pixmap *decodePixmap(fz_context *ctx, const QByteArray &bytes, QSize bound, bool decode, ImageFacts *facts)
{
    fz_buffer *buffer = nullptr;
    fz_image *image = nullptr;
    fz_pixmap *pixmap = nullptr, *rgb = nullptr;
    fz_var(buffer);
    fz_var(image);
    fz_var(pixmap);
    fz_var(rgb);
    fz_try(ctx)
    {
        buffer = fz_new_buffer_from_shared_data(ctx, reinterpret_cast<const unsigned char *>(bytes.constData()),
                                                size_t(bytes.size()));
        image = fz_new_image_from_buffer(ctx, buffer);
        readFacts(ctx, image, facts);
        if (!decode) {
            // header only
        } else if (bound.isValid()) {
            // The unit square scaled to the wanted size lets the decoder pick a reduced scale.
            QSize wanted = facts->uprightSize().scaled(bound, Qt::KeepAspectRatio);
            if (facts->turned())
                wanted.transpose();
            fz_matrix ctm = fz_scale(float(std::max(1, wanted.width())), float(std::max(1, wanted.height())));
            pixmap = fz_get_pixmap_from_image(ctx, image, nullptr, &ctm, nullptr, nullptr);
        } else {
            pixmap = fz_get_pixmap_from_image(ctx, image, nullptr, nullptr, nullptr, nullptr);
        }
        if (pixmap && (fz_pixmap_colorspace(ctx, pixmap) != fz_device_rgb(ctx) || fz_pixmap_spots(ctx, pixmap) > 0)) {
            rgb = fz_convert_pixmap(ctx, pixmap, fz_device_rgb(ctx), nullptr, nullptr, fz_default_color_params, 1);
            fz_drop_pixmap(ctx, pixmap);
            pixmap = rgb;
            rgb = nullptr;
        }
    }
    fz_always(ctx)
    {
        fz_drop_image(ctx, image);
        fz_drop_buffer(ctx, buffer);
    }
    fz_catch(ctx)
    {
        fz_drop_pixmap(ctx, rgb);
        fz_drop_pixmap(ctx, pixmap);
        pixmap = nullptr;
        facts->width = facts->height = 0;
    }
    return pixmap;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

PDFImageDecoder::Decoded PDFImageDecoder::decode(const QString &path, QSize bound)
{
    return decodeData(readAll(path), bound);
}

PDFImageDecoder::Decoded PDFImageDecoder::decodeData(const QByteArray &bytes, QSize bound)
{
    if (bytes.isEmpty())
        return {};
    // A context of its own: decoding large photos on several workers must not share one lock.
    MuPDF::IndependentContext context;
    fz_context *ctx = context.get();
    if (!ctx)
        return {};
    ImageFacts facts;
    fz_pixmap *pixmap = decodePixmap(ctx, bytes, bound, true, &facts);
    if (!pixmap)
        return {};
    const QImage image = toImage(ctx, pixmap);
    fz_drop_pixmap(ctx, pixmap);
    if (image.isNull())
        return {};
    return {upright(image, facts.orientation), facts.uprightSize(), facts.lossy};
}

QSize PDFImageDecoder::probe(const QString &path)
{
    const QByteArray bytes = readAll(path);
    if (bytes.isEmpty())
        return {};
    fz_context *ctx = MuPDF::context();
    if (!ctx)
        return {};
    ImageFacts facts;
    decodePixmap(ctx, bytes, QSize(), false, &facts);
    return facts.width > 0 ? facts.uprightSize() : QSize();
}
