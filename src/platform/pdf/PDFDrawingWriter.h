#pragma once

// Internal to the PDF engine layer: turns a PDFDrawing into a form XObject of a document.
#include "MuPDFContext.h"
#include "PDFDrawing.h"

namespace PDFDrawingWriter {
// A new resources dictionary holding the drawing's images (raises MuPDF errors).
pdf_obj *addResources(fz_context *ctx, pdf_document *doc, const PDFDrawing &drawing);
// A new form XObject with BBox [0 0 w h] (raises MuPDF errors).
pdf_obj *addForm(fz_context *ctx, pdf_document *doc, const PDFDrawing &drawing);
} // namespace PDFDrawingWriter
