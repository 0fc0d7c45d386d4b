#include "PDFPageRaster.h"

#include <new>

PDFPageRaster::PDFPageRaster(QSemaphore &budget, qint64 maxPixels) : m_budget(budget), m_maxPixels(maxPixels) {}

PDFPageRaster::~PDFPageRaster() { release(); }

void PDFPageRaster::release()
{
    m_samples.reset();
    if (m_held > 0)
        m_budget.release(int(m_held));
    m_held = 0;
}

bool PDFPageRaster::hold(qint64 pixels)
{
    // The buffer is reused unless it is too small, or more than twice the size needed, when it
    // would keep budget from the other workers for nothing.
    if (pixels <= m_held && pixels * 2 >= m_held)
        return true;
    // Nothing is held while waiting, so two workers never wait for each other.
    release();
    m_budget.acquire(int(pixels));
    m_held = pixels;
    m_samples.reset(new (std::nothrow) unsigned char[size_t(pixels) * 3]);
    if (!m_samples)
        release();
    return m_samples != nullptr;
}

QImage PDFPageRaster::render(fz_context *ctx, fz_document *doc, int index, float scale)
{
    const fz_matrix ctm = fz_scale(scale, scale);
    fz_page *page = nullptr;
    fz_irect box = fz_empty_irect;
    fz_try(ctx)
    {
        page = fz_load_page(ctx, doc, index);
        box = fz_round_rect(fz_transform_rect(fz_bound_page(ctx, page), ctm));
    }
    fz_catch(ctx) box = fz_empty_irect;
    const qint64 width = qint64(box.x1) - box.x0;
    const qint64 height = qint64(box.y1) - box.y0;
    if (width <= 0 || height <= 0 || width * height > m_maxPixels || !hold(width * height)) {
        fz_drop_page(ctx, page);
        return {};
    }
    fz_pixmap *pixmap = nullptr;
    fz_device *device = nullptr;
    bool drawn = false;
    fz_try(ctx)
    {
        // The pixmap draws into this raster's buffer, and leaves it there when dropped.
        pixmap = fz_new_pixmap_with_bbox_and_data(ctx, fz_device_rgb(ctx), box, nullptr, 0, m_samples.get());
        fz_clear_pixmap_with_value(ctx, pixmap, 0xff);
        device = fz_new_draw_device(ctx, ctm, pixmap);
        fz_run_page(ctx, page, device, fz_identity, nullptr);
        fz_close_device(ctx, device);
        drawn = true;
    }
    fz_always(ctx)
    {
        fz_drop_device(ctx, device);
        fz_drop_pixmap(ctx, pixmap);
        fz_drop_page(ctx, page);
    }
    fz_catch(ctx) drawn = false;
    if (!drawn)
        return {};
    return QImage(m_samples.get(), int(width), int(height), width * 3, QImage::Format_RGB888);
}
