#pragma once

#include <QObject>

class PDFPage;
class PFBasePDFView;

// The page items of the view's context menu: a blank page before or after a page, and
// deleting a page, never the last one.
class PFPageCommands : public QObject {
    Q_OBJECT
public:
    explicit PFPageCommands(PFBasePDFView *view);

    // Inserts an empty page with the same box before (or after) the page. True when done.
    bool pfInsertPage(const PDFPage &page, bool after);
    // Removes the page; with one page left, says so and keeps it. True when removed.
    bool pfDeletePage(const PDFPage &page);

private:
    PFBasePDFView *m_view;
};
