#include "PDFPageCopier.h"

#include <cstring>

namespace {

int mappedPage(const std::map<int, int> *pageMap, int object)
{
    if (!pageMap)
        return 0;
    auto it = pageMap->find(object);
    return it == pageMap->end() ? 0 : it->second;
}

// A value of the source as a value of the destination (a new reference, to be dropped).
pdf_obj *transfer(fz_context *ctx, pdf_obj *value, pdf_graft_map *map)
{
    return map ? pdf_graft_mapped_object(ctx, map, value) : pdf_keep_obj(ctx, value);
}

pdf_obj *copyStream(fz_context *ctx, pdf_document *dst, pdf_obj *stream)
{
    fz_buffer *raw = pdf_load_raw_stream(ctx, stream);
    pdf_obj *dict = nullptr;
    pdf_obj *ref = nullptr;
    fz_try(ctx)
    {
        dict = pdf_copy_dict(ctx, stream);
        pdf_dict_del(ctx, dict, PDF_NAME(Length));
        ref = pdf_add_stream(ctx, dst, raw, dict, 1);
    }
    fz_always(ctx)
    {
        pdf_drop_obj(ctx, dict);
        fz_drop_buffer(ctx, raw);
    }
    fz_catch(ctx) fz_rethrow(ctx);
    return ref;
}

// An appearance dictionary is /AP, then /N /R /D, then their states: nothing real is deeper.
constexpr int kMaxAppearanceDepth = 4;

// Appearances are replaced as a whole when an annotation changes, but a copy must never share
// a stream with its original, so within one document the streams are duplicated. A damaged
// file's dictionaries may refer to themselves: below the depth any real appearance has, what is
// there is shared rather than followed.
pdf_obj *copyAppearance(fz_context *ctx, pdf_document *dst, pdf_obj *value, pdf_graft_map *map, int depth = 0)
{
    if (map)
        return pdf_graft_mapped_object(ctx, map, value);
    if (pdf_is_stream(ctx, value))
        return copyStream(ctx, dst, value);
    if (!pdf_is_dict(ctx, value) || depth >= kMaxAppearanceDepth)
        return pdf_keep_obj(ctx, value);
    const int n = pdf_dict_len(ctx, value);
    pdf_obj *copy = pdf_new_dict(ctx, dst, n);
    fz_try(ctx) for (int i = 0; i < n; ++i)
        pdf_dict_put_drop(ctx, copy, pdf_dict_get_key(ctx, value, i),
                          copyAppearance(ctx, dst, pdf_dict_get_val(ctx, value, i), map, depth + 1));
    fz_catch(ctx)
    {
        pdf_drop_obj(ctx, copy);
        fz_rethrow(ctx);
    }
    return copy;
}

// An explicit destination array re-targeted to the copied page; null when its page is not
// known in the destination document.
pdf_obj *copyDestination(fz_context *ctx, pdf_document *dst, pdf_obj *dest, pdf_graft_map *map,
                         const std::map<int, int> *pageMap)
{
    if (!pdf_is_array(ctx, dest) || !pdf_is_indirect(ctx, pdf_array_get(ctx, dest, 0)))
        return transfer(ctx, dest, map);
    const int target = mappedPage(pageMap, pdf_to_num(ctx, pdf_array_get(ctx, dest, 0)));
    if (!target)
        return map ? nullptr : pdf_keep_obj(ctx, dest);
    const int n = pdf_array_len(ctx, dest);
    pdf_obj *copy = pdf_new_array(ctx, dst, n);
    fz_try(ctx)
    {
        pdf_array_push_drop(ctx, copy, pdf_new_indirect(ctx, dst, target, 0));
        for (int i = 1; i < n; ++i)
            pdf_array_push_drop(ctx, copy, transfer(ctx, pdf_array_get(ctx, dest, i), map));
    }
    fz_catch(ctx)
    {
        pdf_drop_obj(ctx, copy);
        fz_rethrow(ctx);
    }
    return copy;
}

pdf_obj *copyAction(fz_context *ctx, pdf_document *dst, pdf_obj *action, pdf_graft_map *map,
                    const std::map<int, int> *pageMap)
{
    pdf_obj *d = pdf_dict_get(ctx, action, PDF_NAME(D));
    if (!pdf_name_eq(ctx, pdf_dict_get(ctx, action, PDF_NAME(S)), PDF_NAME(GoTo)) || !d)
        return transfer(ctx, action, map);
    pdf_obj *dest = copyDestination(ctx, dst, d, map, pageMap);
    if (!dest)
        return nullptr;
    pdf_obj *copy = pdf_new_dict(ctx, dst, 2);
    fz_try(ctx)
    {
        pdf_dict_put(ctx, copy, PDF_NAME(S), PDF_NAME(GoTo));
        pdf_dict_put(ctx, copy, PDF_NAME(D), dest);
    }
    fz_always(ctx) pdf_drop_obj(ctx, dest);
    fz_catch(ctx)
    {
        pdf_drop_obj(ctx, copy);
        fz_rethrow(ctx);
    }
    return copy;
}

} // namespace

