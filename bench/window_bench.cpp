// Opens a PDF in the real document window, the way the quirna executable does, and measures it.
//   window_bench first-paint FILE.pdf   seconds from process start to page 1 fully painted
//   window_bench stall FILE.pdf PAGES [busy]
//                                       longest GUI-thread block (ms) while scrolling PAGES pages;
//                                       with "busy", while a search runs from the window's search
//                                       field and a thumbnail column renders beside the view
//                                       (measured from the search's first listed match)
//   window_bench zoom FILE.pdf PAGE     longest GUI-thread block (ms) while zooming page PAGE from
//                                       fit width in through every zoom step and back out
//   window_bench rss FILE.pdf           resident MB after every page was shown and rendered
// Run it with a throw-away HOME: the window reads and writes the user's preferences and caches.
#include "app/AppDelegate.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"
#include "platform/view/PDFThumbnailView.h"
#include "platform/view/PDFTileRenderer.h"
#include "platform/view/PDFView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>
#include <ctime>
#include <unistd.h>

namespace {

// Seconds since this process was created (exec and dynamic loading included).
double secondsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which ends with the last ')'; start time is field 22.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double started = fields.value(19).toDouble() / double(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9 - started;
}

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Nanoseconds this thread has run, and waited runnable for a CPU, since it started.
struct SchedStat {
    qint64 ran = 0, queued = 0;
};
SchedStat schedStat()
{
    QFile file(QStringLiteral("/proc/thread-self/schedstat"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> fields = file.readAll().split(' ');
    return {fields.value(0).toLongLong(), fields.value(1).toLongLong()};
}

PDFView *documentView()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        for (PDFView *view : window->findChildren<PDFView *>()) {
            if (view->isVisible() && !view->document().isNull())
                return view;
        }
    }
    return nullptr;
}

// Calls `done` once every tile the view asked for has been painted.
class PaintWatcher : public QObject {
public:
    PaintWatcher(PDFView *view, std::function<void()> done) : m_view(view), m_done(std::move(done))
    {
        view->viewport()->installEventFilter(this);
    }
    void arm() { m_armed = true; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // Checked just after the paint event has been handled and flushed.
        if (m_armed && event->type() == QEvent::Paint)
            QTimer::singleShot(0, this, [this] {
                PDFTileRenderer *renderer = m_view->tileRenderer();
                if (m_armed && renderer->renderedTiles() > 0 && renderer->pendingTiles() == 0) {
                    m_armed = false;
                    m_done();
                }
            });
        return false;
    }

private:
    PDFView *m_view;
    std::function<void()> m_done;
    bool m_armed = false;
};

// Notes the slowest events the GUI thread handled, by kind, so a stall can be traced to its cause.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        QElapsedTimer timer;
        timer.start();
        // Taken first: the receiver may be deleted by its own event.
        const int type = event->type();
        const char *className = receiver->metaObject()->className();
        const bool handled = QApplication::notify(receiver, event);
        // Only slow events are named, so the bookkeeping adds nothing to the common case.
        if (const qint64 spent = timer.nsecsElapsed(); recording && spent > 2000000) {
            const QString key = QStringLiteral("event %1 to %2").arg(type).arg(QString::fromLatin1(className));
            maxima[key] = std::max(maxima.value(key), spent);
        }
        return handled;
    }
    bool recording = false;
    QHash<QString, qint64> maxima;
};

} // namespace

