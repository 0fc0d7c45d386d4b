#include "PDFDrawingWriter.h"

namespace {

fz_image *makeImage(fz_context *ctx, const PDFDrawing::Image &source)
{
    if (!source.jpeg.isEmpty()) {
        fz_buffer *buffer = fz_new_buffer_from_copied_data(ctx, reinterpret_cast<const unsigned char *>(source.jpeg.constData()),
                                                           size_t(source.jpeg.size()));
        fz_image *image = nullptr;
        fz_try(ctx) image = fz_new_image_from_buffer(ctx, buffer);
        fz_always(ctx) fz_drop_buffer(ctx, buffer);
        fz_catch(ctx) fz_rethrow(ctx);
        return image;
    }
    const bool alpha = source.image.hasAlphaChannel();
    const QImage rgb = source.image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    fz_pixmap *pixmap = fz_new_pixmap(ctx, fz_device_rgb(ctx), rgb.width(), rgb.height(), nullptr, alpha ? 1 : 0);
    fz_image *image = nullptr;
    fz_try(ctx)
    {
        const int rowBytes = rgb.width() * (alpha ? 4 : 3);
        for (int y = 0; y < rgb.height(); ++y)
            memcpy(pixmap->samples + size_t(y) * size_t(pixmap->stride), rgb.constScanLine(y), size_t(rowBytes));
        image = fz_new_image_from_pixmap(ctx, pixmap, nullptr);
    }
    fz_always(ctx) fz_drop_pixmap(ctx, pixmap);
    fz_catch(ctx) fz_rethrow(ctx);
    return image;
}

} // namespace

namespace PDFDrawingWriter {

pdf_obj *addResources(fz_context *ctx, pdf_document *doc, const PDFDrawing &drawing)
{
    pdf_obj *resources = pdf_new_dict(ctx, doc, 1);
    fz_image *image = nullptr;
    fz_try(ctx)
    {
        if (!drawing.images.isEmpty()) {
            pdf_obj *xobjects = pdf_dict_put_dict(ctx, resources, PDF_NAME(XObject), drawing.images.size());
            for (int i = 0; i < drawing.images.size(); ++i) {
                image = makeImage(ctx, drawing.images[i]);
                const QByteArray name = "Im" + QByteArray::number(i);
                pdf_dict_puts_drop(ctx, xobjects, name.constData(), pdf_add_image(ctx, doc, image));
                fz_drop_image(ctx, image);
                image = nullptr;
            }
        }
        if (!drawing.opacities.isEmpty()) {
            pdf_obj *states = pdf_dict_put_dict(ctx, resources, PDF_NAME(ExtGState), drawing.opacities.size());
            for (int i = 0; i < drawing.opacities.size(); ++i) {
                const QByteArray name = "Gs" + QByteArray::number(i);
                pdf_obj *state = pdf_dict_puts_dict(ctx, states, name.constData(), 2);
                pdf_dict_put_real(ctx, state, PDF_NAME(ca), drawing.opacities[i]);
                pdf_dict_put_real(ctx, state, PDF_NAME(CA), drawing.opacities[i]);
            }
        }
    }
    fz_catch(ctx)
    {
        fz_drop_image(ctx, image);
        pdf_drop_obj(ctx, resources);
        fz_rethrow(ctx);
    }
    return resources;
}

pdf_obj *addForm(fz_context *ctx, pdf_document *doc, const PDFDrawing &drawing)
{
    const fz_rect bbox = fz_make_rect(0, 0, float(drawing.size.width()), float(drawing.size.height()));
    pdf_obj *resources = addResources(ctx, doc, drawing);
    fz_buffer *content = nullptr;
    pdf_obj *form = nullptr;
    fz_try(ctx)
    {
        content = fz_new_buffer_from_copied_data(ctx, reinterpret_cast<const unsigned char *>(drawing.content.constData()),
                                                 size_t(drawing.content.size()));
        form = pdf_new_xobject(ctx, doc, bbox, fz_identity, resources, content);
    }
    fz_always(ctx)
    {
        fz_drop_buffer(ctx, content);
        pdf_drop_obj(ctx, resources);
    }
    fz_catch(ctx) fz_rethrow(ctx);
    return form;
}

} // namespace PDFDrawingWriter
