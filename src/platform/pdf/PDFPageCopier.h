#pragma once

// Internal to the PDF engine layer: copying pages and annotations within and between documents.
#include "MuPDFContext.h"

#include <map>

namespace PDFPageCopier {

// The functions below raise MuPDF errors: call them inside fz_try.

// A new page object in `dst` with the content, resources, boxes and rotation of `srcPage`
// (inherited values made explicit) and no annotations. `map` is null when src == dst.
pdf_obj *copyPage(fz_context *ctx, pdf_document *dst, pdf_obj *srcPage, pdf_graft_map *map);

// Copies the annotations of `srcPage` onto `dstPageRef`. Destinations that name a page in
// `pageMap` (source page object → destination page object) are re-targeted; other page
// destinations survive only within one document.
void copyAnnotations(fz_context *ctx, pdf_document *dst, pdf_obj *srcPage, pdf_obj *dstPageRef,
                     pdf_graft_map *map, const std::map<int, int> *pageMap);

// A copy of one annotation dictionary as a new indirect object of `dst`, on no page.
pdf_obj *copyAnnotation(fz_context *ctx, pdf_document *dst, pdf_obj *annot, pdf_graft_map *map,
                        const std::map<int, int> *pageMap);

} // namespace PDFPageCopier
