#include "PDFTextSearch.h"

#include "PDFDestination.h"
#include "PDFDocumentPrivate.h"
#include "PDFPageLabels.h"
#include "PDFPageTree.h"
#include "platform/system/ThreadPriority.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QTimer>
#include <QThread>
#include <atomic>
#include <optional>

namespace {

// Pages per unit of work. One: the first page with a match is reported as soon as it is read
// (a page's first reading, with its fonts, is the slow part), not after a run of pages.
constexpr int kBlockPages = 1;

// The page's characters case-folded, with a space where a line ends so that a phrase broken
// across lines is still found; `origin` maps each position back to its character (numbered as
// in the page's PDFTextPage).
struct Haystack {
    std::vector<char32_t> folded;
    std::vector<int> origin;
    // By character: its code and whether it starts a line, for the previews of matches.
    std::vector<char32_t> codes;
    std::vector<bool> startsLine;
    char32_t last = 0;

    void add(char32_t code, int index, bool lineStart)
    {
        if (lineStart && index > 0 && last != U' ') {
            folded.push_back(U' ');
            origin.push_back(index - 1);
        }
        folded.push_back(QChar::toCaseFolded(code));
        origin.push_back(index);
        codes.push_back(code);
        startsLine.push_back(lineStart && index > 0);
        last = code;
    }

    // Characters first..last (clipped to the page), a line end read as a space.
    QString readable(int first, int lastChar) const
    {
        QString out;
        lastChar = std::min(lastChar, int(codes.size()) - 1);
        for (int i = std::max(first, 0); i <= lastChar; ++i) {
            if (i > first && startsLine[size_t(i)])
                out += QLatin1Char(' ');
            out += QString::fromUcs4(&codes[size_t(i)], 1);
        }
        return out;
    }
};

// The label a page shows; its number when the document's labels cannot be read.
QString labelOf(fz_context *ctx, pdf_document *doc, int index)
{
    QString label;
    fz_try(ctx) label = PDFPageLabels::label(ctx, doc, index);
    fz_catch(ctx) label = QString::number(index + 1);
    return label;
}

Haystack haystackOf(const PDFTextPage &text)
{
    Haystack h;
    h.folded.reserve(size_t(text.chars.size()) + 64);
    h.origin.reserve(size_t(text.chars.size()) + 64);
    for (int i = 0; i < text.chars.size(); ++i)
        h.add(text.chars[i].code, i, i > 0 && text.chars[i].line != text.chars[i - 1].line);
    return h;
}

// The same, read straight from the engine's structured text: a page searched once needs none
// of the character boxes a PDFTextPage computes.
Haystack haystackOf(fz_stext_page *text)
{
    Haystack h;
    int index = 0;
    for (fz_stext_block *block = text->first_block; block; block = block->next) {
        if (block->type != FZ_STEXT_BLOCK_TEXT)
            continue;
        for (fz_stext_line *line = block->u.t.first_line; line; line = line->next) {
            bool first = true;
            for (fz_stext_char *ch = line->first_char; ch; ch = ch->next, ++index) {
                h.add(char32_t(ch->c), index, first);
                first = false;
            }
        }
    }
    return h;
}

std::vector<char32_t> foldedNeedle(const QString &text)
{
    std::vector<char32_t> needle;
    for (char32_t c : text.toUcs4())
        needle.push_back(QChar::toCaseFolded(c));
    return needle;
}

// Character ranges of the needle's non-overlapping occurrences on one page.
std::vector<std::pair<int, int>> findOnPage(const Haystack &h, const std::vector<char32_t> &needle)
{
    std::vector<std::pair<int, int>> found;
    for (size_t start = 0; start + needle.size() <= h.folded.size(); ++start) {
        if (h.folded[start] != needle.front() ||
            !std::equal(needle.begin(), needle.end(), h.folded.begin() + long(start)))
            continue;
        found.emplace_back(h.origin[start], h.origin[start + needle.size() - 1]);
        start += needle.size() - 1;
    }
    return found;
}

// A read-only copy of the file opened on an engine instance of the worker's own.
class FileReader {
public:
    FileReader(const QString &path, int expectedPages)
    {
        fz_context *ctx = m_context.get();
        if (!ctx)
            return;
        const QByteArray file = MuPDF::encodedPath(path);
        pdf_document *doc = nullptr;
        fz_try(ctx)
        {
            doc = pdf_open_document(ctx, file.constData());
            if (pdf_needs_password(ctx, doc))
                fz_throw(ctx, FZ_ERROR_GENERIC, "locked");
            PDFPageTree::normalise(ctx, doc);
            if (pdf_count_pages(ctx, doc) != expectedPages)
                fz_throw(ctx, FZ_ERROR_GENERIC, "not the open document");
        }
        fz_catch(ctx)
        {
            pdf_drop_document(ctx, doc);
            doc = nullptr;
        }
        m_doc = doc;
    }
    ~FileReader()
    {
        if (m_doc)
            pdf_drop_document(m_context.get(), m_doc);
    }
    FileReader(const FileReader &) = delete;
    FileReader &operator=(const FileReader &) = delete;

