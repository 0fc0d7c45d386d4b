#pragma once

// Internal to the PDF engine layer.
#include "MuPDFContext.h"

#include <QString>

// Writes a document as an incremental update: the bytes it was read from, then only the
// objects changed since, in an empty file at `stagedPath`. Afterwards the document reads its
// unchanged objects from that file, whose bytes are the base of the next update (the engine
// now counts the appended update as part of the file). False on failure; the document must
// then be rewritten whole from now on, since the engine's view of its base may be off.
namespace PDFUpdateAppender {

bool canAppend(fz_context *ctx, pdf_document *doc);
bool append(fz_context *ctx, pdf_document *doc, const QString &stagedPath);

} // namespace PDFUpdateAppender
