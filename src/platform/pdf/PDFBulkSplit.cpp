#include "PDFBulkSplit.h"

#include "PDFPageCopier.h"
#include "PDFPageTree.h"
#include "platform/system/BackgroundPool.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <vector>

namespace {

pdf_write_options splitOptions()
{
    pdf_write_options options = pdf_default_write_options;
    options.do_compress = 1;
    options.do_compress_images = 1;
    options.do_compress_fonts = 1;
    return options;
}

// One page of `src` as a new document written to `target`.
bool writeOnePage(fz_context *ctx, pdf_document *src, int index, const QByteArray &target)
{
    static const pdf_write_options options = splitOptions();
    pdf_document *dst = nullptr;
    pdf_graft_map *map = nullptr;
    pdf_obj *copy = nullptr;
    std::map<int, int> pageMap; // outside fz_try: no destructor may be skipped by a throw
    bool ok = true;
    fz_try(ctx)
    {
        pdf_obj *sourcePage = pdf_lookup_page_obj(ctx, src, index);
        dst = pdf_create_document(ctx);
        map = pdf_new_graft_map(ctx, dst);
        copy = PDFPageCopier::copyPage(ctx, dst, sourcePage, map);
        pdf_insert_page(ctx, dst, 0, copy);
        pageMap[pdf_to_num(ctx, sourcePage)] = pdf_to_num(ctx, copy);
        PDFPageCopier::copyAnnotations(ctx, dst, sourcePage, copy, map, &pageMap);
        pdf_save_document(ctx, dst, target.constData(), &options);
    }
    fz_always(ctx)
    {
        pdf_drop_obj(ctx, copy);
        pdf_drop_graft_map(ctx, map);
        pdf_drop_document(ctx, dst);
    }
    fz_catch(ctx) ok = false;
    return ok;
}

// Writes every `workers`-th entry of indices starting at `first`.
bool writeShare(const QByteArray &file, const QVector<int> &indices, int first, int workers,
                const PDFBulkSplit::Target &target, std::atomic<bool> &stop)
{
    MuPDF::IndependentContext context;
    fz_context *ctx = context.get();
    if (!ctx)
        return false;
    int count = 0;
    fz_document *opened = PDFPageTree::openForReading(ctx, file, &count);
    pdf_document *doc = opened ? pdf_specifics(ctx, opened) : nullptr;
    bool ok = doc != nullptr;
    for (int i = first; ok && i < indices.size() && !stop; i += workers) {
        const int index = indices[i];
        ok = index >= 0 && index < count && writeOnePage(ctx, doc, index, target(index).toUtf8());
    }
    if (!ok)
        stop = true;
    fz_drop_document(ctx, opened);
    return ok;
}

} // namespace

namespace PDFBulkSplit {

bool writePages(const QString &path, const QVector<int> &indices, const Target &target, int workers)
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
        parts.push_back(QtConcurrent::run(backgroundPool(), writeShare, file, indices, w, workers, std::cref(target), std::ref(stop)));
    bool ok = writeShare(file, indices, 0, workers, target, stop);
    for (auto &part : parts)
        ok = part.result() && ok;
    return ok;
}

} // namespace PDFBulkSplit
