#include "PDFDestinationCodec.h"

#include <cstring>

namespace PDFDestinationCodec {

PDFDestination read(const std::shared_ptr<PDFDocumentData> &data, pdf_obj *dest)
{
    fz_context *ctx = MuPDF::context();
    if (pdf_is_name(ctx, dest) || pdf_is_string(ctx, dest)) {
        pdf_obj *resolved = nullptr;
        fz_try(ctx) resolved = pdf_lookup_dest(ctx, data->doc, dest);
        fz_catch(ctx) resolved = nullptr;
        dest = pdf_is_dict(ctx, resolved) ? pdf_dict_get(ctx, resolved, PDF_NAME(D)) : resolved;
    }
    pdf_obj *pageRef = pdf_array_get(ctx, dest, 0);
    int pageObject = 0;
    if (pdf_is_indirect(ctx, pageRef))
        pageObject = pdf_to_num(ctx, pageRef);
    else if (pdf_is_int(ctx, pageRef)) // some writers put a page number here
        pageObject = data->pageObjectAt(pdf_to_int(ctx, pageRef));
    if (!pageObject || data->indexOfPageObject(pageObject) < 0)
        return {};
    const PDFPage page = PDFDestination::pageFor(data, pageObject);
    const QRectF box = page.bounds(PDFDisplayBox::CropBox);
    QPointF point(box.left(), box.bottom());
    const char *kind = pdf_to_name(ctx, pdf_array_get(ctx, dest, 1));
    pdf_obj *a = pdf_array_get(ctx, dest, 2), *b = pdf_array_get(ctx, dest, 3);
    if (!strcmp(kind, "XYZ")) {
        if (pdf_is_number(ctx, a))
            point.setX(pdf_to_real(ctx, a));
        if (pdf_is_number(ctx, b))
            point.setY(pdf_to_real(ctx, b));
    } else if (!strcmp(kind, "FitH") || !strcmp(kind, "FitBH")) {
        if (pdf_is_number(ctx, a))
            point.setY(pdf_to_real(ctx, a));
    } else if (!strcmp(kind, "FitR")) {
        pdf_obj *top = pdf_array_get(ctx, dest, 5);
        if (pdf_is_number(ctx, a))
            point.setX(pdf_to_real(ctx, a));
        if (pdf_is_number(ctx, top))
            point.setY(pdf_to_real(ctx, top));
    } else {
        point.setY(box.top() + box.height()); // Fit: the top of the page
    }
    return PDFDestination(page, point);
}

PDFDestination readFrom(const std::shared_ptr<PDFDocumentData> &data, pdf_obj *dict)
{
    fz_context *ctx = MuPDF::context();
    pdf_obj *dest = pdf_dict_get(ctx, dict, PDF_NAME(Dest));
    pdf_obj *action = pdf_dict_get(ctx, dict, PDF_NAME(A));
    if (!dest && pdf_name_eq(ctx, pdf_dict_get(ctx, action, PDF_NAME(S)), PDF_NAME(GoTo)))
        dest = pdf_dict_get(ctx, action, PDF_NAME(D));
    return dest ? read(data, dest) : PDFDestination();
}

pdf_obj *make(fz_context *ctx, pdf_document *doc, int pageObject, QPointF point)
{
    pdf_obj *dest = pdf_new_array(ctx, doc, 5);
    fz_try(ctx)
    {
        pdf_array_push_drop(ctx, dest, pdf_new_indirect(ctx, doc, pageObject, 0));
        pdf_array_push(ctx, dest, PDF_NAME(XYZ));
        pdf_array_push_real(ctx, dest, point.x());
        pdf_array_push_real(ctx, dest, point.y());
        pdf_array_push(ctx, dest, PDF_NULL);
    }
    fz_catch(ctx)
    {
        pdf_drop_obj(ctx, dest);
        fz_rethrow(ctx);
    }
    return dest;
}

} // namespace PDFDestinationCodec
