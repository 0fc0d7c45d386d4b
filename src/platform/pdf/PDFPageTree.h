#pragma once

// Internal to the PDF engine layer: the pages a document really has.
#include "MuPDFContext.h"

#include <vector>

namespace PDFPageTree {

// The object numbers of the page tree's leaves, in order. A damaged tree may claim any /Count,
// list a page twice and contain cycles: only pages that are there are listed, each node visited
// once, to a bounded depth. Empty on failure; never raises.
std::vector<int> pageObjects(fz_context *ctx, pdf_document *doc);
// Rebuilds a damaged page tree in memory as one node holding the pages pageObjects lists, so
// that the engine's own page numbers, insertions and deletions agree with that list. A sound
// tree is left alone, and true is returned for it. Called on every document before its pages
// are used; never raises.
bool normalise(fz_context *ctx, pdf_document *doc);
// A first look at a tree that reads its inner nodes only: a node that counts as many pages as
// it has kids is taken to list pages, which are not read, so a large file opens without parsing
// every page. Sound when nothing the nodes show is damaged; then `pages` is what pageObjects
// gives, provided isListedPage holds for each page and its parent. Never raises.
struct Skim {
    bool sound = false;
    std::vector<int> pages;
    std::vector<int> parents; // the node that lists each page
};
Skim skim(fz_context *ctx, pdf_document *doc);
bool isListedPage(fz_context *ctx, pdf_document *doc, int page, int parent);
// The number of pages of any opened document, by the same rule for PDFs.
int pageCount(fz_context *ctx, fz_document *doc);
// Opens a file as a PDF, whatever its name, for the bulk workers, each on an engine instance of
// its own, with its page tree normalised; nullptr when it cannot be opened or needs a password.
// *count gets its real page count. Never raises. Walking the whole tree loads nearly every
// object of a large file, so a file that was found sound before, and has not changed since, is
// not walked again. Either way the engine is given the pages' numbers up front, so that neither
// looking up a page nor resolving a link to one reads more of the file than that page.
fz_document *openForReading(fz_context *ctx, const QByteArray &file, int *count);

// What identifies a file's contents cheaply: device, inode, size and modification time.
struct FileStamp {
    unsigned long long device = 0, inode = 0;
    long long size = -1, modifiedNs = 0;
    bool operator==(const FileStamp &) const = default;
    bool isValid() const { return size >= 0; }
};
FileStamp stampOf(const QByteArray &file);
// Notes that `file`, stamped `before` it was opened and unchanged since, has a sound page tree
// whose leaves are `pages` (object numbers, in order).
void rememberSound(const QByteArray &file, const FileStamp &before, const std::vector<int> &pages);

} // namespace PDFPageTree
