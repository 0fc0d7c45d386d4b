#pragma once

// Internal to the PDF engine layer.
#include "MuPDFContext.h"
#include "PDFWriteOptions.h"

namespace PDFAtomicWriter {

// Writes `doc` to a temporary file beside `path`, flushes it to disk and renames it over
// `path`. With `protection`, a protected copy is written from a snapshot, so `doc` itself
// never takes on the encryption. False, and `path` untouched, on any failure.
bool write(fz_context *ctx, pdf_document *doc, const QString &path, const PDFWriteOptions *protection);

} // namespace PDFAtomicWriter
