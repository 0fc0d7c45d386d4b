#include "PDFAtomicWriter.h"

#include "PDFRepacker.h"
#include "PDFUpdateAppender.h"

#include <QFileInfo>

namespace {

enum class Form { Update, Compact, Plain, Protected };

pdf_write_options plainOptions()
{
    pdf_write_options options = pdf_default_write_options;
    // No garbage collection: it would renumber or free objects that the open document still
    // refers to (annotations kept for undo, for instance). Compact rewrites collect on a copy.
    options.do_garbage = 0;
    options.do_compress = 1;
    options.do_compress_images = 1;
    options.do_compress_fonts = 1;
    options.do_encrypt = PDF_ENCRYPT_KEEP;
    return options;
}

pdf_write_options protectedOptions(const PDFWriteOptions &protection)
{
    pdf_write_options options = plainOptions();
    options.do_garbage = 1; // a throw-away snapshot: unused objects may go
    options.do_encrypt = PDF_ENCRYPT_AES_256;
    int permissions = ~0 & ~3; // bits 1 and 2 are reserved and must be 0
    if (!protection.allowPrint)
        permissions &= ~(PDF_PERM_PRINT | PDF_PERM_PRINT_HQ);
    if (!protection.allowCopy)
        permissions &= ~PDF_PERM_COPY;
    options.permissions = permissions;
    const QByteArray user = protection.userPassword.toUtf8().left(127);
    const QByteArray owner = protection.ownerPassword.toUtf8().left(127);
    qstrncpy(options.upwd_utf8, user.constData(), sizeof options.upwd_utf8);
    qstrncpy(options.opwd_utf8, owner.constData(), sizeof options.opwd_utf8);
    return options;
}

bool writeToOutput(fz_context *ctx, pdf_document *doc, fz_output *out, const pdf_write_options *options)
{
    bool ok = true;
    fz_try(ctx)
    {
        pdf_write_document(ctx, doc, out, options);
        fz_close_output(ctx, out);
    }
    fz_always(ctx) fz_drop_output(ctx, out);
    fz_catch(ctx) ok = false;
    return ok;
}

bool writeToFile(fz_context *ctx, pdf_document *doc, const QString &path, const pdf_write_options *options)
{
    const QByteArray file = QFile::encodeName(path);
    fz_output *out = nullptr;
    fz_try(ctx) out = fz_new_output_with_path(ctx, file.constData(), 0);
    fz_catch(ctx) return false;
    return writeToOutput(ctx, doc, out, options);
}

// The whole document as the engine writes it, in memory; nullptr on failure.
fz_buffer *writeToBuffer(fz_context *ctx, pdf_document *doc, const pdf_write_options *options)
{
    fz_buffer *buffer = nullptr;
    fz_output *out = nullptr;
    fz_try(ctx)
    {
        buffer = fz_new_buffer(ctx, 1 << 16);
        out = fz_new_output_with_buffer(ctx, buffer);
    }
    fz_catch(ctx)
    {
        fz_drop_buffer(ctx, buffer);
        return nullptr;
    }
    if (!writeToOutput(ctx, doc, out, options)) {
        fz_drop_buffer(ctx, buffer);
        return nullptr;
    }
    return buffer;
}

pdf_document *openBuffer(fz_context *ctx, fz_buffer *buffer, const QByteArray &password)
{
    fz_stream *stream = nullptr;
    pdf_document *copy = nullptr;
    fz_try(ctx)
    {
        stream = fz_open_buffer(ctx, buffer);
        copy = pdf_open_document_with_stream(ctx, stream);
        if (pdf_needs_password(ctx, copy) && !pdf_authenticate_password(ctx, copy, password.constData()))
            fz_throw(ctx, FZ_ERROR_GENERIC, "password");
    }
    fz_always(ctx) fz_drop_stream(ctx, stream);
    fz_catch(ctx)
    {
        pdf_drop_document(ctx, copy);
        copy = nullptr;
    }
    return copy;
}

// The whole document, re-packed compactly, with the objects taken out of it erased. Should the
// re-packing fail, the engine collects the garbage itself on a copy, which is larger but just
// as clean.
bool writeCompact(fz_context *ctx, PDFDocumentData &d, const QString &path)
{
    const pdf_write_options options = plainOptions();
    fz_buffer *buffer = writeToBuffer(ctx, d.doc, &options);
    if (!buffer)
        return false;
    std::vector<PDFRepacker::ObjectId> erased;
    for (int object : d.removedObjects()) {
        int generation = 0;
        fz_try(ctx) generation = pdf_get_xref_entry_no_null(ctx, d.doc, object)->gen;
        fz_catch(ctx) generation = 0;
        erased.push_back({object, generation});
    }
    bool ok = PDFRepacker::repack(buffer->data, buffer->len, d.password, erased, path, d.encryptLike);
    // Without qpdf, a snapshot that must be encrypted like its document cannot be written.
    if (!ok && d.encryptLike.isEmpty()) {
        pdf_document *copy = openBuffer(ctx, buffer, d.password);
        if (copy) {
            pdf_write_options collect = plainOptions();
            collect.do_garbage = 1;
            ok = true;
            fz_try(ctx) for (const PDFRepacker::ObjectId &id : erased) pdf_update_object(ctx, copy, id.number, PDF_NULL);
            fz_catch(ctx) ok = false;
            ok = ok && writeToFile(ctx, copy, path, &collect);
            pdf_drop_document(ctx, copy);
        }
    }
    fz_drop_buffer(ctx, buffer);
    return ok;
}

bool writeForm(PDFDocumentData &d, Form form, const QString &path, const PDFWriteOptions *protection)
{
    fz_context *ctx = MuPDF::context();
    switch (form) {
    case Form::Update:
        if (PDFUpdateAppender::append(ctx, d.doc, path))
            return true;
        d.appendBlocked = true; // the engine's idea of its base may be off now
        return writeCompact(ctx, d, path);
    case Form::Compact:
        return writeCompact(ctx, d, path);
    case Form::Plain: {
        const pdf_write_options options = plainOptions();
        return writeToFile(ctx, d.doc, path, &options);
    }
    case Form::Protected: {
        pdf_document *copy = PDFAtomicWriter::snapshot(ctx, d.doc, false, d.password);
        if (!copy)
            return false;
        const pdf_write_options options = protectedOptions(*protection);
        const bool ok = writeToFile(ctx, copy, path, &options);
        pdf_drop_document(ctx, copy);
        return ok;
    }
    }
    return false;
}

Form rewriteForm(const PDFDocumentData &d)
{
    return d.compactRewrites || !d.encryptLike.isEmpty() ? Form::Compact : Form::Plain;
}

} // namespace

