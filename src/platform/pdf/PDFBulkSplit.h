#pragma once

#include <QString>
#include <QVector>
#include <functional>

// Pages of a file on disk written out as one-page PDFs by several workers, each with its own
// engine instance reading the file, so that a split of thousands of pages neither contends for
// one lock nor waits on the disk file by file.
namespace PDFBulkSplit {

// The path the one-page file of the page at `index` goes to.
using Target = std::function<QString(int index)>;

// Writes every page at `indices` (with its annotations; links between pages are dropped, since
// each file holds one page) to target(index). The files are written plainly, not synced one by
// one: the caller writes into a folder of its own and makes that folder durable as a whole.
// False when the file cannot be opened, needs a password, an index is out of range or a write
// fails; files already written are left for the caller to remove.
bool writePages(const QString &path, const QVector<int> &indices, const Target &target, int workers = 0);

} // namespace PDFBulkSplit