namespace PDFPageCopier {

pdf_obj *copyPage(fz_context *ctx, pdf_document *dst, pdf_obj *srcPage, pdf_graft_map *map)
{
    static pdf_obj *const inherited[] = {PDF_NAME(Resources), PDF_NAME(MediaBox), PDF_NAME(CropBox),
                                         PDF_NAME(Rotate)};
    static pdf_obj *const own[] = {PDF_NAME(Contents), PDF_NAME(BleedBox), PDF_NAME(TrimBox),
                                   PDF_NAME(ArtBox), PDF_NAME(UserUnit), PDF_NAME(Group)};
    pdf_obj *page = pdf_new_dict(ctx, dst, 10);
    pdf_obj *ref = nullptr;
    fz_try(ctx)
    {
        pdf_dict_put(ctx, page, PDF_NAME(Type), PDF_NAME(Page));
        for (pdf_obj *key : inherited) {
            pdf_obj *value = pdf_dict_get_inheritable(ctx, srcPage, key);
            if (value)
                pdf_dict_put_drop(ctx, page, key, transfer(ctx, value, map));
        }
        for (pdf_obj *key : own) {
            pdf_obj *value = pdf_dict_get(ctx, srcPage, key);
            if (value)
                pdf_dict_put_drop(ctx, page, key, transfer(ctx, value, map));
        }
        ref = pdf_add_object(ctx, dst, page);
    }
    fz_always(ctx) pdf_drop_obj(ctx, page);
    fz_catch(ctx) fz_rethrow(ctx);
    return ref;
}

pdf_obj *copyAnnotation(fz_context *ctx, pdf_document *dst, pdf_obj *annot, pdf_graft_map *map,
                        const std::map<int, int> *pageMap)
{
    const int n = pdf_dict_len(ctx, annot);
    pdf_obj *copy = pdf_new_dict(ctx, dst, n);
    pdf_obj *ref = nullptr;
    fz_try(ctx)
    {
        for (int i = 0; i < n; ++i) {
            pdf_obj *key = pdf_dict_get_key(ctx, annot, i);
            pdf_obj *value = pdf_dict_get_val(ctx, annot, i);
            pdf_obj *copied = nullptr;
            if (pdf_name_eq(ctx, key, PDF_NAME(P)) || pdf_name_eq(ctx, key, PDF_NAME(Popup))
                || pdf_name_eq(ctx, key, PDF_NAME(Parent)) || pdf_name_eq(ctx, key, PDF_NAME(IRT))
                || !strcmp(pdf_to_name(ctx, key), "NM"))
                continue;
            if (pdf_name_eq(ctx, key, PDF_NAME(AP)))
                copied = copyAppearance(ctx, dst, value, map);
            else if (pdf_name_eq(ctx, key, PDF_NAME(Dest)))
                copied = copyDestination(ctx, dst, value, map, pageMap);
            else if (pdf_name_eq(ctx, key, PDF_NAME(A)))
                copied = copyAction(ctx, dst, value, map, pageMap);
            else
                copied = transfer(ctx, value, map);
            if (copied)
                pdf_dict_put_drop(ctx, copy, key, copied);
        }
        ref = pdf_add_object(ctx, dst, copy);
    }
    fz_always(ctx) pdf_drop_obj(ctx, copy);
    fz_catch(ctx) fz_rethrow(ctx);
    return ref;
}

void copyAnnotations(fz_context *ctx, pdf_document *dst, pdf_obj *srcPage, pdf_obj *dstPageRef,
                     pdf_graft_map *map, const std::map<int, int> *pageMap)
{
    pdf_obj *annots = pdf_dict_get(ctx, srcPage, PDF_NAME(Annots));
    const int n = pdf_array_len(ctx, annots);
    if (n == 0)
        return;
    pdf_obj *copies = pdf_dict_put_array(ctx, dstPageRef, PDF_NAME(Annots), n);
    for (int i = 0; i < n; ++i) {
        pdf_obj *annot = pdf_array_get(ctx, annots, i);
        if (!pdf_is_dict(ctx, annot) || pdf_name_eq(ctx, pdf_dict_get(ctx, annot, PDF_NAME(Subtype)), PDF_NAME(Popup)))
            continue;
        pdf_obj *copy = copyAnnotation(ctx, dst, annot, map, pageMap);
        pdf_dict_put(ctx, copy, PDF_NAME(P), dstPageRef);
        pdf_array_push_drop(ctx, copies, copy);
    }
}

} // namespace PDFPageCopier
