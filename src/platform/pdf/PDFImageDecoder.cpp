#include "PDFImageDecoder.h"

#include "MuPDFContext.h"

#include <cmath>

namespace {

QImage toQImage(fz_context *ctx, fz_pixmap *pixmap)
{
    const int w = fz_pixmap_width(ctx, pixmap);
    const int h = fz_pixmap_height(ctx, pixmap);
    const bool alpha = fz_pixmap_alpha(ctx, pixmap);
    // The engine's pixels with alpha are premultiplied.
    QImage image(w, h, alpha ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGB888);
    if (image.isNull())
        return {};
    const size_t rowBytes = size_t(w) * (alpha ? 4 : 3);
    const unsigned char *samples = fz_pixmap_samples(ctx, pixmap);
    const size_t stride = size_t(fz_pixmap_stride(ctx, pixmap));
    for (int y = 0; y < h; ++y)
        memcpy(image.scanLine(y), samples + size_t(y) * stride, rowBytes);
    return image;
}

} // namespace

namespace PDFImageDecoder {

QImage decode(const QByteArray &bytes, qint64 maxPixels)
{
    if (bytes.isEmpty() || maxPixels <= 0)
        return {};
    fz_context *ctx = MuPDF::context();
    fz_buffer *buffer = nullptr;
    fz_image *image = nullptr;
    fz_pixmap *pixmap = nullptr;
    fz_pixmap *rgb = nullptr;
    QSize target;
    fz_try(ctx)
    {
        buffer = fz_new_buffer_from_copied_data(ctx, reinterpret_cast<const unsigned char *>(bytes.constData()),
                                                size_t(bytes.size()));
        image = fz_new_image_from_buffer(ctx, buffer);
        const double pixels = double(image->w) * double(image->h);
        const double scale = pixels > double(maxPixels) ? std::sqrt(double(maxPixels) / pixels) : 1.0;
        target = QSize(std::max(1, int(image->w * scale)), std::max(1, int(image->h * scale)));
        // Asking for the target size lets the codec decode at a reduced resolution.
        fz_matrix ctm = fz_scale(float(target.width()), float(target.height()));
        int w = target.width(), h = target.height();
        pixmap = fz_get_pixmap_from_image(ctx, image, nullptr, &ctm, &w, &h);
        if (fz_pixmap_colorspace(ctx, pixmap) != fz_device_rgb(ctx)) {
            rgb = fz_convert_pixmap(ctx, pixmap, fz_device_rgb(ctx), nullptr, nullptr, fz_default_color_params, 1);
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
        pixmap = rgb = nullptr;
    }
    if (!pixmap)
        return {};
    QImage result = toQImage(ctx, rgb ? rgb : pixmap);
    fz_drop_pixmap(ctx, rgb);
    fz_drop_pixmap(ctx, pixmap);
    if (!result.isNull() && qint64(result.width()) * result.height() > maxPixels)
        result = result.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return result;
}

} // namespace PDFImageDecoder
