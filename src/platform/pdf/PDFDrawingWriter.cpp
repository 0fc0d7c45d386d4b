#include "PDFDrawingWriter.h"

#include <QCryptographicHash>
#include <cstdio>

namespace {

// The identity of an image's source: the JPEG bytes as they are stored, or the pixels.
QByteArray digestOf(const PDFDrawing::Image &source)
{
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!source.jpeg.isEmpty()) {
        hash.addData("jpeg");
        hash.addData(source.jpeg);
    } else {
        const QImage &image = source.image;
        const QByteArray shape = QByteArray::number(image.width()) + 'x' + QByteArray::number(image.height())
                                 + '/' + QByteArray::number(int(image.format()));
        hash.addData("pixels " + shape);
        for (int y = 0; y < image.height(); ++y)
            hash.addData(QByteArrayView(reinterpret_cast<const char *>(image.constScanLine(y)),
                                        qsizetype(image.bytesPerLine())));
    }
    return hash.result();
}

// The picture as an engine image, or null when the engine failed. Every conversion of pixels
// happens before the engine is called, so no engine error skips a destructor.
fz_image *makeImage(fz_context *ctx, const PDFDrawing::Image &source)
{
    fz_image *image = nullptr;
    if (!source.jpeg.isEmpty()) {
        // Kept as the JPEG it is: no second lossy pass, and no growth beyond the file's bytes.
        fz_buffer *buffer = nullptr;
        fz_try(ctx)
        {
            buffer = fz_new_buffer_from_copied_data(ctx, reinterpret_cast<const unsigned char *>(source.jpeg.constData()),
                                                    size_t(source.jpeg.size()));
            image = fz_new_image_from_buffer(ctx, buffer);
        }
        fz_always(ctx) fz_drop_buffer(ctx, buffer);
        fz_catch(ctx) image = nullptr;
        return image;
    }
    const bool alpha = source.image.hasAlphaChannel();
    const QImage rgba = alpha ? source.image.convertToFormat(QImage::Format_RGBA8888) : QImage();
    const QImage rgb = (alpha ? rgba : source.image).convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return nullptr;
    const int w = rgb.width(), h = rgb.height();
    fz_pixmap *pixmap = nullptr, *maskPixmap = nullptr;
    fz_image *mask = nullptr;
    fz_try(ctx)
    {
        if (alpha) {
            // The alpha channel becomes the picture's soft mask.
            maskPixmap = fz_new_pixmap(ctx, fz_device_gray(ctx), w, h, nullptr, 0);
            for (int y = 0; y < h; ++y) {
                const uchar *from = rgba.constScanLine(y);
                unsigned char *to = maskPixmap->samples + size_t(y) * size_t(maskPixmap->stride);
                for (int x = 0; x < w; ++x)
                    to[x] = from[4 * x + 3];
            }
            mask = fz_new_image_from_pixmap(ctx, maskPixmap, nullptr);
        }
        pixmap = fz_new_pixmap(ctx, fz_device_rgb(ctx), w, h, nullptr, 0);
        for (int y = 0; y < h; ++y)
            memcpy(pixmap->samples + size_t(y) * size_t(pixmap->stride), rgb.constScanLine(y), size_t(w) * 3);
        image = fz_new_image_from_pixmap(ctx, pixmap, mask);
    }
    fz_always(ctx)
    {
        fz_drop_pixmap(ctx, pixmap);
        fz_drop_pixmap(ctx, maskPixmap);
        fz_drop_image(ctx, mask);
    }
    fz_catch(ctx) image = nullptr;
    return image;
}

bool isImageObject(fz_context *ctx, pdf_obj *object)
{
    return object && pdf_name_eq(ctx, pdf_dict_get(ctx, object, PDF_NAME(Subtype)), PDF_NAME(Image));
}

