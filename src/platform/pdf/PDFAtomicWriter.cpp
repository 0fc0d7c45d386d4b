#include "PDFAtomicWriter.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

pdf_write_options plainOptions()
{
    pdf_write_options options = pdf_default_write_options;
    // No garbage collection: it would renumber or free objects that the open document still
    // refers to (annotations kept for undo, for instance).
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

// A fresh, independent document holding what `doc` holds now.
pdf_document *snapshot(fz_context *ctx, pdf_document *doc)
{
    fz_buffer *buffer = nullptr;
    fz_output *out = nullptr;
    fz_stream *stream = nullptr;
    pdf_document *copy = nullptr;
    pdf_write_options options = plainOptions();
    options.do_encrypt = PDF_ENCRYPT_NONE;
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
    if (!writeToOutput(ctx, doc, out, &options)) {
        fz_drop_buffer(ctx, buffer);
        return nullptr;
    }
    fz_try(ctx)
    {
        stream = fz_open_buffer(ctx, buffer);
        copy = pdf_open_document_with_stream(ctx, stream);
    }
    fz_always(ctx)
    {
        fz_drop_stream(ctx, stream);
        fz_drop_buffer(ctx, buffer);
    }
    fz_catch(ctx) copy = nullptr;
    return copy;
}

bool syncFile(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

namespace PDFAtomicWriter {

bool write(fz_context *ctx, pdf_document *doc, const QString &path, const PDFWriteOptions *protection)
{
    const QFileInfo target(path);
    if (target.isDir())
        return false;
    QByteArray temp = QDir(target.absolutePath()).filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())).toUtf8();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    ::close(fd);
    // Keep an existing file's permissions.
    if (target.exists())
        QFile::setPermissions(QString::fromUtf8(temp), QFile::permissions(path));
    else
        QFile::setPermissions(QString::fromUtf8(temp), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

    pdf_document *source = protection ? snapshot(ctx, doc) : doc;
    bool ok = source != nullptr;
    if (ok) {
        const pdf_write_options options = protection ? protectedOptions(*protection) : plainOptions();
        fz_output *out = nullptr;
        fz_try(ctx) out = fz_new_output_with_path(ctx, temp.constData(), 0);
        fz_catch(ctx) out = nullptr;
        ok = out && writeToOutput(ctx, source, out, &options);
    }
    if (protection && source)
        pdf_drop_document(ctx, source);

    ok = ok && syncFile(temp) && ::rename(temp.constData(), path.toUtf8().constData()) == 0;
    if (!ok)
        ::unlink(temp.constData());
    else
        syncFile(target.absolutePath().toUtf8()); // make the rename itself durable
    return ok;
}

} // namespace PDFAtomicWriter
