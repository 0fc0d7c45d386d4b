#pragma once

// Internal to the PDF engine layer: the pages a document really has.
#include "MuPDFContext.h"

#include <vector>

namespace PDFPageTree {

// The object numbers of the page tree's leaves, in order. A damaged tree may claim any /Count
// and contain cycles: only pages that are there are listed, each node visited once, and never
// more than the engine itself can load. Empty on failure; never raises.
std::vector<int> pageObjects(fz_context *ctx, pdf_document *doc);
// The number of pages of any opened document, by the same rule for PDFs.
int pageCount(fz_context *ctx, fz_document *doc);
// Opens a file for the bulk workers, each on an engine instance of its own; nullptr when it
// cannot be opened or needs a password. *count gets its real page count. Never raises.
fz_document *openForReading(fz_context *ctx, const QByteArray &file, int *count);

} // namespace PDFPageTree
