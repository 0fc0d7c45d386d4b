#pragma once

// Internal to the PDF engine layer.
#include "PDFDocumentPrivate.h"
#include "PDFWriteOptions.h"
#include "platform/system/StagedOutput.h"

// Every write of a document to a file. Nothing is written in place: the file is made under a
// hidden name beside its target, flushed to disk and then renamed.
//
// Which bytes are written: over the file the document was read from, an incremental update is
// appended to the bytes it was read from, as long as nothing taken out of the document would
// stay readable that way; otherwise, and for every other target, the whole document is written,
// re-packed compactly when it came from a file (object streams, unreferenced objects dropped,
// removed pages and annotations erased). A document built in memory is written as it is.
namespace PDFAtomicWriter {

// Writes to `path`, replacing what is there: through a symbolic link, the file it names; an
// existing file keeps its permissions. With `protection`, an encrypted copy is written from a
// snapshot, so the document itself never takes on the encryption. False, and the target
// untouched, on any failure.
bool write(PDFDocumentData &d, const QString &path, const PDFWriteOptions *protection);
// Writes a new file and publishes it under the first vacant name of the sequence, replacing
// nothing. Returns the name used, or an empty text on failure.
QString publish(PDFDocumentData &d, const QString &wantedPath, const StagedOutput::VacantName &vacant,
                const PDFWriteOptions *protection);
// A fresh, independent document holding what `doc` holds now; encrypted like it when
// `keepEncryption` (and then unlocked with `password`). nullptr on failure.
// The document written whole and encrypted as it is; empty when it is not encrypted or on failure.
QByteArray encryptedBytes(fz_context *ctx, pdf_document *doc);
pdf_document *snapshot(fz_context *ctx, pdf_document *doc, bool keepEncryption, const QByteArray &password);

} // namespace PDFAtomicWriter
