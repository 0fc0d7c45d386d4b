#include "PDFBulkText.h"

#include "MuPDFContext.h"
#include "PDFPageTree.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentRun>
#include <vector>

namespace {

// Text of pages [first, last) of the file, each worker on an engine instance of its own.
QStringList textOfRange(const QByteArray &file, int first, int last)
{
    MuPDF::IndependentContext context;
    fz_context *ctx = context.get();
    QStringList pages;
    if (!ctx)
        return pages;
    int count = 0;
    fz_document *doc = PDFPageTree::openForReading(ctx, file, &count);
    if (!doc)
        return pages;
    last = std::min(last, count);
    fz_stext_options options = {};
    for (int i = first; i < last; ++i) {
        fz_buffer *buffer = nullptr;
        fz_stext_page *text = nullptr;
        fz_page *page = nullptr;
        fz_try(ctx)
        {
            page = fz_load_page(ctx, doc, i);
            text = fz_new_stext_page_from_page(ctx, page, &options);
            buffer = fz_new_buffer_from_stext_page(ctx, text);
        }
        fz_always(ctx)
        {
            fz_drop_stext_page(ctx, text);
            fz_drop_page(ctx, page);
        }
        fz_catch(ctx) buffer = nullptr;
        if (buffer) {
            unsigned char *data = nullptr;
            const size_t size = fz_buffer_storage(ctx, buffer, &data);
            pages.append(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
            fz_drop_buffer(ctx, buffer);
        } else {
            pages.append(QString());
        }
    }
    fz_drop_document(ctx, doc);
    return pages;
}

int countPages(const QByteArray &file)
{
    MuPDF::IndependentContext context;
    fz_context *ctx = context.get();
    int count = 0;
    fz_document *doc = ctx ? PDFPageTree::openForReading(ctx, file, &count) : nullptr;
    if (!doc)
        return -1;
    fz_drop_document(ctx, doc);
    return count;
}

} // namespace

namespace PDFBulkText {

QStringList textOfAllPages(const QString &path, int workers)
{
    const QByteArray file = MuPDF::encodedPath(path);
    const int count = countPages(file);
    if (count <= 0)
        return {};
    if (workers <= 0)
        workers = std::max(1, QThread::idealThreadCount());
    workers = std::min(workers, count);
    std::vector<QFuture<QStringList>> parts;
    for (int w = 0; w < workers; ++w) {
        const int first = int(qint64(count) * w / workers);
        const int last = int(qint64(count) * (w + 1) / workers);
        parts.push_back(QtConcurrent::run(textOfRange, file, first, last));
    }
    QStringList all;
    for (auto &part : parts)
        all += part.result();
    return all;
}

} // namespace PDFBulkText