// The image object for the source: the one added before for the same source, or a new one.
// Null when the engine failed; never raises.
pdf_obj *imageObject(fz_context *ctx, PDFDocumentData &data, const PDFDrawing::Image &source)
{
    const QByteArray digest = digestOf(source);
    const auto known = data.imageObjects.find(digest);
    pdf_obj *object = nullptr;
    if (known != data.imageObjects.end() && isImageObject(ctx, data.resolve(known->second))) {
        fz_try(ctx) object = pdf_new_indirect(ctx, data.doc, known->second, 0);
        fz_catch(ctx) object = nullptr;
        return object;
    }
    fz_image *image = makeImage(ctx, source);
    if (!image)
        return nullptr;
    fz_try(ctx) object = pdf_add_image(ctx, data.doc, image);
    fz_always(ctx) fz_drop_image(ctx, image);
    fz_catch(ctx) object = nullptr;
    if (object)
        data.imageObjects[digest] = pdf_to_num(ctx, object);
    return object;
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

// The map from codes to text that lets readers copy and search what the font shows.
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

// A composite font over the embedded file. Identity-H makes a two-byte code the CID, which is the
// glyph id for TrueType (through the identity CIDToGIDMap) and for a name-keyed CFF program, and
// which a CID-keyed CFF program's charset maps to its glyph.
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

pdf_obj *addResources(fz_context *ctx, PDFDocumentData &data, const PDFDrawing &drawing)
{
    pdf_obj *resources = pdf_new_dict(ctx, data.doc, 1);
    char name[32];
    fz_try(ctx)
    {
        if (!drawing.images.isEmpty()) {
            pdf_obj *xobjects = pdf_dict_put_dict(ctx, resources, PDF_NAME(XObject), drawing.images.size());
            for (int i = 0; i < drawing.images.size(); ++i) {
                pdf_obj *image = imageObject(ctx, data, drawing.images[i]);
                if (!image)
                    fz_throw(ctx, FZ_ERROR_GENERIC, "cannot add image");
                snprintf(name, sizeof name, "Im%d", i);
                pdf_dict_puts_drop(ctx, xobjects, name, image);
            }
        }
        if (!drawing.fonts.isEmpty()) {
            pdf_obj *fonts = pdf_dict_put_dict(ctx, resources, PDF_NAME(Font), drawing.fonts.size());
            for (int i = 0; i < drawing.fonts.size(); ++i) {
                const QByteArray name = "F" + QByteArray::number(i);
                pdf_dict_puts_drop(ctx, fonts, name.constData(), addFont(ctx, data.doc, drawing.fonts[i]));
            }
        }
        if (!drawing.opacities.isEmpty()) {
            pdf_obj *states = pdf_dict_put_dict(ctx, resources, PDF_NAME(ExtGState), drawing.opacities.size());
            for (int i = 0; i < drawing.opacities.size(); ++i) {
                snprintf(name, sizeof name, "Gs%d", i);
                pdf_obj *state = pdf_dict_puts_dict(ctx, states, name, 2);
                pdf_dict_put_real(ctx, state, PDF_NAME(ca), drawing.opacities[i]);
                pdf_dict_put_real(ctx, state, PDF_NAME(CA), drawing.opacities[i]);
            }
        }
    }
    fz_catch(ctx)
    {
        pdf_drop_obj(ctx, resources);
        fz_rethrow(ctx);
    }
    return resources;
}

pdf_obj *addForm(fz_context *ctx, PDFDocumentData &data, const PDFDrawing &drawing)
{
    const fz_rect bbox = fz_make_rect(0, 0, float(drawing.size.width()), float(drawing.size.height()));
    pdf_obj *resources = addResources(ctx, data, drawing);
    fz_buffer *content = nullptr;
    pdf_obj *form = nullptr;
    fz_try(ctx)
    {
        content = fz_new_buffer_from_copied_data(ctx, reinterpret_cast<const unsigned char *>(drawing.content.constData()),
                                                 size_t(drawing.content.size()));
        form = pdf_new_xobject(ctx, data.doc, bbox, fz_identity, resources, content);
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
