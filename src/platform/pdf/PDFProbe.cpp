#include "PDFProbe.h"

#include "PDFDocument.h"
#include "PDFDocumentPrivate.h"
#include "PDFPageTree.h"

#include <QFile>

namespace {

// Opens the file read-only on this thread's context; nullptr when it is no PDF.
pdf_document *openFile(fz_context *ctx, const QString &path)
{
    const QByteArray file = MuPDF::encodedPath(path);
    pdf_document *doc = nullptr;
    fz_try(ctx) doc = pdf_open_document(ctx, file.constData());
    fz_catch(ctx) doc = nullptr;
    return doc;
}

struct Probe {
    fz_context *ctx = MuPDF::context();
    pdf_document *doc;
    explicit Probe(const QString &path) : doc(openFile(ctx, path)) {}
    ~Probe()
    {
        if (doc)
            pdf_drop_document(ctx, doc);
    }
    bool locked() const
    {
        int needs = 1;
        fz_try(ctx) needs = pdf_needs_password(ctx, doc);
        fz_catch(ctx) needs = 1;
        return needs != 0;
    }
    int pages() const
    {
        return int(PDFPageTree::pageObjects(ctx, doc).size());
    }
};

} // namespace

namespace PDFProbe {

int pageCount(const QString &path)
{
    Probe probe(path);
    return probe.doc && !probe.locked() ? probe.pages() : 0;
}

QRectF firstPageCropBox(const QString &path)
{
    const PDFDocument document = PDFDocument::open(path);
    if (document.isNull() || document.isLocked() || document.pageCount() == 0)
        return {};
    return document.page(0).bounds(PDFDisplayBox::CropBox);
}

bool isEncrypted(const QString &path)
{
    Probe probe(path);
    return probe.doc && probe.doc->crypt;
}

Validity validity(const QString &path)
{
    Probe probe(path);
    if (!probe.doc)
        return CannotOpen;
    if (probe.doc->crypt)
        return Encrypted;
    return probe.pages() > 0 ? Usable : NoPages;
}

bool looksLikePDF(const QString &path)
{
    // Readers accept the header anywhere in the first kilobyte.
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(1024).contains("%PDF-");
}

OpenProblem openProblem(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Unreadable;
    if (file.size() == 0)
        return EmptyFile;
    file.close();
    if (!looksLikePDF(path))
        return NotPDF;
    Probe probe(path);
    if (!probe.doc)
        return Damaged;
    return probe.locked() || probe.pages() > 0 ? NoProblem : Damaged;
}

} // namespace PDFProbe
