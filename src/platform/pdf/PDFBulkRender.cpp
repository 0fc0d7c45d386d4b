#include "PDFBulkRender.h"

#include "MuPDFContext.h"
#include "PDFPageRaster.h"
#include "PDFPageTree.h"
#include "PDFProbe.h"
#include "platform/system/BackgroundPool.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <vector>

namespace {

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

// Pixels held by all workers of all renders at once: a worker waits until its page fits.
QSemaphore &pixelBudget()
{
    static QSemaphore budget{int(PDFBulkRender::kMaxPixels)};
    return budget;
}

// What the workers of one render share: the pages, and the next of them that nobody has taken.
struct Work {
    const QVector<int> &indices;
    float scale;
    std::atomic<int> next = 0;
    std::atomic<bool> stop = false;
};

// Takes pages until none is left, renders each and hands it to the worker's sink.
bool renderShare(fz_context *ctx, fz_document *doc, int count, Work &work, const PDFBulkRender::Sink &sink)
{
    PDFPageRaster raster(pixelBudget(), PDFBulkRender::kMaxPixels);
    for (int i = work.next++; i < work.indices.size() && !work.stop; i = work.next++) {
        const int index = work.indices[i];
        if (index >= count || !sink(index, raster.render(ctx, doc, index, work.scale))) {
            work.stop = true;
            return false;
        }
    }
    return true;
}

// A worker with an engine instance and an opening of the file of its own.
bool renderOnOwnOpening(const QByteArray &file, Work &work, const PDFBulkRender::SinkMaker &makeSink)
{
    MuPDF::IndependentContext context;
    fz_context *ctx = context.get();
    int count = 0;
    fz_document *doc = ctx ? PDFPageTree::openForReading(ctx, file, &count) : nullptr;
    const bool ok = doc && renderShare(ctx, doc, count, work, makeSink());
    if (!ok)
        work.stop = true;
    if (doc)
        fz_drop_document(ctx, doc);
    return ok;
}

} // namespace

struct PDFBulkRender::Opening {
    MuPDF::IndependentContext context;
    fz_document *doc = nullptr;
    int count = 0;
    Status status = Status::Unreadable;

    explicit Opening(const QByteArray &file)
    {
        if (context.get())
            doc = PDFPageTree::openForReading(context.get(), file, &count);
    }
    ~Opening()
    {
        if (doc)
            fz_drop_document(context.get(), doc);
    }
};

PDFBulkRender::PDFBulkRender(const QString &path)
    : m_file(MuPDF::encodedPath(path)), m_opening(std::make_unique<Opening>(m_file))
{
    fz_context *ctx = m_opening->context.get();
    pdf_document *pdf = m_opening->doc ? pdf_specifics(ctx, m_opening->doc) : nullptr;
    if (!m_opening->doc)
        m_opening->status = PDFProbe::isEncrypted(path) ? Status::Encrypted : Status::Unreadable;
    else if (pdf && pdf->crypt)
        m_opening->status = Status::Encrypted;
    else if (m_opening->count <= 0)
        m_opening->status = Status::NoPages;
    else
        m_opening->status = Status::Ready;
}

PDFBulkRender::~PDFBulkRender() = default;

PDFBulkRender::Status PDFBulkRender::status() const { return m_opening->status; }

int PDFBulkRender::pageCount() const { return m_opening->status == Status::Ready ? m_opening->count : 0; }

int PDFBulkRender::firstOversizedPage(const QVector<int> &indices, double scale) const
{
    if (m_opening->status != Status::Ready)
        return -1;
    fz_context *ctx = m_opening->context.get();
    for (int index : indices) {
        if (index < 0 || index >= m_opening->count)
            continue;
        qint64 pixels = 0;
        fz_try(ctx) pixels = pixelsAt(ctx, m_opening->doc, index, scale);
        fz_catch(ctx) pixels = 0; // the render itself will fail and say so
        if (pixels > kMaxPixels)
            return index;
    }
    return -1;
}

bool PDFBulkRender::render(const QVector<int> &indices, double scale, const SinkMaker &makeSink, int workers)
{
    if (m_opening->status != Status::Ready)
        return false;
    for (int index : indices)
        if (index < 0 || index >= m_opening->count)
            return false;
    if (indices.isEmpty())
        return true;
    if (workers <= 0)
        workers = std::max(1, QThread::idealThreadCount());
    workers = std::min<int>(workers, int(indices.size()));
    Work work{indices, float(scale)};
    // The other workers open the file while this thread starts on its own opening.
    std::vector<QFuture<bool>> others;
    for (int w = 1; w < workers; ++w)
        others.push_back(QtConcurrent::run(backgroundPool(), renderOnOwnOpening, m_file, std::ref(work), std::cref(makeSink)));
    bool ok = renderShare(m_opening->context.get(), m_opening->doc, m_opening->count, work, makeSink());
    for (auto &other : others)
        ok = other.result() && ok;
    return ok;
}
