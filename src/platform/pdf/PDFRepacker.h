#pragma once

// Internal to the PDF engine layer: the one place that uses qpdf.
#include <QByteArray>
#include <QString>
#include <vector>

// Re-packs a complete PDF compactly: objects grouped into compressed object streams, only
// what the document still refers to kept, every object in `erased` replaced by null first (so
// a removed page or note is gone even where something still pointed at it). An encrypted file
// keeps its encryption; `password` opens it. With `encryptLike` (a PDF opened by the same
// password), the result is encrypted as that file is instead. Writes `path`; false on failure.
// Never throws.
namespace PDFRepacker {

struct ObjectId {
    int number;
    int generation;
};

bool repack(const unsigned char *pdf, size_t size, const QByteArray &password, const std::vector<ObjectId> &erased,
            const QString &path, const QByteArray &encryptLike = {});

} // namespace PDFRepacker
