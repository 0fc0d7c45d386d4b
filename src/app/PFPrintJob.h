#pragma once

#include "pages/PFWatermarkModel.h"
#include "platform/pdf/PDFPage.h"

#include <QVector>
#include <atomic>
#include <functional>
#include <optional>

class QPainter;
class QPrinter;

// One print run: the chosen pages rendered by the PDF engine at the printer's resolution, in
// bands of bounded size, with their annotations and the watermark in force, onto the printer.
// It touches no widget, so it runs on a worker thread while the window stays responsive.
class PFPrintJob {
public:
    enum class Result { Printed, Cancelled, Failed };
    // At most this many pixels are rendered at once, whatever the page and resolution.
    static constexpr qint64 kBandPixels = 4 * 1024 * 1024;
    // Pages are never rendered finer than this; a 1200 dpi printer gets them scaled up.
    static constexpr int kMaxDpi = 600;

    struct Settings {
        bool fitToPage = true; // else actual size, centred on the paper
        int copies = 1;        // made here when the printer cannot make them itself
        bool collate = true;
        std::optional<PFWatermarkModel> watermark;
    };

    PFPrintJob(QVector<PDFPage> pages, Settings settings);

    // Prints every page; `progress(done, total)` follows each sheet and `cancelled` is looked
    // at between bands. The printer must be set up and not yet begun.
    Result print(QPrinter &printer, const std::atomic_bool &cancelled,
                 const std::function<void(int done, int total)> &progress = {}) const;

    // Indices into the job's pages, one per sheet, in print order.
    QVector<int> sheetOrder(bool printerMakesCopies) const;

private:
    bool printPage(QPainter &painter, QPrinter &printer, const PDFPage &page, const std::atomic_bool &cancelled) const;

    QVector<PDFPage> m_pages;
    Settings m_settings;
};
