#pragma once

// Internal to the PDF engine layer: never included by a public header.
extern "C" {
#include <mupdf/fitz.h>
#include <mupdf/pdf.h>
}

#include <QString>
#include <mutex>

namespace MuPDF {

// This thread's context: a clone of the one base context, made on first use in each thread.
fz_context *context();

// A context of its own (own store, no locks) for bulk work on an independent document, so that
// workers never contend for the shared allocation lock. Only the thread that made it may use
// it, or anything opened with it.
class IndependentContext {
public:
    IndependentContext();
    ~IndependentContext();
    IndependentContext(const IndependentContext &) = delete;
    IndependentContext &operator=(const IndependentContext &) = delete;
    fz_context *get() const { return m_ctx; }

private:
    fz_context *m_ctx;
};

// What the engine allocated minus what it freed on the calling thread, in bytes, since the
// thread started; only differences between two readings mean anything.
qint64 threadAllocatedBytes();

inline QByteArray encodedPath(const QString &path) { return path.toUtf8(); }

} // namespace MuPDF
