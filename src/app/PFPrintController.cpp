#include "PFPrintController.h"

#include "PFModalSeam.h"
#include "ViewController.h"
#include "editing/PFBasePDFView.h"
#include "pages/PageRange.h"
#include "platform/store/Localization.h"
#include "widgets/PFHudView.h"
#include "platform/system/BackgroundPool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProgressDialog>
#include <QTemporaryFile>
#include <QtConcurrent>
#include <cstdio>

namespace {

// Whether two paths name one existing file, through links and relative parts.
bool isSameFile(const QString &a, const QString &b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}

// New files follow the user's umask: read it without changing it (umask(2) would, for every
// thread at once).
QFileDevice::Permissions permissionsForNewFile()
{
    int mask = 022;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("Umask:"))
                mask = line.mid(6).trimmed().toInt(nullptr, 8);
    }
    const int mode = 0666 & ~mask;
    QFileDevice::Permissions permissions;
    const std::pair<int, QFileDevice::Permission> bits[] = {
        {0400, QFileDevice::ReadOwner}, {0200, QFileDevice::WriteOwner}, {0040, QFileDevice::ReadGroup},
        {0020, QFileDevice::WriteGroup}, {0004, QFileDevice::ReadOther}, {0002, QFileDevice::WriteOther}};
    for (const auto &[bit, permission] : bits)
        if (mode & bit)
            permissions |= permission;
    return permissions;
}
} // namespace

struct PFPrintController::Run {
    Run(std::unique_ptr<QPrinter> p, PFPrintJob j) : printer(std::move(p)), job(std::move(j)) {}
    std::unique_ptr<QPrinter> printer;
    PFPrintJob job;
    std::atomic_bool cancelled{false};
    QString target;    // the PDF file the user chose, when printing to a file
    QString temporary; // where it is written until the job has succeeded
};

PFPrintController::PFPrintController(ViewController *controller) : QObject(controller), m_controller(controller)
{
    connect(&m_watcher, &QFutureWatcher<PFPrintJob::Result>::finished, this,
            [this] { finish(m_watcher.result()); });
}

PFPrintController::~PFPrintController()
{
    if (m_run) {
        m_run->cancelled = true;
        m_watcher.waitForFinished();
        if (!m_run->temporary.isEmpty())
            QFile::remove(m_run->temporary);
    }
}

QProgressDialog *PFPrintController::progressDialog() const { return m_progress; }

QVector<int> PFPrintController::pfPrintedPages(const QPrinter &printer, int currentPage, int pageCount)
{
    QVector<int> pages;
    switch (printer.printRange()) {
    case QPrinter::CurrentPage:
        if (currentPage >= 1 && currentPage <= pageCount)
            pages.append(currentPage);
        break;
    case QPrinter::PageRange:
        // The dialog's ranges read by the program's one page-range rule.
        pages = PageRange::pages(printer.pageRanges().toString(), pageCount);
        break;
    default:
        for (int n = 1; n <= pageCount; ++n)
            pages.append(n);
        break;
    }
    if (printer.pageOrder() == QPrinter::LastPageFirst)
        std::reverse(pages.begin(), pages.end());
    return pages;
}

