#pragma once

// Internal to the PDF engine layer: destinations to and from their PDF form.
#include "PDFDestination.h"
#include "PDFDocumentPrivate.h"

namespace PDFDestinationCodec {

// The destination of an explicit or named destination object; null when it leads nowhere.
PDFDestination read(const std::shared_ptr<PDFDocumentData> &data, pdf_obj *dest);
// The destination of an item with /Dest or a /GoTo action under /A.
PDFDestination readFrom(const std::shared_ptr<PDFDocumentData> &data, pdf_obj *dict);
// A new [page /XYZ x y null] array (raises MuPDF errors).
pdf_obj *make(fz_context *ctx, pdf_document *doc, int pageObject, QPointF point);

} // namespace PDFDestinationCodec
