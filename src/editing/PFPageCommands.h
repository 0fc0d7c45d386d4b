#pragma once

#include "platform/pdf/PDFPage.h"

#include <QObject>
#include <QVector>

class PFBasePDFView;

// Every change to the page list of the view's document: blank pages before or after a page,
// deleting, moving, rotating, and the page clipboard (cut, copy, paste). Each command is one
// undo step on the view's undo manager; a removed page goes back as itself, with its
// annotations, and the last page of a document is never removed.
class PFPageCommands : public QObject {
    Q_OBJECT
public:
    explicit PFPageCommands(PFBasePDFView *view);

    // Inserts an empty page with the same box before (or after) the page. True when done.
    bool pfInsertPage(const PDFPage &page, bool after);
    // Removes the page; with one page left, says so and keeps it. True when removed.
    bool pfDeletePage(const PDFPage &page);
    // Removes the pages; when they are all the document has, says so and removes none.
    bool pfDeletePages(const QVector<PDFPage> &pages);
    // Moves the pages, in document order, into the gap before the page at index `gap`
    // (the page count for the end). True when the order changed.
    bool pfMovePages(const QVector<PDFPage> &pages, int gap);
    // Turns each page a quarter clockwise; a rotation that is no multiple of 90 counts as 0.
    bool pfRotatePages(const QVector<PDFPage> &pages);

    // The page clipboard: the pages themselves, copied afresh at every paste, so a paste shows
    // them as they are at the time of the paste.
    const QVector<PDFPage> &pfCutPage() const { return m_clipboard; }
    bool pfCopyPages(const QVector<PDFPage> &pages);
    // Copies, then removes (refused like a deletion, and then the clipboard is unchanged).
    bool pfCutPages(const QVector<PDFPage> &pages);
    // Inserts copies of the clipboard before the page at `index`. Returns the new pages.
    QVector<PDFPage> pfPastePages(int index);

signals:
    // The pages a command leaves for the user to see selected (the moved, rotated or pasted
    // pages, or the page in place of deleted ones).
    void pagesChanged(const QVector<PDFPage> &selection);
    void pfCutPageChanged();
    // Pages were turned (or turned back): their shapes changed, so a zoom fitted to the pages
    // no longer fits.
    void pagesRotated();

private:
    // The undoable primitives; each registers its inverse.
    void removeStep(const QVector<PDFPage> &pages);
    void insertStep(const QVector<PDFPage> &pages, const QVector<int> &indices);
    bool orderStep(const QVector<PDFPage> &order, const QVector<PDFPage> &moved);
    void rotateStep(const QVector<PDFPage> &pages, const QVector<int> &rotations);
    // Pages of the view's document that are in its page tree, by index, without repeats.
    QVector<PDFPage> livePages(const QVector<PDFPage> &pages) const;
    QVector<PDFPage> currentOrder() const;
    void refused(const char *message);
    void finish(const QVector<PDFPage> &selection);

    PFBasePDFView *m_view;
    QVector<PDFPage> m_clipboard;
};
