#include "PDFBulkRender.h"

#include "MuPDFContext.h"
#include "PDFPageTree.h"

#include <QSemaphore>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <vector>

namespace {

QImage toImage(fz_context *ctx, fz_pixmap *pixmap)
{
    QImage image(fz_pixmap_width(ctx, pixmap), fz_pixmap_height(ctx, pixmap), QImage::Format_RGB888);
    if (image.isNull())
        return image;
    const unsigned char *samples = fz_pixmap_samples(ctx, pixmap);
    const size_t stride = size_t(fz_pixmap_stride(ctx, pixmap));
    for (int y = 0; y < image.height(); ++y)
        memcpy(image.scanLine(y), samples + size_t(y) * stride, size_t(image.width()) * 3);
    return image;
}

// The pixels of the page's image at `scale`; raises on engine errors.
qint64 pixelsAt(fz_context *ctx, fz_document *doc, int index, double scale)
{
    fz_rect box = fz_empty_rect;
    fz_matrix ctm = fz_identity;
    pdf_document *pdf = pdf_specifics(ctx, doc);
    if (!pdf)
        return 0;
    pdf_page_obj_transform(ctx, pdf_lookup_page_obj(ctx, pdf, index), &box, &ctm);
    const fz_irect pixels = fz_round_rect(fz_transform_rect(box, fz_concat(ctm, fz_scale(float(scale), float(scale)))));
    return qint64(pixels.x1 - pixels.x0) * qint64(pixels.y1 - pixels.y0);
}

// Pixels being rendered by all workers of all exports at once, so memory does not grow with
// page size times workers: a worker waits until its page fits.
QSemaphore &pixelsInFlight()
{
    static QSemaphore budget{int(PDFBulkRender::kMaxPixels)};
    return budget;
}

// The pixels of the page's image at `scale`, more than the budget when they cannot be known.
qint64 pagePixels(fz_context *ctx, fz_document *doc, int index, double scale)
{
    qint64 pixels = PDFBulkRender::kMaxPixels + 1;
    fz_try(ctx) pixels = pixelsAt(ctx, doc, index, scale);
    fz_catch(ctx) pixels = PDFBulkRender::kMaxPixels + 1;
    return pixels;
}

fz_pixmap *renderPixmap(fz_context *ctx, fz_document *doc, int index, double scale)
{
    fz_page *page = nullptr;
    fz_pixmap *pixmap = nullptr;
    fz_try(ctx)
    {
        page = fz_load_page(ctx, doc, index);
        pixmap = fz_new_pixmap_from_page(ctx, page, fz_scale(float(scale), float(scale)), fz_device_rgb(ctx), 0);
    }
    fz_always(ctx) fz_drop_page(ctx, page);
    fz_catch(ctx) pixmap = nullptr;
    return pixmap;
}

// What a worker does with one rendered page (a null pixmap when rendering failed).
using PixmapSink = std::function<bool(fz_context *ctx, int index, fz_pixmap *pixmap)>;

// Renders every `workers`-th entry of indices starting at `first`.
bool renderShare(const QByteArray &file, const QVector<int> &indices, int first, int workers, double scale,
                 const PixmapSink &sink, std::atomic<bool> &stop)
{
    MuPDF::IndependentContext context;
    fz_context *ctx = context.get();
    if (!ctx)
        return false;
    int count = 0;
    fz_document *doc = PDFPageTree::openForReading(ctx, file, &count);
    bool ok = doc != nullptr;
    for (int i = first; ok && i < indices.size() && !stop; i += workers) {
        const int index = indices[i];
        if (index < 0 || index >= count) {
            ok = false;
            break;
        }
        // A page above the budget is not rendered (the sink gets null); the others wait until
        // their pixels fit beside the pages other workers hold.
        const qint64 pixels = pagePixels(ctx, doc, index, scale);
        QSemaphoreReleaser held;
        fz_pixmap *pixmap = nullptr;
        if (pixels <= PDFBulkRender::kMaxPixels) {
            pixelsInFlight().acquire(int(pixels));
            held = QSemaphoreReleaser(pixelsInFlight(), int(pixels));
            pixmap = renderPixmap(ctx, doc, index, scale);
        }
        ok = sink(ctx, index, pixmap);
        fz_drop_pixmap(ctx, pixmap);
    }
    if (!ok)
        stop = true;
    fz_drop_document(ctx, doc);
    return ok;
}

bool renderAll(const QString &path, const QVector<int> &indices, double scale, const PixmapSink &sink, int workers)
{
    if (indices.isEmpty())
        return true;
    if (workers <= 0)
        workers = std::max(1, QThread::idealThreadCount());
    workers = std::min<int>(workers, int(indices.size()));
    const QByteArray file = MuPDF::encodedPath(path);
    std::atomic<bool> stop = false;
    std::vector<QFuture<bool>> parts;
    for (int w = 1; w < workers; ++w)
        parts.push_back(QtConcurrent::run(renderShare, file, indices, w, workers, scale, std::cref(sink), std::ref(stop)));
    bool ok = renderShare(file, indices, 0, workers, scale, sink, stop);
    for (auto &part : parts)
        ok = part.result() && ok;
    return ok;
}

} // namespace

namespace PDFBulkRender {

bool renderPages(const QString &path, const QVector<int> &indices, double scale, const Sink &sink, int workers)
{
    return renderAll(path, indices, scale, [&sink](fz_context *ctx, int index, fz_pixmap *pixmap) {
        return sink(index, pixmap ? toImage(ctx, pixmap) : QImage());
    }, workers);
}

int firstOversizedPage(const QString &path, const QVector<int> &indices, double scale)
{
    MuPDF::IndependentContext context;
    fz_context *ctx = context.get();
    if (!ctx)
        return -1;
    int count = 0;
    fz_document *doc = PDFPageTree::openForReading(ctx, MuPDF::encodedPath(path), &count);
    int found = -1;
    for (int index : indices) {
        if (index < 0 || index >= count)
            continue;
        qint64 pixels = 0;
        fz_try(ctx) pixels = pixelsAt(ctx, doc, index, scale);
        fz_catch(ctx) pixels = 0; // the render itself will fail and say so
        if (pixels > kMaxPixels) {
            found = index;
            break;
        }
    }
    fz_drop_document(ctx, doc);
    return found;
}

} // namespace PDFBulkRender
