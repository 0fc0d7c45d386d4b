#pragma once

#include "PDFOutline.h"
#include "PDFPage.h"
#include "PDFWriteOptions.h"
#include "platform/system/StagedOutput.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QMap>
#include <QString>
#include <memory>
#include <vector>

struct PDFDocumentData;

// How much of the page tree opening a document reads. All of it, or, for a window that shows
// the document at once, only its inner nodes: the pages they list are then checked afterwards
// (PDFDocument::checkPageTree), and at the latest before anything changes or writes the pages.
// Until then a damaged tree that only its pages give away is numbered as its nodes say.
enum class PDFPageCheck { AtOpen, Deferred };

// Where a deferred page check stands.
struct PDFPageCheckProgress {
    int checkedPages = 0; // pages 0 to checkedPages - 1 are checked
    bool finished = true;
    bool renumbered = false; // the tree proved damaged and was rebuilt: every page index may have changed
};

// A PDF document. A handle: copies refer to the same document. Every method is safe to call
// from any thread; calls on one document are serialised.
class PDFDocument {
public:
    PDFDocument() = default;
    // Null when the file cannot be opened as a PDF.
    static PDFDocument open(const QString &path, PDFPageCheck check = PDFPageCheck::AtOpen);
    static PDFDocument openData(const QByteArray &bytes, PDFPageCheck check = PDFPageCheck::AtOpen);
    // A new document without pages.
    static PDFDocument create();
    // The version of the PDF engine the program was built with, for the About box.
    static QString engineVersion();

    bool isNull() const { return !d; }
    // The file it was opened from; empty for documents made in memory.
    QString path() const;

    bool isEncrypted() const;
    // True while a password is still needed to read it.
    bool isLocked() const;
    bool unlock(const QString &password);

    int pageCount() const;
    // Pages the engine holds open at the moment; stays small however many pages were read.
    int loadedPageCount() const;
    PDFPage page(int index) const;
    // Checks deferred pages until the deadline passes; with a passed one, only tells the progress.
    PDFPageCheckProgress checkPageTree(const QDeadlineTimer &deadline) const;
    // Inserts `page` at `index`. A page of this document that was removed goes back as the same
    // page; any other page (of this document or another) is copied with its boxes, rotation and
    // annotations. Returns the inserted page, null on failure.
    PDFPage insertPage(const PDFPage &page, int index);
    // Copies pages of `source` (which may be this document) in the given order to `index`,
    // keeping boxes, rotation and annotations; links between the copied pages point at the
    // copies. Returns the new pages, empty on failure.
    QVector<PDFPage> insertPages(const PDFDocument &source, const QVector<int> &sourceIndices, int index);
    // Copies of pages of this document, whether in its page tree or removed from it, inserted
    // in the given order at `index` with their boxes, rotation and annotations. Returns the
    // copies, empty on failure.
    QVector<PDFPage> insertPageCopies(const QVector<PDFPage> &pages, int index);
    // Moves the page at `from` so that it ends up at index `to`. The page object itself moves:
    // nothing is copied and no other page changes. False (and nothing moved) on failure.
    bool movePage(int from, int to);
    // A new empty page with the given media box.
    PDFPage insertNewPage(const QRectF &mediaBox, int index);
    bool removePage(int index);
    // Removes the pages at these indices at once. Returns the indices really removed, ascending.
    QVector<int> removePages(const QVector<int> &indices);
    // Puts removed pages of this document back, in the given order, each at its index (so
    // ascending indices restore a removal). Returns how many went back.
    int reinsertPages(const QVector<PDFPage> &pages, const QVector<int> &indices);
    // Adds `drawing` as one form object that pages draw with PDFPage::appendForm; its number,
    // 0 on failure.
    int addDrawing(const PDFDrawing &drawing);

    // The info dictionary: Title, Author, Subject, Keywords, Creator, Producer, CreationDate, ModDate.
    QMap<QString, QString> documentAttributes() const;
    void setDocumentAttributes(const QMap<QString, QString> &attributes);

    // The outline root, or null when the document has none.
    PDFOutline outlineRoot() const;
    // Makes `root` the outline root; a null root removes the outline.
    void setOutlineRoot(const PDFOutline &root);

    // Writes the document to `path`, replacing the file there atomically, and only on success.
    // Over the file it was read from, an update holding just the changes is appended to it;
    // when pages or annotations were taken out, and for any other path, the whole document is
    // written, compactly and without what was taken out. A symbolic link stays and the file it
    // names is written; a replaced file keeps its permissions. The document stays usable, with
    // its pages and annotations, and can be written again.
    bool write(const QString &path) const;
    // Writes a protected copy; the open document stays as it was.
    bool write(const QString &path, const PDFWriteOptions &options) const;
    // Writes a new file that replaces nothing: it appears under the first vacant name that
    // `vacant` gives for `wantedPath`, trying the next when another process takes it meanwhile.
    // Returns the name used; empty on failure.
    QString writeNew(const QString &wantedPath, const StagedOutput::VacantName &vacant) const;
    QString writeNew(const QString &wantedPath, const StagedOutput::VacantName &vacant, const PDFWriteOptions &options) const;

    // An independent document holding what this one holds now, encrypted as it is; changes to
    // either leave the other as it was. Null on failure.
    PDFDocument snapshot() const;

    bool operator==(const PDFDocument &other) const { return d == other.d; }

private:
    friend class PDFPage;
    friend class PDFDocumentHold;
    friend class PDFAnnotation;
    friend class PDFOutline;
    friend class PDFTextSearch;
    explicit PDFDocument(std::shared_ptr<PDFDocumentData> data) : d(std::move(data)) {}
    // Copies the page objects of `source` to `index`; both documents' mutexes are held.
    QVector<PDFPage> copyPageObjects(PDFDocumentData &source, const std::vector<int> &objects, int index);
    std::shared_ptr<PDFDocumentData> d;
};
