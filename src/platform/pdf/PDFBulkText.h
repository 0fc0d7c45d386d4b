#pragma once

#include <QString>
#include <QStringList>

// Text of every page of a file on disk, read by several workers each with its own engine
// instance, merged in page order. Empty when the file cannot be read.
namespace PDFBulkText {
QStringList textOfAllPages(const QString &path, int workers = 0);
}
