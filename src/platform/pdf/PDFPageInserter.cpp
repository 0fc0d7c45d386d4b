#include "PDFPageInserter.h"

#include <set>

namespace {

constexpr int kMaxDepth = 64;

bool isLeaf(fz_context *ctx, pdf_obj *node)
{
    return pdf_name_eq(ctx, pdf_dict_get(ctx, node, PDF_NAME(Type)), PDF_NAME(Page))
           || !pdf_is_array(ctx, pdf_dict_get(ctx, node, PDF_NAME(Kids)));
}

// The /Pages node whose /Kids hold the page at `index`, and its place in them. A node is
// entered at most once, so a cycle ends the search.
void locate(fz_context *ctx, pdf_obj *root, int index, pdf_obj **parent, int *slot)
{
    std::set<int> seen;
    pdf_obj *node = root;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        if (pdf_is_indirect(ctx, node) && !seen.insert(pdf_to_num(ctx, node)).second)
            break;
        pdf_obj *kids = pdf_dict_get(ctx, node, PDF_NAME(Kids));
        const int n = pdf_array_len(ctx, kids);
        pdf_obj *next = nullptr;
        for (int i = 0; i < n && !next; ++i) {
            pdf_obj *kid = pdf_array_get(ctx, kids, i);
            if (isLeaf(ctx, kid)) {
                if (index == 0) {
                    *parent = node;
                    *slot = i;
                    return;
                }
                --index;
            } else {
                const int count = pdf_dict_get_int(ctx, kid, PDF_NAME(Count));
                if (index < count)
                    next = kid;
                else
                    index -= count;
            }
        }
        if (!next)
            break;
        node = next;
    }
    fz_throw(ctx, FZ_ERROR_GENERIC, "page not found in the page tree");
}

} // namespace

namespace PDFPageInserter {

void insert(fz_context *ctx, pdf_document *doc, int at, int count, const std::vector<pdf_obj *> &pages)
{
    pdf_obj *root = pdf_dict_get(ctx, pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Root)), PDF_NAME(Pages));
    if (!pdf_is_dict(ctx, root))
        fz_throw(ctx, FZ_ERROR_GENERIC, "no page tree");
    pdf_obj *parent = root;
    int slot = 0;
    if (count > 0 && at >= count) {
        locate(ctx, root, count - 1, &parent, &slot);
        ++slot; // after the last page
    } else if (count > 0) {
        locate(ctx, root, at, &parent, &slot);
    }

    pdf_obj *kids = pdf_dict_get(ctx, parent, PDF_NAME(Kids));
    if (!pdf_is_array(ctx, kids))
        kids = pdf_dict_put_array(ctx, parent, PDF_NAME(Kids), int(pages.size()));
    const int length = pdf_array_len(ctx, kids);
    if (slot >= length) {
        for (pdf_obj *page : pages)
            pdf_array_push(ctx, kids, page);
    } else {
        // Inserting in the middle: one new array instead of shifting the tail once per page.
        pdf_obj *merged = pdf_new_array(ctx, doc, length + int(pages.size()));
        fz_try(ctx)
        {
            for (int i = 0; i < slot; ++i)
                pdf_array_push(ctx, merged, pdf_array_get(ctx, kids, i));
            for (pdf_obj *page : pages)
                pdf_array_push(ctx, merged, page);
            for (int i = slot; i < length; ++i)
                pdf_array_push(ctx, merged, pdf_array_get(ctx, kids, i));
            pdf_dict_put(ctx, parent, PDF_NAME(Kids), merged);
        }
        fz_always(ctx) pdf_drop_obj(ctx, merged);
        fz_catch(ctx) fz_rethrow(ctx);
    }
    for (pdf_obj *page : pages)
        pdf_dict_put(ctx, page, PDF_NAME(Parent), parent);

    std::set<int> seen;
    for (pdf_obj *node = parent; node && seen.size() < size_t(kMaxDepth); node = pdf_dict_get(ctx, node, PDF_NAME(Parent))) {
        if (pdf_is_indirect(ctx, node) && !seen.insert(pdf_to_num(ctx, node)).second)
            break;
        pdf_dict_put_int(ctx, node, PDF_NAME(Count), pdf_dict_get_int(ctx, node, PDF_NAME(Count)) + int(pages.size()));
    }
}

} // namespace PDFPageInserter
