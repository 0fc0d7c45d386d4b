#include "MuPDFContext.h"

#include <cstdlib>
#include <malloc.h>
#include <mutex>

namespace {

struct Locks {
    std::mutex mutexes[FZ_LOCK_MAX];
    fz_locks_context context{this, [](void *user, int lock) { static_cast<Locks *>(user)->mutexes[lock].lock(); },
                             [](void *user, int lock) { static_cast<Locks *>(user)->mutexes[lock].unlock(); }};
};

constexpr size_t kStoreBytes = 128u << 20;

// Bytes the engine allocated minus those it freed on this thread, so that the cost of one
// piece of work (recording a page) can be told from the difference before and after it.
thread_local qint64 t_allocated = 0;

void *countedMalloc(void *, size_t size)
{
    void *p = std::malloc(size);
    if (p)
        t_allocated += qint64(malloc_usable_size(p));
    return p;
}

void *countedRealloc(void *, void *old, size_t size)
{
    const qint64 before = old ? qint64(malloc_usable_size(old)) : 0;
    void *p = std::realloc(old, size);
    if (p)
        t_allocated += qint64(malloc_usable_size(p)) - before;
    else if (size == 0)
        t_allocated -= before;
    return p;
}

void countedFree(void *, void *p)
{
    if (p)
        t_allocated -= qint64(malloc_usable_size(p));
    std::free(p);
}

fz_alloc_context counted{nullptr, countedMalloc, countedRealloc, countedFree};

// Nothing is logged: failures reach callers as return values.
void silence(fz_context *ctx)
{
    fz_set_error_callback(ctx, [](void *, const char *) {}, nullptr);
    fz_set_warning_callback(ctx, [](void *, const char *) {}, nullptr);
}

// Without locks or allocator (null) the engine's defaults apply: no locking, plain malloc.
fz_context *makeContext(const fz_alloc_context *alloc, const fz_locks_context *locks)
{
    fz_context *ctx = fz_new_context(alloc, locks, kStoreBytes);
    if (!ctx)
        return nullptr;
    fz_try(ctx) fz_register_document_handlers(ctx);
    fz_catch(ctx) {}
    silence(ctx);
    return ctx;
}

// The base context lives for the whole process; it is never dropped so that no thread's clone
// can outlive it.
fz_context *baseContext()
{
    static Locks *locks = new Locks;
    static fz_context *base = makeContext(&counted, &locks->context);
    return base;
}

struct ThreadContext {
    fz_context *ctx = nullptr;
    ~ThreadContext()
    {
        if (ctx)
            fz_drop_context(ctx);
    }
};

} // namespace

namespace MuPDF {

fz_context *context()
{
    thread_local ThreadContext local;
    if (!local.ctx) {
        local.ctx = fz_clone_context(baseContext());
        if (local.ctx)
            silence(local.ctx);
    }
    return local.ctx;
}

qint64 threadAllocatedBytes() { return t_allocated; }

// One thread only ever uses it, so it takes no locks: measured on refman.pdf, the uncontended
// lock and unlock around every allocation were a seventh of the instructions of text extraction.
IndependentContext::IndependentContext() : m_ctx(makeContext(nullptr, nullptr)) {}

IndependentContext::~IndependentContext()
{
    if (m_ctx)
        fz_drop_context(m_ctx);
}

} // namespace MuPDF
