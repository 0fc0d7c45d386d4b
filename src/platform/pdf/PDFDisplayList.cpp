#include "PDFDisplayListPrivate.h"

#include <algorithm>
#include <cmath>
#include <sys/mman.h>

namespace {

// Images this large get pages of their own from the system, given back the moment the image
// is dropped; from the allocator they would stay in the heap of the thread that rendered them.
constexpr qsizetype kMappedBytes = 128 * 1024;

QImage opaqueImage(QSize size)
{
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    const qsizetype bytes = bytesPerLine * size.height();
    if (size.isEmpty() || bytes / bytesPerLine != size.height())
        return {};
    if (bytes < kMappedBytes)
        return QImage(size, QImage::Format_RGB32);
    void *pixels = mmap(nullptr, size_t(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pixels == MAP_FAILED)
        return {};
    return QImage(
        static_cast<uchar *>(pixels), size.width(), size.height(), bytesPerLine, QImage::Format_RGB32,
        [](void *info) {
            auto *mapping = static_cast<std::pair<void *, size_t> *>(info);
            munmap(mapping->first, mapping->second);
            delete mapping;
        },
        new std::pair<void *, size_t>(pixels, size_t(bytes)));
}

} // namespace

struct PDFRenderCookie::Impl {
    fz_cookie cookie = {};
};

PDFRenderCookie::PDFRenderCookie() : m_impl(std::make_unique<Impl>()) {}
PDFRenderCookie::~PDFRenderCookie() = default;
// MuPDF polls this plain integer while it renders; a torn read only delays the stop.
void PDFRenderCookie::cancel() { m_impl->cookie.abort = 1; }
bool PDFRenderCookie::isCancelled() const { return m_impl->cookie.abort != 0; }

PDFDisplayList::Impl::~Impl()
{
    if (list)
        fz_drop_display_list(MuPDF::context(), list);
}

std::unique_ptr<PDFDisplayList::Impl> recordPage(fz_context *ctx, pdf_page *page)
{
    auto impl = std::make_unique<PDFDisplayList::Impl>();
    fz_display_list *list = nullptr;
    fz_rect bounds = fz_empty_rect;
    const qint64 before = MuPDF::threadAllocatedBytes();
    fz_try(ctx)
    {
        bounds = fz_bound_page(ctx, &page->super);
        list = fz_new_display_list_from_page(ctx, &page->super);
    }
    fz_catch(ctx) list = nullptr;
    if (!list)
        return nullptr;
    impl->list = list;
    impl->bounds = bounds;
    // What the recording kept: the list, and the fonts and images it was first to load.
    impl->bytes = std::max<qint64>(MuPDF::threadAllocatedBytes() - before, PDFDisplayList::kMinimumBytes);
    return impl;
}

PDFDisplayList::PDFDisplayList(std::unique_ptr<Impl> impl, QSizeF size) : m_impl(std::move(impl)), m_size(size) {}
PDFDisplayList::~PDFDisplayList() = default;

qint64 PDFDisplayList::bytes() const { return m_impl->bytes; }

QImage PDFDisplayList::render(double scale) const
{
    const double width = std::ceil(m_size.width() * scale), height = std::ceil(m_size.height() * scale);
    if (!(width * height <= double(kMaxPixels)))
        return {};
    const QRect whole(0, 0, int(width), int(height));
    return render(scale, whole);
}

QImage PDFDisplayList::render(double scale, const QRect &clip, PDFRenderCookie *cookie, const QColor &background) const
{
    if (clip.isEmpty() || scale <= 0 || (cookie && cookie->isCancelled())
        || qint64(clip.width()) * clip.height() > kMaxPixels)
        return {};
    // Drawn straight in the layout of the window's own surface (B, G, R, opaque alpha in memory),
    // so showing it is a plain copy.
    QImage image = opaqueImage(clip.size());
    if (image.isNull())
        return {};
    image.fill(background.rgb());

    fz_context *ctx = MuPDF::context();
    // The page's displayed origin may not be (0, 0): move it there before scaling.
    const fz_matrix ctm = fz_concat(fz_translate(-m_impl->bounds.x0, -m_impl->bounds.y0), fz_scale(float(scale), float(scale)));
    fz_pixmap *pixmap = nullptr;
    fz_device *device = nullptr;
    bool ok = true;
    fz_try(ctx)
    {
        pixmap = fz_new_pixmap_with_data(ctx, fz_device_bgr(ctx), image.width(), image.height(), nullptr, 1,
                                         int(image.bytesPerLine()), image.bits());
        pixmap->x = clip.x();
        pixmap->y = clip.y();
        device = fz_new_draw_device(ctx, fz_identity, pixmap);
        const fz_rect area = fz_make_rect(float(clip.left()), float(clip.top()), float(clip.left() + clip.width()),
                                          float(clip.top() + clip.height()));
        fz_run_display_list(ctx, m_impl->list, device, ctm, area, cookie ? &cookie->m_impl->cookie : nullptr);
        fz_close_device(ctx, device);
    }
    fz_always(ctx)
    {
        fz_drop_device(ctx, device);
        fz_drop_pixmap(ctx, pixmap);
    }
    fz_catch(ctx) ok = false;
    if (!ok || (cookie && cookie->isCancelled()))
        return {};
    return image;
}
