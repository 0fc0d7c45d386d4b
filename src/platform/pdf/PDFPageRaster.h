#pragma once

// Internal to the PDF engine layer: never included by a public header.
#include "MuPDFContext.h"

#include <QImage>
#include <QSemaphore>
#include <memory>

// One worker's pixels for rendering page after page. The buffer is kept from one page to the next,
// since a fresh one per page costs page faults and heap churn in every page, and it is counted
// against a pixel budget shared by all workers for as long as it is kept, so that memory never
// grows with page size times workers.
class PDFPageRaster {
public:
    // `budget` holds `maxPixels` permits; a page with more pixels is never rendered.
    PDFPageRaster(QSemaphore &budget, qint64 maxPixels);
    ~PDFPageRaster();
    PDFPageRaster(const PDFPageRaster &) = delete;
    PDFPageRaster &operator=(const PDFPageRaster &) = delete;

    // Page `index` with its annotations at `scale` pixels per point on white, as 8-bit RGB. The
    // image borrows this raster's pixels until the next call; it is null when the page cannot be
    // rendered or is over the budget. Waits while other workers hold the budget.
    QImage render(fz_context *ctx, fz_document *doc, int index, float scale);

private:
    // Room for `pixels` pixels, taken from the budget; false when memory runs out.
    bool hold(qint64 pixels);
    void release();

    QSemaphore &m_budget;
    const qint64 m_maxPixels;
    std::unique_ptr<unsigned char[]> m_samples;
    qint64 m_held = 0; // pixels m_samples has room for, taken from the budget
};
