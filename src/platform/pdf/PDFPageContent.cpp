// PDFPage::appendContent: kept apart from PDFPage.cpp, which is about reading pages.
#include "PDFDocument.h"
#include "PDFDocumentPrivate.h"
#include "PDFDrawing.h"
#include "PDFDrawingWriter.h"
#include "PDFPage.h"

#include <cstdio>

namespace {

// A dictionary owned by `parent` alone, so that adding to it never changes another page that
// shared the original (resource dictionaries are often shared between pages).
pdf_obj *ownDict(fz_context *ctx, pdf_document *doc, pdf_obj *parent, pdf_obj *key, pdf_obj *original)
{
    pdf_obj *copy = pdf_is_dict(ctx, original) ? pdf_copy_dict(ctx, original) : pdf_new_dict(ctx, doc, 4);
    pdf_dict_put_drop(ctx, parent, key, copy);
    return copy;
}

pdf_obj *addContentStream(fz_context *ctx, pdf_document *doc, const char *text)
{
    fz_buffer *buffer = fz_new_buffer_from_copied_data(ctx, reinterpret_cast<const unsigned char *>(text), strlen(text));
    pdf_obj *stream = nullptr;
    fz_try(ctx) stream = pdf_add_stream(ctx, doc, buffer, nullptr, 0);
    fz_always(ctx) fz_drop_buffer(ctx, buffer);
    fz_catch(ctx) fz_rethrow(ctx);
    return stream;
}

// Puts `form` (a form XObject of `doc`) after the page's own content, in crop-box space.
void attachForm(fz_context *ctx, pdf_document *doc, pdf_obj *page, pdf_obj *form, QPointF cropOrigin)
{
    pdf_obj *contents = nullptr, *opening = nullptr, *closing = nullptr;
    char name[32];
    char tail[160];
    fz_try(ctx)
    {
        pdf_obj *resources = ownDict(ctx, doc, page, PDF_NAME(Resources),
                                     pdf_dict_get_inheritable(ctx, page, PDF_NAME(Resources)));
        pdf_obj *xobjects = ownDict(ctx, doc, resources, PDF_NAME(XObject), pdf_dict_get(ctx, resources, PDF_NAME(XObject)));
        for (int n = 0;; ++n) {
            snprintf(name, sizeof name, "QuirnaDrawing%d", n);
            if (!pdf_dict_gets(ctx, xobjects, name))
                break;
        }
        pdf_dict_puts(ctx, xobjects, name, form);

        // The page's own content runs inside q … Q, so whatever state it leaves does not reach
        // the drawing.
        snprintf(tail, sizeof tail, "Q\nq 1 0 0 1 %g %g cm /%s Do Q\n", cropOrigin.x(), cropOrigin.y(), name);
        opening = addContentStream(ctx, doc, "q\n");
        closing = addContentStream(ctx, doc, tail);
        pdf_obj *old = pdf_dict_get(ctx, page, PDF_NAME(Contents));
        contents = pdf_new_array(ctx, doc, 4);
        pdf_array_push(ctx, contents, opening);
        if (pdf_is_array(ctx, old)) {
            for (int i = 0; i < pdf_array_len(ctx, old); ++i)
                pdf_array_push(ctx, contents, pdf_array_get(ctx, old, i));
        } else if (old) {
            pdf_array_push(ctx, contents, old);
        }
        pdf_array_push(ctx, contents, closing);
        pdf_dict_put(ctx, page, PDF_NAME(Contents), contents);
    }
    fz_always(ctx)
    {
        pdf_drop_obj(ctx, contents);
        pdf_drop_obj(ctx, opening);
        pdf_drop_obj(ctx, closing);
    }
    fz_catch(ctx) fz_rethrow(ctx);
}

// Makes a form under the document lock with `makeForm` (which returns a new reference) and puts
// it after the page's content.
template <typename MakeForm>
bool appendMadeForm(PDFDocumentData &data, int pageObject, QPointF cropOrigin, MakeForm makeForm)
{
    PDFLock lock(data.mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *page = data.resolve(pageObject);
    if (!page)
        return false;
    pdf_obj *form = nullptr;
    bool ok = true;
    fz_try(ctx)
    {
        form = makeForm(ctx);
        attachForm(ctx, data.doc, page, form, cropOrigin);
    }
    fz_always(ctx) pdf_drop_obj(ctx, form);
    fz_catch(ctx) ok = false;
    data.annotationListChanged(pageObject); // a loaded page would still show the old content
    return ok;
}

} // namespace

bool PDFPage::appendContent(const PDFDrawing &drawing)
{
    if (!d || drawing.size.isEmpty())
        return false;
    PDFDocumentData &data = *d;
    return appendMadeForm(data, m_object, bounds(PDFDisplayBox::CropBox).topLeft(),
                          [&](fz_context *ctx) { return PDFDrawingWriter::addForm(ctx, data, drawing); });
}

bool PDFPage::appendForm(int form)
{
    if (!d || form <= 0)
        return false;
    pdf_document *doc = d->doc;
    return appendMadeForm(*d, m_object, bounds(PDFDisplayBox::CropBox).topLeft(), [&](fz_context *ctx) {
        pdf_obj *reference = pdf_new_indirect(ctx, doc, form, 0);
        if (!pdf_is_stream(ctx, reference)) {
            pdf_drop_obj(ctx, reference);
            fz_throw(ctx, FZ_ERROR_GENERIC, "not a form");
        }
        return reference;
    });
}

int PDFDocument::addDrawing(const PDFDrawing &drawing)
{
    if (!d || drawing.size.isEmpty())
        return 0;
    PDFLock lock(d->mutex);
    fz_context *ctx = MuPDF::context();
    pdf_obj *form = nullptr;
    int number = 0;
    fz_try(ctx)
    {
        form = PDFDrawingWriter::addForm(ctx, *d, drawing);
        number = pdf_to_num(ctx, form);
    }
    fz_always(ctx) pdf_drop_obj(ctx, form);
    fz_catch(ctx) number = 0;
    return number;
}
