#include "PDFUpdateAppender.h"

#include <QFile>

namespace {

// Copies the whole base file into `out`; used when there is nothing to append.
void copyBase(fz_context *ctx, pdf_document *doc, fz_output *out)
{
    unsigned char chunk[1 << 16];
    fz_seek(ctx, doc->file, 0, SEEK_SET);
    size_t n;
    while ((n = fz_read(ctx, doc->file, chunk, sizeof chunk)) > 0)
        fz_write_data(ctx, out, chunk, n);
}

} // namespace

namespace PDFUpdateAppender {

bool canAppend(fz_context *ctx, pdf_document *doc)
{
    int possible = 0;
    fz_try(ctx) possible = doc->file && pdf_can_be_saved_incrementally(ctx, doc);
    fz_catch(ctx) possible = 0;
    return possible != 0;
}

bool append(fz_context *ctx, pdf_document *doc, const QString &stagedPath)
{
    const QByteArray path = QFile::encodeName(stagedPath);
    pdf_write_options options = pdf_default_write_options;
    options.do_incremental = 1;
    options.do_encrypt = PDF_ENCRYPT_KEEP;
    fz_output *out = nullptr;
    fz_stream *written = nullptr;
    bool ok = true;
    fz_try(ctx)
    {
        // Appending to the empty staged file makes the engine copy its base into it first.
        out = fz_new_output_with_path(ctx, path.constData(), 1);
        pdf_write_document(ctx, doc, out, &options);
        if (fz_tell_output(ctx, out) == 0)
            copyBase(ctx, doc, out); // nothing changed: the file stays as it was
        fz_close_output(ctx, out);
        written = fz_open_file(ctx, path.constData());
    }
    fz_always(ctx) fz_drop_output(ctx, out);
    fz_catch(ctx) ok = false;
    if (!ok)
        return false;
    // The engine now takes the appended update for part of its file: read from the new bytes.
    fz_drop_stream(ctx, doc->file);
    doc->file = written;
    fz_try(ctx)
    {
        fz_seek(ctx, written, 0, SEEK_END);
        doc->file_size = fz_tell(ctx, written);
    }
    fz_catch(ctx) ok = false;
    return ok;
}

} // namespace PDFUpdateAppender