namespace PDFAtomicWriter {

bool write(PDFDocumentData &d, const QString &path, const PDFWriteOptions *protection)
{
    const QString target = StagedOutput::resolvedTarget(path);
    if (target.isEmpty() || QFileInfo(target).isDir())
        return false;
    const bool ownFile = !d.path.isEmpty() && target == StagedOutput::resolvedTarget(d.path);
    Form form = protection ? Form::Protected : rewriteForm(d);
    if (form != Form::Protected && ownFile && !d.appendBlocked && PDFUpdateAppender::canAppend(MuPDF::context(), d.doc)
        && d.removedObjects().empty())
        form = Form::Update;

    StagedOutput staged(target, StagedOutput::Kind::File);
    if (!staged.isValid() || !writeForm(d, form, staged.path(), protection) || !staged.replace(target))
        return false;
    // A rewritten file no longer starts with the bytes the document was read from.
    if (ownFile && form != Form::Update && form != Form::Protected)
        d.appendBlocked = true;
    return true;
}

QString publish(PDFDocumentData &d, const QString &wantedPath, const StagedOutput::VacantName &vacant,
                const PDFWriteOptions *protection)
{
    StagedOutput staged(wantedPath, StagedOutput::Kind::File);
    if (!staged.isValid() || !writeForm(d, protection ? Form::Protected : rewriteForm(d), staged.path(), protection))
        return {};
    return staged.publish(vacant);
}

QByteArray encryptedBytes(fz_context *ctx, pdf_document *doc)
{
    if (!doc->crypt)
        return {};
    pdf_write_options options = plainOptions();
    fz_buffer *buffer = writeToBuffer(ctx, doc, &options);
    if (!buffer)
        return {};
    const QByteArray bytes(reinterpret_cast<const char *>(buffer->data), qsizetype(buffer->len));
    fz_drop_buffer(ctx, buffer);
    return bytes;
}

pdf_document *snapshot(fz_context *ctx, pdf_document *doc, bool keepEncryption, const QByteArray &password)
{
    pdf_write_options options = plainOptions();
    if (!keepEncryption)
        options.do_encrypt = PDF_ENCRYPT_NONE;
    fz_buffer *buffer = writeToBuffer(ctx, doc, &options);
    if (!buffer)
        return nullptr;
    pdf_document *copy = openBuffer(ctx, buffer, password);
    fz_drop_buffer(ctx, buffer);
    return copy;
}

} // namespace PDFAtomicWriter
