#pragma once

// Internal to the PDF engine layer.
#include "MuPDFContext.h"
#include "PDFDocumentMutex.h"
#include "PDFPageTree.h"
#include "PDFTextPageCache.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QRectF>
#include <QVector>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

// The characters of one page in reading order, in page space.
struct PDFTextPage {
    struct Char {
        QRectF box;
        char32_t code = 0;
        int line = 0; // running line number on the page
    };
    QVector<Char> chars;

    QString string(int first, int last) const;
    int nearestChar(QPointF point) const;
};

// Shared state of one open document. Every touch of `doc` happens with `mutex` held.
struct PDFDocumentData {
    PDFDocumentMutex mutex;
    pdf_document *doc = nullptr;
    QString path;
    // The file read and its stamp from before, to remember once the page tree is found sound.
    QByteArray openedFile;
    PDFPageTree::FileStamp openedStamp;
    bool locked = false; // a password is still needed
    QByteArray password; // the one that opened it, for rewriting it encrypted as it came

    // How the document is written (see PDFAtomicWriter). A document read from a file or from
    // bytes is re-packed compactly when it is rewritten whole; one built in memory is written
    // as the engine makes it.
    bool compactRewrites = false;
    // The file at `path` no longer holds the bytes the document was read from plus updates
    // appended to them, so an update cannot be appended again.
    bool appendBlocked = false;
    // For a plain snapshot of an encrypted document: a file encrypted as that document is, whose
    // encryption every write of the snapshot takes on.
    QByteArray encryptLike;

    ~PDFDocumentData();

    // The rest requires the mutex.
    // Indexes the pages of a newly opened document. A large tree is only skimmed (see
    // PDFPageTree::skim): its pages are checked later, a few at a time by checkPageTree or all
    // at once by settlePageTree; a tree the skim finds damaged is rebuilt at once.
    void indexPageTree();
    // Checks skimmed pages until the deadline passes (none once it has). A page that is not what
    // the skim took it for has the tree rebuilt as when opening a damaged file, and the pages
    // numbered anew (*renumbered). Returns true once every page is checked.
    bool checkPageTree(const QDeadlineTimer &deadline, bool *renumbered);
    // Finishes the check: called before anything changes, copies or writes the pages, so that
    // it sees the numbering the finished check gives.
    void settlePageTree();
    int checkedPageCount() { return m_unchecked.empty() ? pageCount() : int(m_checked); }
    // The object with that number, borrowed from the document; nullptr when it does not exist.
    pdf_obj *resolve(int object);
    int pageCount();
    int pageObjectAt(int index);
    int indexOfPageObject(int object);
    // The loaded page of a page object, loaded on demand; nullptr when it is not in the tree.
    pdf_page *loadedPage(int object);
    // The loaded annotation of an annotation object, or nullptr when it is on no loaded page.
    pdf_annot *loadedAnnotation(int object, int pageObject);
    std::shared_ptr<const PDFTextPage> textPage(int object);
    int loadedPageCount() const { return int(m_loaded.size()); }
    // Puts a page object that is in no page tree back at index.
    bool reinsertPage(int object, int index);

    // Pages and annotations taken out of the document. Those not back in it by the time of a
    // save must not stay readable in the file.
    void noteRemoved(int object) { m_removed.insert(object); }
    std::vector<int> removedObjects();

    // Must be called after the page tree or a page's annotation list changed, so that no loaded
    // page keeps a stale number or a stale annotation list.
    void pageTreeChanged();
    void annotationListChanged(int pageObject);

    // Image objects this program added, by the digest of their source, so that the same picture
    // placed again (or redrawn at new bounds) shares one object instead of adding its bytes twice.
    std::map<QByteArray, int> imageObjects;

private:
    void buildPageIndex();
    void pageTreeChecked(bool sound);
    void indexPageObjects();
    void dropLoadedPages();
    void evictLeastRecentPage();
    // Loaded pages are few and recently used: MuPDF walks every loaded page's annotations
    // whenever one annotation's appearance is refreshed, so a walk that touched every page
    // would otherwise make each later edit slower the longer the document is.
    struct LoadedPage {
        pdf_page *page;
        quint64 lastUse;
    };
    std::map<int, LoadedPage> m_loaded;
    quint64 m_useClock = 0;
    std::vector<int> m_pageObjects;
    std::map<int, int> m_indexOfObject;
    bool m_pageIndexValid = false;
    // The parent node of each skimmed page (m_pageObjects' order) while the skim is checked.
    std::vector<int> m_unchecked;
    size_t m_checked = 0;
    PDFTextPageCache m_text;
    std::set<int> m_removed;
};

using PDFLock = std::lock_guard<PDFDocumentMutex>;

// Locks a document for changing or writing its pages, once its page numbering is final.
class PDFSettledLock {
public:
    explicit PDFSettledLock(PDFDocumentData &data) : m_lock(data.mutex) { data.settlePageTree(); }

private:
    PDFLock m_lock;
};

// Locks one document, or two at once without risk of deadlock, for work that reads one and
// writes the other.
class PDFPairLock {
public:
    PDFPairLock(PDFDocumentData &first, PDFDocumentData &second)
        : m_first(first.mutex, std::defer_lock), m_second(second.mutex, std::defer_lock)
    {
        if (&first == &second)
            m_first.lock();
        else
            std::lock(m_first, m_second);
        first.settlePageTree();
        second.settlePageTree();
    }

private:
    std::unique_lock<PDFDocumentMutex> m_first;
    std::unique_lock<PDFDocumentMutex> m_second;
};

namespace PDFGeometry {
// The matrix from page space to MuPDF's displayed page space (rotated, y downwards).
fz_matrix pageToDevice(fz_context *ctx, pdf_page *page);
QRectF toQt(fz_rect r);
fz_rect toFz(const QRectF &r);
} // namespace PDFGeometry

// A page text of MuPDF's structured text, converted to page space. nullptr on failure.
std::shared_ptr<const PDFTextPage> buildTextPage(fz_context *ctx, pdf_page *page);
