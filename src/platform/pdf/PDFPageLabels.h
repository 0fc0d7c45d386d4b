#pragma once

// Internal to the PDF engine layer: page labels from the catalogue's /PageLabels number tree.
#include "MuPDFContext.h"

namespace PDFPageLabels {
// The label of the page at index; its number counted from 1 when the document defines none.
QString label(fz_context *ctx, pdf_document *doc, int index);
}
