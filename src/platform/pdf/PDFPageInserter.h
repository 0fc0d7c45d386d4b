#pragma once

// Internal to the PDF engine layer.
#include "MuPDFContext.h"

#include <vector>

// Puts a run of page objects into a document's page tree at one position, in one pass: the
// tree is walked once to find the place, the pages go into one /Kids array and the counts above
// it grow once. Inserting n pages costs n plus the length of that array, where inserting them one
// by one walks the tree for each. Raises on failure.
namespace PDFPageInserter {

// `pages` are indirect page objects of `doc` that are in no page tree; `count` is the number of
// pages the tree has now, `at` a position from 0 to `count`.
void insert(fz_context *ctx, pdf_document *doc, int at, int count, const std::vector<pdf_obj *> &pages);

} // namespace PDFPageInserter
