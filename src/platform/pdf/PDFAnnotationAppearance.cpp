#include "PDFAnnotationAppearance.h"

#include "PDFDrawingWriter.h"

namespace PDFAnnotationAppearance {

void refresh(PDFDocumentData &data, int annotation, int page)
{
    fz_context *ctx = MuPDF::context();
    pdf_obj *dict = data.resolve(annotation);
    if (!dict || pdf_dict_gets(ctx, dict, kOwnAppearanceKey))
        return;
    pdf_annot *annot = data.loadedAnnotation(annotation, page);
    if (!annot)
        return;
    fz_try(ctx)
    {
        pdf_dirty_annot(ctx, annot);
        pdf_update_annot(ctx, annot);
    }
    fz_catch(ctx) {}
}

bool install(PDFDocumentData &data, int annotation, const PDFDrawing &drawing)
{
    fz_context *ctx = MuPDF::context();
    pdf_obj *dict = data.resolve(annotation);
    if (!dict || drawing.size.isEmpty())
        return false;
    bool ok = true;
    pdf_obj *form = nullptr;
    fz_try(ctx)
    {
        form = PDFDrawingWriter::addForm(ctx, data, drawing);
        pdf_obj *ap = pdf_dict_put_dict(ctx, dict, PDF_NAME(AP), 1);
        pdf_dict_put(ctx, ap, PDF_NAME(N), form);
        pdf_dict_puts(ctx, dict, kOwnAppearanceKey, PDF_TRUE);
    }
    fz_always(ctx) pdf_drop_obj(ctx, form);
    fz_catch(ctx) ok = false;
    // A loaded page would still draw the old appearance.
    pdf_obj *page = pdf_dict_get(ctx, dict, PDF_NAME(P));
    if (pdf_is_indirect(ctx, page))
        data.annotationListChanged(pdf_to_num(ctx, page));
    return ok;
}

} // namespace PDFAnnotationAppearance
