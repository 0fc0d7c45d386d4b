#include "PDFBulkText.h"

#include "MuPDFContext.h"
#include "PDFPageTree.h"
#include "platform/system/BackgroundPool.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <mutex>
#include <vector>

namespace {

// Pages handed to a worker at a time: few enough that the workers finish together.
constexpr int kRunPages = 8;

// One extraction: the next run of pages to hand out and the texts read so far.
struct BulkTextJob {
    QByteArray file;
    std::atomic<int> nextPage{0};
    std::mutex mutex; // guards `count` and the resizing of `pages`
    int count = -1;   // as the first worker to open the file found it
    std::vector<QString> pages;
};

QString pageText(fz_context *ctx, fz_document *doc, int index)
{
    fz_stext_options options = {};
    fz_buffer *buffer = nullptr;
    fz_stext_page *text = nullptr;
    fz_page *page = nullptr;
    fz_try(ctx)
    {
        page = fz_load_page(ctx, doc, index);
        text = fz_new_stext_page_from_page(ctx, page, &options);
        buffer = fz_new_buffer_from_stext_page(ctx, text);
    }
    fz_always(ctx)
    {
        fz_drop_stext_page(ctx, text);
        fz_drop_page(ctx, page);
    }
    fz_catch(ctx) buffer = nullptr;
    if (!buffer)
        return {};
    unsigned char *data = nullptr;
    const size_t size = fz_buffer_storage(ctx, buffer, &data);
    QString result = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    fz_drop_buffer(ctx, buffer);
    return result;
}

// A worker on an engine instance of its own. Each worker opens the file itself, so no worker
// waits for a separate opening that only counts the pages.
void readPages(BulkTextJob &job)
{
    MuPDF::IndependentContext context;
    fz_context *ctx = context.get();
    if (!ctx)
        return;
    int count = 0;
    fz_document *doc = PDFPageTree::openForReading(ctx, job.file, &count);
    if (!doc)
        return;
    {
        std::lock_guard<std::mutex> lock(job.mutex);
        if (job.count < 0) {
            job.count = count;
            job.pages.resize(size_t(count));
        }
        count = std::min(count, job.count);
    }
    // Each page is written by the one worker that took it, after the single resize above.
    for (int first = job.nextPage.fetch_add(kRunPages); first < count; first = job.nextPage.fetch_add(kRunPages)) {
        for (int i = first; i < std::min(count, first + kRunPages); ++i)
            job.pages[size_t(i)] = pageText(ctx, doc, i);
    }
    fz_drop_document(ctx, doc);
}

} // namespace

namespace PDFBulkText {

QStringList textOfAllPages(const QString &path, int workers)
{
    BulkTextJob job;
    job.file = MuPDF::encodedPath(path);
    if (workers <= 0)
        workers = std::max(1, QThread::idealThreadCount());
    std::vector<QFuture<void>> running;
    for (int w = 0; w < workers; ++w)
        running.push_back(QtConcurrent::run(backgroundPool(), [&job] { readPages(job); }));
    for (auto &worker : running)
        worker.waitForFinished();
    if (job.count <= 0)
        return {};
    return QStringList(std::make_move_iterator(job.pages.begin()), std::make_move_iterator(job.pages.end()));
}

} // namespace PDFBulkText
