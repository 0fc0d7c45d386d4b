// Renders pages 1-50 of refman.pdf through the view's tile renderer at 100 % and 200 % and
// compares the wall time with `mutool draw` doing the same pages at the same resolutions.
#include "platform/pdf/PDFDocument.h"
#include "platform/view/PDFTileRenderer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QThread>
#include <cmath>
#include <cstdio>

namespace {

const QString kRefman = QStringLiteral("/usr/share/R/doc/manual/refman.pdf");
constexpr int kPages = 50;

double ours(double scale)
{
    const PDFDocument document = PDFDocument::open(kRefman);
    if (document.isNull())
        return -1;
    PDFTileRenderer renderer(ThreadPriority::Urgency::Shown);
    QImage target(1, 1, QImage::Format_RGB32);
    QPainter painter(&target);
    QElapsedTimer timer;
    timer.start();
    // One frame asks for every tile of the 50 pages; the pool renders them while we wait.
    renderer.beginFrame();
    for (int i = 0; i < kPages; ++i) {
        const PDFPage page = document.page(i);
        const QSizeF size = page.displaySize() * scale;
        const QRect rect(0, 0, int(std::lround(size.width())), int(std::lround(size.height())));
        renderer.paintPage(painter, page, i, rect, rect, scale, 1.0);
    }
    renderer.endFrame();
    while (renderer.pendingTiles() > 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return timer.nsecsElapsed() / 1e9;
}

double peer(int dpi)
{
    QElapsedTimer timer;
    timer.start();
    QProcess mutool;
    mutool.start(QStringLiteral("mutool"), {QStringLiteral("draw"), QStringLiteral("-q"), QStringLiteral("-r"),
                                            QString::number(dpi), QStringLiteral("-o"), QStringLiteral("/dev/null"),
                                            kRefman, QStringLiteral("1-%1").arg(kPages)});
    if (!mutool.waitForFinished(600000) || mutool.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

void report(const char *name, double scale, int dpi)
{
    const double a = ours(scale);
    const double b = peer(dpi);
    std::printf("BENCH %s ours=%.3f peer=%.3f ratio=%.2f\n", name, a, b, b > 0 ? a / b : 0.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    report("render-100-refman", 1.0, 72);
    report("render-200-refman", 2.0, 144);
    return 0;
}
