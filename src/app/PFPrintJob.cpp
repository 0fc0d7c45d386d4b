#include "PFPrintJob.h"

#include "editing/PFWatermarkOverlay.h"
#include "platform/pdf/PDFDisplayList.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

PFPrintJob::PFPrintJob(QVector<PDFPage> pages, Settings settings)
    : m_pages(std::move(pages)), m_settings(std::move(settings))
{
}

QVector<int> PFPrintJob::sheetOrder(bool printerMakesCopies) const
{
    const int copies = printerMakesCopies ? 1 : std::max(1, m_settings.copies);
    QVector<int> order;
    if (m_settings.collate) {
        for (int copy = 0; copy < copies; ++copy)
            for (int i = 0; i < m_pages.size(); ++i)
                order.append(i);
    } else {
        for (int i = 0; i < m_pages.size(); ++i)
            for (int copy = 0; copy < copies; ++copy)
                order.append(i);
    }
    return order;
}

namespace {
QPageLayout::Orientation orientationOf(QSizeF size)
{
    return size.width() > size.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
}
} // namespace

PFPrintJob::Result PFPrintJob::print(QPrinter &printer, const std::atomic_bool &cancelled,
                                     const std::function<void(int, int)> &progress) const
{
    const QVector<int> order = sheetOrder(printer.supportsMultipleCopies());
    if (order.isEmpty())
        return Result::Failed;
    // The paper turns with each page: a landscape page goes on landscape paper.
    printer.setPageOrientation(orientationOf(m_pages[order.first()].displaySize()));
    QPainter painter;
    if (!painter.begin(&printer))
        return Result::Failed;
    Result result = Result::Printed;
    for (int sheet = 0; sheet < order.size(); ++sheet) {
        const PDFPage &page = m_pages[order[sheet]];
        if (sheet > 0) {
            printer.setPageOrientation(orientationOf(page.displaySize()));
            if (!printer.newPage()) {
                result = Result::Failed;
                break;
            }
        }
        if (cancelled) {
            result = Result::Cancelled;
            break;
        }
        if (!printPage(painter, printer, page, cancelled)) {
            result = cancelled ? Result::Cancelled : Result::Failed;
            break;
        }
        if (progress)
            progress(sheet + 1, int(order.size()));
    }
    if (result != Result::Printed)
        printer.abort();
    // Ending the painter flushes the output; a short write is a failure.
    if (!painter.end() && result == Result::Printed)
        result = Result::Failed;
    return result;
}

bool PFPrintJob::printPage(QPainter &painter, QPrinter &printer, const PDFPage &page,
                           const std::atomic_bool &cancelled) const
{
    const std::shared_ptr<PDFDisplayList> list = page.displayList();
    if (!list)
        return false;
    const QSizeF pageSize = list->size(); // points, as displayed (rotation applied)
    if (pageSize.isEmpty())
        return false;
    const int deviceDpi = printer.resolution();
    const int renderDpi = std::min(deviceDpi, kMaxDpi);
    const QRect paper = printer.pageLayout().paintRectPixels(deviceDpi);
    const QSizeF natural = pageSize * (deviceDpi / 72.0);
    double fit = 1.0;
    if (m_settings.fitToPage)
        fit = std::min(paper.width() / natural.width(), paper.height() / natural.height());
    // Device pixels per point on paper, and pixels per point of the rendered image.
    const double deviceScale = deviceDpi / 72.0 * fit;
    const double renderScale = renderDpi / 72.0 * fit;
    const QSize image(std::max(1, int(std::ceil(pageSize.width() * renderScale))),
                      std::max(1, int(std::ceil(pageSize.height() * renderScale))));
    const QSizeF target = pageSize * deviceScale;
    const QPointF origin((paper.width() - target.width()) / 2.0, (paper.height() - target.height()) / 2.0);
    const double toDevice = deviceScale / renderScale;

    const int bandHeight = int(std::clamp<qint64>(kBandPixels / image.width(), 1, image.height()));
    for (int top = 0; top < image.height(); top += bandHeight) {
        if (cancelled)
            return false;
        const QRect band(0, top, image.width(), std::min(bandHeight, image.height() - top));
        QImage pixels = list->render(renderScale, band);
        if (pixels.isNull())
            return false;
        if (m_settings.watermark) {
            QPainter overlay(&pixels);
            PFWatermarkOverlay::draw(overlay, page, page.pageToDisplay(renderScale) * QTransform::fromTranslate(0, -top),
                                     *m_settings.watermark);
        }
        painter.drawImage(QRectF(origin.x(), origin.y() + top * toDevice, band.width() * toDevice,
                                 band.height() * toDevice),
                          pixels);
    }
    return true;
}
