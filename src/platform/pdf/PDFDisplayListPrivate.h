#pragma once

// Internal to the PDF engine layer.
#include "MuPDFContext.h"
#include "PDFDisplayList.h"

struct PDFDisplayList::Impl {
    fz_display_list *list = nullptr;
    fz_rect bounds = fz_empty_rect; // of the displayed page at scale 1
    qint64 bytes = 0;
    ~Impl();
};

// Records the page with its annotations; nullptr on failure. Call with the document locked.
std::unique_ptr<PDFDisplayList::Impl> recordPage(fz_context *ctx, pdf_page *page);