    bool isOpen() const { return m_doc; }
    QString label(int index) { return labelOf(m_context.get(), m_doc, index); }

    std::optional<Haystack> haystack(int index)
    {
        fz_context *ctx = m_context.get();
        pdf_page *page = nullptr;
        fz_stext_page *text = nullptr;
        fz_stext_options options = {};
        fz_try(ctx)
        {
            page = pdf_load_page(ctx, m_doc, index);
            text = fz_new_stext_page_from_page(ctx, &page->super, &options);
        }
        fz_always(ctx) fz_drop_page(ctx, page ? &page->super : nullptr);
        fz_catch(ctx) text = nullptr;
        if (!text)
            return std::nullopt;
        std::optional<Haystack> h = haystackOf(text);
        fz_drop_stext_page(ctx, text);
        return h;
    }

private:
    MuPDF::IndependentContext m_context;
    pdf_document *m_doc = nullptr;
};

} // namespace

// One search: the blocks of pages handed out to the workers and the finished blocks waiting
// to be reported in page order.
struct PDFSearchJob {
    using Found = PDFTextSearch::Found;
    std::shared_ptr<PDFDocumentData> data;
    std::vector<char32_t> needle;
    int contextLength = 0;
    QString filePath; // empty: search the open document
    int pages = 0;
    std::atomic<bool> cancelled{false};
    std::atomic<int> nextBlock{0};

    std::mutex mutex; // guards the two below
    std::vector<std::optional<QVector<Found>>> done;
    size_t reported = 0;

    int blockCount() const { return (pages + kBlockPages - 1) / kBlockPages; }

    std::shared_ptr<const PDFTextPage> documentText(int index, int *object)
    {
        PDFLock lock(data->mutex);
        *object = data->pageObjectAt(index);
        return *object ? data->textPage(*object) : nullptr;
    }

    // Read from whichever copy the page's text came from.
    QString pageLabel(int index, FileReader *reader)
    {
        if (reader)
            return reader->label(index);
        PDFLock lock(data->mutex);
        return labelOf(MuPDF::context(), data->doc, index);
    }

    int pageObject(int index)
    {
        PDFLock lock(data->mutex);
        return data->pageObjectAt(index);
    }

    QVector<Found> searchBlock(int block, FileReader *reader)
    {
        QVector<Found> found;
        const int last = std::min(pages, (block + 1) * kBlockPages);
        for (int index = block * kBlockPages; index < last && !cancelled.load(); ++index) {
            int object = 0;
            std::optional<Haystack> haystack;
            if (reader) {
                haystack = reader->haystack(index);
                object = haystack ? pageObject(index) : 0;
            } else if (auto text = documentText(index, &object)) {
                haystack = haystackOf(*text);
            }
            if (!haystack || !object)
                continue;
            const std::vector<std::pair<int, int>> ranges = findOnPage(*haystack, needle);
            const QString label = ranges.empty() ? QString() : pageLabel(index, reader);
            for (auto [first, lastChar] : ranges) {
                PDFSelection match;
                match.m_ranges.append({PDFDestination::pageFor(data, object), first, lastChar});
                PDFSearchPreview preview{index, label, haystack->readable(first, lastChar), {}};
                preview.following =
                    haystack->readable(first, lastChar + contextLength).mid(preview.text.size());
                found.append({match, preview});
            }
        }
        return found;
    }
};

