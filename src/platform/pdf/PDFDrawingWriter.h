#pragma once

// Internal to the PDF engine layer: turns a PDFDrawing into a form XObject of a document.
#include "MuPDFContext.h"
#include "PDFDocumentPrivate.h"
#include "PDFDrawing.h"

namespace PDFDrawingWriter {
// A new resources dictionary holding the drawing's images (raises MuPDF errors). An image the
// document already got from an earlier drawing is shared, not added again.
pdf_obj *addResources(fz_context *ctx, PDFDocumentData &data, const PDFDrawing &drawing);
// A new form XObject with BBox [0 0 w h] (raises MuPDF errors).
pdf_obj *addForm(fz_context *ctx, PDFDocumentData &data, const PDFDrawing &drawing);
} // namespace PDFDrawingWriter
