#include "MuPDFContext.h"

#include <mutex>

namespace MuPDF {
struct Locks {
    std::mutex mutexes[FZ_LOCK_MAX];
    fz_locks_context context{this, [](void *user, int lock) { static_cast<Locks *>(user)->mutexes[lock].lock(); },
                             [](void *user, int lock) { static_cast<Locks *>(user)->mutexes[lock].unlock(); }};
};
} // namespace MuPDF

namespace {
using MuPDF::Locks;
constexpr size_t kStoreBytes = 128u << 20;

// Nothing is logged: failures reach callers as return values.
void silence(fz_context *ctx)
{
    fz_set_error_callback(ctx, [](void *, const char *) {}, nullptr);
    fz_set_warning_callback(ctx, [](void *, const char *) {}, nullptr);
}

fz_context *makeContext(Locks *locks)
{
    fz_context *ctx = fz_new_context(nullptr, &locks->context, kStoreBytes);
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
    static fz_context *base = makeContext(locks);
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

IndependentContext::IndependentContext() : m_locks(new Locks), m_ctx(makeContext(m_locks)) {}

IndependentContext::~IndependentContext()
{
    if (m_ctx)
        fz_drop_context(m_ctx);
    delete m_locks;
}

} // namespace MuPDF
