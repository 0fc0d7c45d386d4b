// Page operations of the editing view on a large document.
//   pageops_bench reorder FILE.pdf COPY.pdf   seconds to move page 2,000 to the front by the
//                                             page-move command and save COPY.pdf over itself
//   pageops_bench delete FILE.pdf             longest GUI-thread block (ms) while 100 selected
//                                             thumbnails are deleted and the window settles, then
//                                             the GUI thread's own CPU time (ms) for the deletion,
//                                             which other load on the machine does not stretch
// FILE.pdf is only read; the reorder run works on COPY.pdf, which it overwrites.
#include "editing/PFBasePDFView.h"
#include "editing/PFPageCommands.h"
#include "editing/PFThumbnailMenu.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/view/PDFThumbnailView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

int reorder(const QString &source, const QString &copy)
{
    QFile::remove(copy);
    if (!QFile::copy(source, copy))
        return 1;
    PFBasePDFView view;
    view.setDocument(PDFDocument::open(copy));
    const PDFDocument document = view.document();
    if (document.pageCount() < 2000)
        return 1;
    QElapsedTimer timer;
    timer.start();
    if (!view.pfPageCommands()->pfMovePages({document.page(1999)}, 0) || !document.write(copy))
        return 1;
    std::printf("%.3f\n", timer.nsecsElapsed() / 1e9);
    return 0;
}

int deleteHundred(const QString &source)
{
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    auto *view = new PFBasePDFView;
    auto *thumbnails = new PDFThumbnailView;
    layout->addWidget(view, 1);
    layout->addWidget(thumbnails);
    window.resize(1200, 900);
    view->setDocument(PDFDocument::open(source));
    const int before = view->document().pageCount();
    if (before < 300)
        return 1;
    thumbnails->setPDFView(view);
    PFThumbnailMenu menu(view, thumbnails);
    window.show();

    // A 1 ms timer on the GUI thread: the longest gap between its ticks is the longest block.
    QElapsedTimer clock;
    qint64 last = -1, longest = 0;
    bool measuring = false;
    double cpu = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (measuring && last >= 0)
            longest = std::max(longest, now - last);
        last = now;
    });
    clock.start();
    tick.start();
    QTimer::singleShot(1500, [&] {
        QVector<PDFPage> pages;
        for (int i = 100; i < 200; ++i)
            pages.append(view->document().page(i));
        thumbnails->setSelectedPages(pages);
        QCoreApplication::processEvents();
        last = clock.nsecsElapsed();
        measuring = true;
        const double before = threadCpuMs();
        menu.pfEditThumbnailMenuClick(PFThumbnailMenu::Delete);
        cpu = threadCpuMs() - before;
    });
    QTimer::singleShot(4000, [&] { QCoreApplication::quit(); });
    QApplication::exec();
    if (view->document().pageCount() != before - 100)
        return 1;
    std::printf("%.1f %.1f\n", longest / 1e6, cpu);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QByteArray mode = argc > 2 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "reorder" && argc > 3)
        return reorder(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (mode == "delete")
        return deleteHundred(QString::fromLocal8Bit(argv[2]));
    std::fprintf(stderr, "usage: pageops_bench reorder FILE.pdf COPY.pdf | delete FILE.pdf\n");
    return 2;
}