PDFTextSearch::PDFTextSearch(const PDFDocument &document, QObject *parent) : QObject(parent), m_document(document)
{
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

PDFTextSearch::~PDFTextSearch()
{
    if (m_job)
        m_job->cancelled.store(true);
    m_pool.waitForDone();
}

bool PDFTextSearch::isRunning() const { return m_running; }

void PDFTextSearch::cancel()
{
    if (m_job)
        m_job->cancelled.store(true);
    m_undelivered.clear();
    m_allReported = false;
    if (m_running) {
        m_running = false;
        ++m_generation;
        emit finished(true);
    }
}

void PDFTextSearch::start(const QString &text)
{
    cancel();
    m_pool.waitForDone();
    m_job.reset();
    std::vector<char32_t> needle = foldedNeedle(text);
    if (needle.empty() || m_document.isNull())
        return;

    auto job = std::make_shared<PDFSearchJob>();
    job->data = m_document.d;
    job->needle = std::move(needle);
    job->contextLength = m_contextLength;
    {
        // Matches are numbered as the finished page check numbers the pages.
        PDFSettledLock lock(*job->data);
        if (job->data->locked)
            return;
        job->pages = job->data->pageCount();
        fz_context *ctx = MuPDF::context();
        int unsaved = 1;
        fz_try(ctx) unsaved = pdf_has_unsaved_changes(ctx, job->data->doc);
        fz_catch(ctx) unsaved = 1;
        // The file on disk holds the same text only while nothing has changed since it was read.
        if (!unsaved && !job->data->doc->crypt && !job->data->path.isEmpty())
            job->filePath = job->data->path;
    }
    job->done.resize(size_t(job->blockCount()));
    m_job = job;
    m_running = true;
    const quint64 generation = ++m_generation;
    if (job->blockCount() == 0) {
        deliver(generation, {}, true);
        return;
    }

    const int workers = job->filePath.isEmpty() ? 1 : std::min(m_pool.maxThreadCount(), job->blockCount());
    for (int w = 0; w < workers; ++w) {
        m_pool.start([this, job, generation] {
            ThreadPriority::lowerForBackgroundWork(ThreadPriority::Urgency::Aside);
            std::optional<FileReader> reader;
            if (!job->filePath.isEmpty())
                reader.emplace(job->filePath, job->pages);
            FileReader *source = reader && reader->isOpen() ? &*reader : nullptr;
            for (int block = job->nextBlock++; block < job->blockCount() && !job->cancelled.load();
                 block = job->nextBlock++) {
                QVector<Found> found = job->searchBlock(block, source);
                if (job->cancelled.load())
                    return;
                // Report every finished block that is next in page order; posting under the
                // lock keeps the reports in that order.
                std::lock_guard<std::mutex> lock(job->mutex);
                job->done[size_t(block)] = std::move(found);
                QVector<Found> ready;
                while (job->reported < job->done.size() && job->done[job->reported]) {
                    ready += *job->done[job->reported];
                    job->done[job->reported] = QVector<Found>();
                    ++job->reported;
                }
                const bool last = job->reported == job->done.size();
                if (ready.isEmpty() && !last)
                    continue;
                // The destructor waits for the workers, so this object outlives every post.
                QMetaObject::invokeMethod(
                    this, [this, generation, ready, last] { deliver(generation, ready, last); },
                    Qt::QueuedConnection);
            }
        });
    }
}

void PDFTextSearch::deliver(quint64 generation, const QVector<Found> &found, bool last)
{
    if (generation != m_generation)
        return;
    m_undelivered += found;
    m_allReported = last;
    handOn();
}

void PDFTextSearch::handOn()
{
    m_handOnScheduled = false;
    const quint64 generation = m_generation;
    QElapsedTimer spent;
    spent.start();
    while (!m_undelivered.isEmpty()) {
        // A page may hold hundreds of matches, and each takes its receiver some time: the rest
        // wait for the events that came meanwhile, so that the window keeps up.
        if (spent.hasExpired(kHandOnSliceMs)) {
            if (!m_handOnScheduled) {
                m_handOnScheduled = true;
                QTimer::singleShot(0, this, &PDFTextSearch::handOn);
            }
            return;
        }
        const Found each = m_undelivered.takeFirst();
        emit matchFound(each.match, each.preview);
        if (generation != m_generation) // a receiver started another search or cancelled
            return;
    }
    if (m_allReported) {
        m_allReported = false;
        m_running = false;
        emit finished(false);
    }
}