void PFPrintController::pfPrintClick()
{
    PFBasePDFView *view = m_controller->pdfView();
    const PDFDocument document = view->document();
    if (document.isNull() || m_run)
        return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const auto content = m_controller->representedObject();
    const QString name = content ? QFileInfo(content->filePath).completeBaseName() : QString();
    printer->setDocName(name);
    printer->setFromTo(1, document.pageCount());
    PFPrintChoices choices;
    if (!PFModalSeam::current().printSetup(m_controller->window(), *printer, document.pageCount(), choices))
        return;
    if (printer->outputFormat() == QPrinter::PdfFormat && printer->resolution() > kPdfDpi)
        printer->setResolution(kPdfDpi);
    // The dialog proposes the document's own name in the home folder: a printout written there
    // would replace the document it was made from with pictures of its pages.
    if (printer->outputFormat() == QPrinter::PdfFormat && content
        && isSameFile(printer->outputFileName(), content->filePath)) {
        if (PFHudView *hud = PFHudView::showHUDAddedTo(m_controller, pfLocalized("打印件不能替换正在打开的文档")))
            hud->hide(true, PFHudView::kMessageSeconds);
        return;
    }

    const int current = std::max(view->currentPageIndex(), 0) + 1;
    QVector<PDFPage> pages;
    const QVector<int> numbers = choices.pageRangeText.isEmpty()
                                     ? pfPrintedPages(*printer, current, document.pageCount())
                                     : PageRange::pages(choices.pageRangeText, document.pageCount());
    for (int number : numbers)
        pages.append(document.page(number - 1));
    if (pages.isEmpty()) {
        if (PFHudView *hud = PFHudView::showHUDAddedTo(m_controller, pfLocalized("没有要打印的页面")))
            hud->hide(true, PFHudView::kMessageSeconds);
        return;
    }
    PFPrintJob::Settings settings;
    settings.fitToPage = choices.fitToPage;
    settings.copies = printer->copyCount();
    settings.collate = printer->collateCopies();
    const auto &watermark = view->pfWaterModel();
    if (watermark && !watermark->inputText.isEmpty())
        settings.watermark = *watermark;
    start(std::move(printer), std::move(pages), std::move(settings));
}

void PFPrintController::start(std::unique_ptr<QPrinter> printer, QVector<PDFPage> pages, PFPrintJob::Settings settings)
{
    auto run = std::make_shared<Run>(std::move(printer), PFPrintJob(std::move(pages), std::move(settings)));
    if (run->printer->outputFormat() == QPrinter::PdfFormat && !run->printer->outputFileName().isEmpty()) {
        run->target = QFileInfo(run->printer->outputFileName()).absoluteFilePath();
        QTemporaryFile temporary(QFileInfo(run->target).absolutePath() + QStringLiteral("/.quirna-print-XXXXXX"));
        temporary.setAutoRemove(false);
        if (!temporary.open()) {
            finish(PFPrintJob::Result::Failed);
            return;
        }
        run->temporary = temporary.fileName();
        run->printer->setOutputFileName(run->temporary);
    }
    m_run = run;

    const int sheets = int(run->job.sheetOrder(run->printer->supportsMultipleCopies()).size());
    auto *progress = new QProgressDialog(pfLocalized("正在打印…"), pfLocalized("取消"), 0, sheets, m_controller->window());
    progress->setObjectName(QStringLiteral("pfPrintProgress"));
    progress->setWindowTitle(pfLocalized("打印"));
    progress->setWindowModality(Qt::WindowModal);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(0);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    connect(progress, &QProgressDialog::canceled, this, [run] { run->cancelled = true; });
    progress->setValue(0);
    m_progress = progress;

    QPointer<QProgressDialog> shown(progress);
    m_watcher.setFuture(QtConcurrent::run(backgroundPool(), [run, shown, self = QPointer(this)] {
        return run->job.print(*run->printer, run->cancelled, [shown, self](int done, int) {
            QMetaObject::invokeMethod(
                self, [shown, done] { if (shown) shown->setValue(done); }, Qt::QueuedConnection);
        });
    }));
}

void PFPrintController::finish(PFPrintJob::Result result)
{
    if (m_run && !m_run->temporary.isEmpty()) {
        bool published = false;
        if (result == PFPrintJob::Result::Printed) {
            QFile::setPermissions(m_run->temporary, permissionsForNewFile());
            // The user chose the name in the dialog and agreed to replace what was there.
            published = std::rename(QFile::encodeName(m_run->temporary).constData(),
                                    QFile::encodeName(m_run->target).constData()) == 0;
            if (!published)
                result = PFPrintJob::Result::Failed;
        }
        if (!published)
            QFile::remove(m_run->temporary);
    }
    m_run.reset();
    if (m_progress)
        m_progress->close();
    if (result == PFPrintJob::Result::Failed) {
        if (PFHudView *hud = PFHudView::showHUDAddedTo(m_controller, pfLocalized("打印失败")))
            hud->hide(true, PFHudView::kMessageSeconds);
    }
    emit printFinished(result);
}