int main(int argc, char **argv)
{
    TimedApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_bench first-paint|stall|zoom|rss FILE.pdf [PAGES|PAGE] [busy]\n");
        return 2;
    }
    // The same start as the quirna executable's.
    app.setApplicationName(QStringLiteral("Quirna"));
    Localization::install();
    AppDelegate delegate(UserDefaults::standard());
    delegate.applicationDidFinishLaunching({QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath()});

    const QByteArray mode = argv[1];
    PDFView *view = documentView();
    if (!view) {
        std::fprintf(stderr, "no document window\n");
        return 1;
    }
    QScrollBar *bar = view->verticalScrollBar();
    int result = 1;

    // Stalls: a 1 ms timer on the GUI thread notes the longest gap between its ticks while a
    // second timer drives the view (a wheel step per frame, or a zoom step per settled frame).
    QElapsedTimer clock;
    qint64 lastTick = 0, longest = 0;
    std::vector<qint64> gaps;
    // Long gaps: how long, when they ended (monotonic time, to line up with a recording taken by
    // `perf record -k CLOCK_MONOTONIC`), and how much of them the GUI thread ran and how much it
    // waited for a CPU (the rest it slept, on a lock or an event).
    struct LongGap {
        qint64 length;
        double ended;
        qint64 ran, queued;
        bool operator<(const LongGap &other) const { return length < other.length; }
    };
    std::vector<LongGap> longGaps;
    SchedStat lastStat = schedStat();
    QTimer ticker, driver;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, &app, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - lastTick);
        gaps.push_back(now - lastTick);
        const SchedStat stat = schedStat();
        if (now - lastTick > 8000000) {
            timespec ended{};
            clock_gettime(CLOCK_MONOTONIC, &ended);
            longGaps.push_back({now - lastTick, double(ended.tv_sec) + double(ended.tv_nsec) / 1e9,
                                stat.ran - lastStat.ran, stat.queued - lastStat.queued});
        }
        lastStat = stat;
        lastTick = now;
    });
    const auto finishStall = [&] {
        ticker.stop();
        driver.stop();
        std::printf("%.1f\n", double(longest) / 1e6);
        std::fflush(stdout);
        std::sort(gaps.begin(), gaps.end());
        if (!gaps.empty())
            std::fprintf(stderr, "ticks %zu, 99th percentile gap %.1f ms\n", gaps.size(),
                         double(gaps[gaps.size() * 99 / 100]) / 1e6);
        std::sort(longGaps.rbegin(), longGaps.rend());
        for (size_t i = 0; i < std::min<size_t>(longGaps.size(), 5); ++i)
            std::fprintf(stderr, "GAP %.1f ms ending %.6f: ran %.1f ms, waited for a CPU %.1f ms\n",
                         double(longGaps[i].length) / 1e6, longGaps[i].ended, double(longGaps[i].ran) / 1e6,
                         double(longGaps[i].queued) / 1e6);
        for (auto it = app.maxima.cbegin(); it != app.maxima.cend(); ++it)
            std::fprintf(stderr, "  slowest %s: %.1f ms\n", qPrintable(it.key()), double(it.value()) / 1e6);
        result = 0;
        app.quit();
    };
    const int stallPages = argc > 3 ? std::atoi(argv[3]) : 300;
    const bool busy = argc > 4 && QByteArray(argv[4]) == "busy";
    driver.setTimerType(Qt::PreciseTimer);
    driver.setInterval(16);
    if (mode == "stall") {
        QObject::connect(&driver, &QTimer::timeout, &app, [&] {
            if (view->currentPageIndex() >= stallPages || bar->value() >= bar->maximum())
                return finishStall();
            bar->setValue(bar->value() + 3 * bar->singleStep());
        });
    }
    // Zoom: fit width, then each zoom step in up to the largest and back out, the next step
    // taken once the view has drawn the last one.
    int zoomSteps = 0;
    bool zoomingIn = true;
    PaintWatcher *settled = nullptr;
    if (mode == "zoom") {
        settled = new PaintWatcher(view, [&] {
            QTimer::singleShot(16, &app, [&] {
                if (zoomingIn && !view->canZoomIn())
                    zoomingIn = false;
                if (!zoomingIn && (!view->canZoomOut() || zoomSteps > 64))
                    return finishStall();
                ++zoomSteps;
                settled->arm();
                zoomingIn ? view->zoomIn() : view->zoomOut();
            });
        });
    }
    // The background work of a busy window: a search typed into the window's search field, and
    // a column of thumbnails that follows the view through the document.
    std::unique_ptr<PDFThumbnailView> thumbnails;
    const auto startBackgroundWork = [&] {
        if (QLineEdit *field = view->window()->findChild<QLineEdit *>(QStringLiteral("pfSearchField")))
            field->setText(QStringLiteral("function"));
        thumbnails = std::make_unique<PDFThumbnailView>();
        thumbnails->resize(200, 900);
        thumbnails->setPDFView(view);
        thumbnails->show();
    };
    const auto startStall = [&] {
        clock.start();
        app.recording = true;
        ticker.start();
        if (mode == "zoom") {
            const int page = std::clamp(stallPages, 1, view->document().pageCount()) - 1;
            view->goToPage(view->document().page(page));
            view->setAutoScales(true);
            settled->arm();
            view->viewport()->update();
        } else {
            driver.start();
        }
    };
    // RSS: page down through the document, each screenful rendered before the next.
    PaintWatcher *watcher = nullptr;
    const auto pageDown = [&] {
        if (bar->value() >= bar->maximum()) {
            std::printf("%.0f\n", residentMegabytes());
            result = 0;
            app.quit();
            return;
        }
        watcher->arm();
        bar->setValue(bar->value() + bar->pageStep());
    };

    watcher = new PaintWatcher(view, [&] {
        if (mode == "first-paint") {
            std::printf("%.3f\n", secondsSinceProcessStart());
            result = 0;
            app.quit();
        } else if (mode == "stall" || mode == "zoom") {
            if (busy) {
                // Measured from when the search has listed its first match and the window has
                // drawn the panel it opened: opening panels is not part of scrolling.
                startBackgroundWork();
                auto *poll = new QTimer(&app);
                QObject::connect(poll, &QTimer::timeout, &app, [&, poll, listed = false]() mutable {
                    if (listed) {
                        poll->stop();
                        poll->deleteLater();
                        startStall();
                        return;
                    }
                    QWidget *page = view->window()->findChild<QWidget *>(QStringLiteral("pfPageSearch"));
                    auto *list = page ? page->findChild<QAbstractItemView *>(QStringLiteral("pfTableView")) : nullptr;
                    listed = list && list->isVisible() && list->model()->rowCount() > 0;
                });
                poll->start(16);
            } else {
                startStall();
            }
        } else if (mode == "rss") {
            QTimer::singleShot(0, &app, pageDown);
        }
    });
    watcher->arm();
    app.exec();
    std::fflush(stdout);
    return result;
}
