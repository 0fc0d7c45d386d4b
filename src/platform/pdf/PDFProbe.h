#pragma once

#include <QRectF>
#include <QString>

// Cheap questions about a PDF file on disk, answered without keeping it open.
namespace PDFProbe {

enum Validity { Usable = 0, CannotOpen = 1, Encrypted = 2, NoPages = 3 };
// Why a file cannot be shown, for the message that tells the user.
enum OpenProblem { NoProblem, Unreadable, EmptyFile, NotPDF, Damaged };

// Number of pages; 0 when the file cannot be opened (or is locked).
int pageCount(const QString &path);
// Crop box of the first page in PDF user space; an all-zero rectangle when unavailable.
QRectF firstPageCropBox(const QString &path);
// True when the file is encrypted (whether or not it needs a password to open).
bool isEncrypted(const QString &path);
// The validity code above; the encryption test comes before the page count.
Validity validity(const QString &path);
// True when the file starts as a PDF does, whatever its name ends with.
bool looksLikePDF(const QString &path);
// What keeps the file from being shown: unreadable, empty, no PDF, or no page that can be read.
// A locked file is no problem here: it needs its password.
OpenProblem openProblem(const QString &path);

} // namespace PDFProbe
