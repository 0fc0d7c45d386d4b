#pragma once

#include "PFPrintJob.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <memory>

class QPrinter;
class QProgressDialog;
class ViewController;

// File › Print for one document window: the system print dialog (through the modal seam), then
// the print job on a worker thread with a progress dialog whose Cancel stops it. Print to a PDF
// file writes a temporary file beside the target and renames it over the target only when the
// whole job succeeded, so a cancelled or failed run leaves no half-written file behind.
class PFPrintController : public QObject {
    Q_OBJECT
public:
    // Printing to a PDF file renders at this resolution; a printer gets its own, up to a limit.
    static constexpr int kPdfDpi = 300;

    explicit PFPrintController(ViewController *controller);
    ~PFPrintController() override;

    void pfPrintClick();
    bool isPrinting() const { return bool(m_run); }
    QProgressDialog *progressDialog() const;

    // The page numbers (1-based, in print order) the printer's range names among `pageCount`
    // pages, `currentPage` being the one shown.
    static QVector<int> pfPrintedPages(const QPrinter &printer, int currentPage, int pageCount);

signals:
    void printFinished(PFPrintJob::Result result);

private:
    struct Run;
    void start(std::unique_ptr<QPrinter> printer, QVector<PDFPage> pages, PFPrintJob::Settings settings);
    void finish(PFPrintJob::Result result);

    ViewController *m_controller;
    std::shared_ptr<Run> m_run;
    QFutureWatcher<PFPrintJob::Result> m_watcher;
    QPointer<QProgressDialog> m_progress;
};
