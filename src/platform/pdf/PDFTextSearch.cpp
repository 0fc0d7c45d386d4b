#include "PDFTextSearch.h"

#include "PDFDocumentPrivate.h"

#include <QMetaObject>
#include <QThreadPool>

namespace {

// The page's characters case-folded, with a space where a line ends so that a phrase broken
// across lines is still found; `origin` maps each position back to its character.
struct Haystack {
    std::vector<char32_t> folded;
    std::vector<int> origin;
};

Haystack haystackOf(const PDFTextPage &text)
{
    Haystack h;
    h.folded.reserve(size_t(text.chars.size()) + 64);
    for (int i = 0; i < text.chars.size(); ++i) {
        if (i > 0 && text.chars[i].line != text.chars[i - 1].line && text.chars[i - 1].code != U' ') {
            h.folded.push_back(U' ');
            h.origin.push_back(i - 1);
        }
        h.folded.push_back(QChar::toCaseFolded(text.chars[i].code));
        h.origin.push_back(i);
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

} // namespace

PDFTextSearch::PDFTextSearch(const PDFDocument &document, QObject *parent) : QObject(parent), m_document(document) {}

PDFTextSearch::~PDFTextSearch()
{
    cancel();
    m_done.waitForFinished();
}

bool PDFTextSearch::isRunning() const { return m_running; }

void PDFTextSearch::cancel()
{
    if (m_cancel)
        m_cancel->store(true);
    if (m_running) {
        m_running = false;
        ++m_generation;
        emit finished(true);
    }
}

void PDFTextSearch::start(const QString &text)
{
    cancel();
    m_done.waitForFinished();
    const std::vector<char32_t> needle = foldedNeedle(text);
    if (needle.empty() || m_document.isNull())
        return;
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_running = true;
    const quint64 generation = ++m_generation;
    auto cancelled = m_cancel;
    auto data = m_document.d;
    m_done = QtConcurrent::run([this, data, needle, cancelled, generation] {
        const int pages = [&] {
            PDFLock lock(data->mutex);
            return data->locked ? 0 : data->pageCount();
        }();
        for (int index = 0; index < pages && !cancelled->load(); ++index) {
            std::shared_ptr<const PDFTextPage> text;
            int object = 0;
            {
                PDFLock lock(data->mutex);
                object = data->pageObjectAt(index);
                text = object ? data->textPage(object) : nullptr;
            }
            if (!text)
                continue;
            const Haystack h = haystackOf(*text);
            QVector<PDFSelection> matches;
            for (size_t start = 0; start + needle.size() <= h.folded.size(); ++start) {
                if (!std::equal(needle.begin(), needle.end(), h.folded.begin() + long(start)))
                    continue;
                PDFSelection match;
                match.m_ranges.append({PDFDestination::pageFor(data, object), h.origin[start],
                                       h.origin[start + needle.size() - 1]});
                matches.append(match);
                start += needle.size() - 1;
            }
            if (!matches.isEmpty())
                QMetaObject::invokeMethod(this, [this, matches, generation] {
                    if (generation != m_generation)
                        return;
                    for (const PDFSelection &match : matches)
                        emit matchFound(match);
                }, Qt::QueuedConnection);
        }
        if (!cancelled->load())
            QMetaObject::invokeMethod(this, [this, generation] {
                if (generation != m_generation)
                    return;
                m_running = false;
                emit finished(false);
            }, Qt::QueuedConnection);
    });
}
