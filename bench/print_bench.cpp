// Prints pages of a PDF to a PDF file at 300 dpi through the program's print job, as a whole
// process, and prints its peak resident memory as "rss=<MB>".
#include "app/PFPrintJob.h"
#include "pages/PageRange.h"
#include "platform/pdf/PDFDocument.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <cstdio>

namespace {
long peakResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
    return -1;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: print_bench FILE.pdf OUT.pdf RANGE\n");
        return 2;
    }
    const PDFDocument document = PDFDocument::open(QString::fromLocal8Bit(argv[1]));
    if (document.isNull())
        return 1;
    QVector<PDFPage> pages;
    for (int number : PageRange::pages(QString::fromLocal8Bit(argv[3]), document.pageCount()))
        pages.append(document.page(number - 1));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromLocal8Bit(argv[2]));
    printer.setResolution(300);
    const std::atomic_bool cancelled{false};
    const auto result = PFPrintJob(pages, {}).print(printer, cancelled);
    std::printf("rss=%ld\n", peakResidentMegabytes());
    return result == PFPrintJob::Result::Printed ? 0 : 1;
}
