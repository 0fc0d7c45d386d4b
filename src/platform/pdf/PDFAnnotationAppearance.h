#pragma once

// Internal to the PDF engine layer: keeping an annotation's appearance in step with it.
#include "PDFDocumentPrivate.h"
#include "PDFDrawing.h"

namespace PDFAnnotationAppearance {

// The private key that marks an appearance of the program's own making.
inline constexpr const char *kOwnAppearanceKey = "QuirnaOwnAppearance";

// Has the engine draw a new appearance for a standard annotation that is on a page; an
// annotation with an appearance of the program's own keeps it.
void refresh(PDFDocumentData &data, int annotation, int page);
// Installs the drawing as the normal appearance of the annotation.
bool install(PDFDocumentData &data, int annotation, const PDFDrawing &drawing);

} // namespace PDFAnnotationAppearance
