#include "PDFPageTree.h"

#include <set>

namespace {

void collectPages(fz_context *ctx, pdf_obj *node, std::vector<int> &pages, std::set<int> &seen, int depth)
{
    if (depth > 64)
        return;
    pdf_obj *kids = pdf_dict_get(ctx, node, PDF_NAME(Kids));
    const bool leaf = pdf_name_eq(ctx, pdf_dict_get(ctx, node, PDF_NAME(Type)), PDF_NAME(Page)) || !pdf_is_array(ctx, kids);
    if (leaf) {
        if (pdf_is_indirect(ctx, node) && pdf_is_dict(ctx, node))
            pages.push_back(pdf_to_num(ctx, node));
        return;
    }
    for (int i = 0; i < pdf_array_len(ctx, kids); ++i) {
        pdf_obj *kid = pdf_array_get(ctx, kids, i);
        if (!pdf_is_indirect(ctx, kid) || !seen.insert(pdf_to_num(ctx, kid)).second)
            continue;
        collectPages(ctx, kid, pages, seen, depth + 1);
    }
}

} // namespace

namespace PDFPageTree {

std::vector<int> pageObjects(fz_context *ctx, pdf_document *doc)
{
    std::vector<int> pages;
    std::set<int> seen;
    int claimed = 0;
    fz_try(ctx)
    {
        claimed = pdf_count_pages(ctx, doc);
        pdf_obj *root = pdf_dict_get(ctx, pdf_dict_get(ctx, pdf_trailer(ctx, doc), PDF_NAME(Root)), PDF_NAME(Pages));
        if (pdf_is_indirect(ctx, root))
            seen.insert(pdf_to_num(ctx, root));
        collectPages(ctx, root, pages, seen, 0);
    }
    fz_catch(ctx) pages.clear();
    if (int(pages.size()) > claimed)
        pages.resize(size_t(std::max(claimed, 0)));
    return pages;
}

int pageCount(fz_context *ctx, fz_document *doc)
{
    pdf_document *pdf = pdf_specifics(ctx, doc);
    if (pdf)
        return int(pageObjects(ctx, pdf).size());
    int count = 0;
    fz_try(ctx) count = fz_count_pages(ctx, doc);
    fz_catch(ctx) count = 0;
    return count;
}

fz_document *openForReading(fz_context *ctx, const QByteArray &file, int *count)
{
    fz_document *doc = nullptr;
    bool locked = true;
    fz_try(ctx)
    {
        doc = fz_open_document(ctx, file.constData());
        locked = fz_needs_password(ctx, doc);
    }
    fz_catch(ctx) locked = true;
    if (locked) {
        fz_drop_document(ctx, doc);
        *count = 0;
        return nullptr;
    }
    *count = pageCount(ctx, doc);
    return doc;
}

} // namespace PDFPageTree
