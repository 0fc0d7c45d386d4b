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

pdf_obj *addBytesStream(fz_context *ctx, pdf_document *doc, const QByteArray &bytes, pdf_obj *dict)
{
    fz_buffer *buffer = fz_new_buffer_from_copied_data(ctx, reinterpret_cast<const unsigned char *>(bytes.constData()),
                                                       size_t(bytes.size()));
    pdf_obj *stream = nullptr;
    fz_try(ctx) stream = pdf_add_stream(ctx, doc, buffer, dict, 0);
    fz_always(ctx) fz_drop_buffer(ctx, buffer);
    fz_catch(ctx) fz_rethrow(ctx);
    return stream;
}

QByteArray hex16(quint32 value) { return QByteArray::number(value, 16).rightJustified(4, '0').toUpper(); }

// The map from glyph ids to text that lets readers copy and search what the font shows.
QByteArray toUnicodeCMap(const QMap<quint32, QString> &text)
{
    QByteArray cmap = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    const QList<quint32> glyphs = text.keys();
    for (qsizetype start = 0; start < glyphs.size(); start += 100) { // at most 100 entries a block
        const qsizetype end = std::min<qsizetype>(start + 100, glyphs.size());
        cmap += QByteArray::number(end - start) + " beginbfchar\n";
        for (qsizetype i = start; i < end; ++i) {
            QByteArray units;
            for (const QChar unit : text.value(glyphs[i]))
                units += hex16(unit.unicode());
            cmap += '<' + hex16(glyphs[i]) + "> <" + units + ">\n";
        }
        cmap += "endbfchar\n";
    }
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return cmap;
}

// A composite font (Identity-H, so a two-byte code is a glyph id) over the embedded file.
pdf_obj *addFont(fz_context *ctx, pdf_document *doc, const PDFDrawing::Font &font)
{
    pdf_obj *fileDict = nullptr, *file = nullptr, *descriptor = nullptr, *descendant = nullptr, *cmap = nullptr;
    pdf_obj *result = nullptr;
    fz_var(fileDict);
    fz_var(file);
    fz_var(descriptor);
    fz_var(descendant);
    fz_var(cmap);
    const QByteArray cmapText = toUnicodeCMap(font.text);
    fz_try(ctx)
    {
        fileDict = pdf_new_dict(ctx, doc, 1);
        if (font.cff)
            pdf_dict_put(ctx, fileDict, PDF_NAME(Subtype), PDF_NAME(CIDFontType0C));
        file = addBytesStream(ctx, doc, font.file, fileDict);

        pdf_obj *d = pdf_new_dict(ctx, doc, 10);
        descriptor = pdf_add_object_drop(ctx, doc, d);
        pdf_dict_put(ctx, descriptor, PDF_NAME(Type), PDF_NAME(FontDescriptor));
        pdf_dict_put_name(ctx, descriptor, PDF_NAME(FontName), font.name.constData());
        pdf_dict_put_int(ctx, descriptor, PDF_NAME(Flags), 4); // symbolic: glyphs are addressed by id
        pdf_dict_put_rect(ctx, descriptor, PDF_NAME(FontBBox),
                          fz_make_rect(float(font.bbox.left()), float(font.bbox.top()), float(font.bbox.right()),
                                       float(font.bbox.bottom())));
        pdf_dict_put_int(ctx, descriptor, PDF_NAME(ItalicAngle), 0);
        pdf_dict_put_real(ctx, descriptor, PDF_NAME(Ascent), font.ascent);
        pdf_dict_put_real(ctx, descriptor, PDF_NAME(Descent), font.descent);
        pdf_dict_put_real(ctx, descriptor, PDF_NAME(CapHeight), font.ascent);
        pdf_dict_put_int(ctx, descriptor, PDF_NAME(StemV), 80);
        pdf_dict_put(ctx, descriptor, font.cff ? PDF_NAME(FontFile3) : PDF_NAME(FontFile2), file);

        d = pdf_new_dict(ctx, doc, 8);
        descendant = pdf_add_object_drop(ctx, doc, d);
        pdf_dict_put(ctx, descendant, PDF_NAME(Type), PDF_NAME(Font));
        pdf_dict_put(ctx, descendant, PDF_NAME(Subtype), font.cff ? PDF_NAME(CIDFontType0) : PDF_NAME(CIDFontType2));
        pdf_dict_put_name(ctx, descendant, PDF_NAME(BaseFont), font.name.constData());
        pdf_obj *info = pdf_dict_put_dict(ctx, descendant, PDF_NAME(CIDSystemInfo), 3);
        pdf_dict_put_string(ctx, info, PDF_NAME(Registry), "Adobe", 5);
        pdf_dict_put_string(ctx, info, PDF_NAME(Ordering), "Identity", 8);
        pdf_dict_put_int(ctx, info, PDF_NAME(Supplement), 0);
        pdf_dict_put(ctx, descendant, PDF_NAME(FontDescriptor), descriptor);
        if (!font.cff)
            pdf_dict_put(ctx, descendant, PDF_NAME(CIDToGIDMap), PDF_NAME(Identity));
        pdf_obj *widths = pdf_dict_put_array(ctx, descendant, PDF_NAME(W), font.widths.size() * 2);
        for (auto it = font.widths.cbegin(); it != font.widths.cend(); ++it) {
            pdf_array_push_int(ctx, widths, it.key());
            pdf_obj *one = pdf_array_push_array(ctx, widths, 1);
            pdf_array_push_real(ctx, one, it.value());
        }

        cmap = addBytesStream(ctx, doc, cmapText, nullptr);
        d = pdf_new_dict(ctx, doc, 6);
        result = pdf_add_object_drop(ctx, doc, d);
        pdf_dict_put(ctx, result, PDF_NAME(Type), PDF_NAME(Font));
        pdf_dict_put(ctx, result, PDF_NAME(Subtype), PDF_NAME(Type0));
        pdf_dict_put_name(ctx, result, PDF_NAME(BaseFont), font.name.constData());
        pdf_dict_put(ctx, result, PDF_NAME(Encoding), PDF_NAME(Identity_H));
        pdf_array_push(ctx, pdf_dict_put_array(ctx, result, PDF_NAME(DescendantFonts), 1), descendant);
        pdf_dict_put(ctx, result, PDF_NAME(ToUnicode), cmap);
    }
    fz_always(ctx)
    {
        pdf_drop_obj(ctx, fileDict);
        pdf_drop_obj(ctx, file);
        pdf_drop_obj(ctx, descriptor);
        pdf_drop_obj(ctx, descendant);
        pdf_drop_obj(ctx, cmap);
    }
    fz_catch(ctx)
    {
        pdf_drop_obj(ctx, result);
        fz_rethrow(ctx);
    }
    return result;
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
        if (!drawing.fonts.isEmpty()) {
            pdf_obj *fonts = pdf_dict_put_dict(ctx, resources, PDF_NAME(Font), drawing.fonts.size());
            for (int i = 0; i < drawing.fonts.size(); ++i) {
                const QByteArray name = "F" + QByteArray::number(i);
                pdf_dict_puts_drop(ctx, fonts, name.constData(), addFont(ctx, doc, drawing.fonts[i]));
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
