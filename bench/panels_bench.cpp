// Side-panel figures in the real document window.
//   panels_bench outline FILE.pdf   ms from the Contents tab being shown to its tree painted with
//                                   every top-level entry read
//   panels_bench annotations N      longest GUI-thread block (ms) while the highlights list refills
//                                   after one annotation is added to a document of N annotations
// Run it with a throw-away HOME: the window reads and writes the user's preferences and caches.
#include "app/AppDelegate.h"
#include "app/PFSidePanel.h"
#include "app/ViewController.h"
#include "editing/PFBasePDFView.h"
#include "panels/highlights/PFHighlightController.h"
#include "panels/highlights/PFHighlightListModel.h"
#include "panels/outline/PFBaseOutlineView.h"
#include "panels/outline/PFOutlineController.h"
#include "panels/outline/PFOutlineModel.h"
#include "platform/view/PDFTileRenderer.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

namespace {

ViewController *documentController()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        for (ViewController *controller : window->findChildren<ViewController *>())
            if (!controller->pdfView()->document().isNull())
                return controller;
    return nullptr;
}

// Calls `done` once, after the next paint of `widget` has been handled.
class NextPaint : public QObject {
public:
    NextPaint(QWidget *widget, std::function<void()> done) : m_done(std::move(done)) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (m_done && event->type() == QEvent::Paint)
            QTimer::singleShot(0, this, [this] {
                if (auto done = std::exchange(m_done, nullptr))
                    done();
            });
        return false;
    }

private:
    std::function<void()> m_done;
};

// Notes the longest event handled on the GUI thread, to name the cause of a stall.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        if (m_depth++ > 0) {
            const bool handled = QApplication::notify(receiver, event);
            --m_depth;
            return handled;
        }
        QElapsedTimer timer;
        timer.start();
        const QByteArray name = receiver->metaObject()->className();
        const int type = event->type();
        const bool handled = QApplication::notify(receiver, event);
        --m_depth;
        const qint64 ns = timer.nsecsElapsed();
        if (m_recording)
            m_total += ns;
        if (m_recording && ns > m_longest) {
            m_longest = ns;
            m_what = name + " event " + QByteArray::number(type);
        }
        return handled;
    }
    void startRecording()
    {
        m_recording = true;
        m_longest = m_total = 0;
    }
    void report() const
    {
        std::fprintf(stderr, "in event handlers %.1f ms, longest %.1f ms: %s\n", double(m_total) / 1e6,
                     double(m_longest) / 1e6, m_what.constData());
    }

private:
    int m_depth = 0;
    bool m_recording = false;
    qint64 m_longest = 0;
    qint64 m_total = 0;
    QByteArray m_what;
};

// A document of `count` annotations, twenty a page: highlights over text (listed with the text
// they mark), notes with an author and boxes with contents.
QString annotatedDocument(const QString &folder, int count)
{
    PDFDocument document = PDFDocument::create();
    const int pages = (count + 19) / 20;
    for (int i = 0; i < pages; ++i)
        document.insertNewPage(QRectF(0, 0, 612, 792), i);
    for (int n = 0; n < count; ++n) {
        PDFPage page = document.page(n / 20);
        const double y = 740 - (n % 20) * 35;
        const int kind = n % 3;
        PDFAnnotation annotation =
            PDFAnnotation::create(document, kind == 0 ? "Highlight" : kind == 1 ? "Text" : "Square", QRectF(72, y, 200, 20));
        if (kind == 0) {
            annotation.setQuadrilateralPoints({PDFQuad{{72, y + 20}, {272, y + 20}, {72, y}, {272, y}}});
            annotation.setColor(QColor(255, 230, 0));
        } else {
            annotation.setContents(QStringLiteral("Annotation %1: a remark long enough to wrap onto a second line").arg(n));
            annotation.setUserName(QStringLiteral("Reviewer"));
            annotation.setModificationDate(QDateTime::currentDateTime());
        }
        page.addAnnotation(annotation);
    }
    const QString path = folder + QStringLiteral("/annotations.pdf");
    return document.write(path) ? path : QString();
}

// CPU time the calling thread has used, in ms: set against the wall-clock figure it tells
// work on the GUI thread from waiting (for the processor on a busy machine, or for a lock).
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Top-level entries of the outline, counted on the document itself.
int topLevelEntries(const PDFDocument &document)
{
    const PDFOutline root = document.outlineRoot();
    return root.isNull() ? 0 : int(root.children().size());
}

// ms from the Contents tab being shown to the first paint of the tree after which every
// top-level entry is laid out.
int measureOutline(TimedApplication &app, ViewController *controller)
{
    const int expected = topLevelEntries(controller->pdfView()->document());
    PFBaseOutlineView *tree = controller->outlineController()->pfOutlineView();
    PFOutlineModel *model = controller->outlineController()->model();
    QElapsedTimer clock;
    double cpuAtStart = 0;
    int result = 1;
    std::function<void()> check;
    std::unique_ptr<NextPaint> painted;
    check = [&] {
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        const int rows = model->rowCount();
        const bool laidOut = rows > 0 && tree->isVisible() && tree->visualRect(model->index(0, 0)).height() > 0 &&
                             tree->visualRect(model->index(rows - 1, 0)).height() > 0;
        if (rows != expected || !laidOut) {
            painted = std::make_unique<NextPaint>(tree->viewport(), check); // not yet: wait for the next paint
            return;
        }
        app.report();
        std::fprintf(stderr, "%d top-level entries, GUI thread busy %.1f ms of it\n", rows, threadCpuMs() - cpuAtStart);
        std::printf("%.1f\n", ms);
        result = expected > 0 ? 0 : 1;
        app.exit(0);
    };
    painted = std::make_unique<NextPaint>(tree->viewport(), check);
    // The user opens the tab on a window that shows its page: start once the first screen is
    // drawn and nothing else is rendering.
    const auto showTab = [&] {
        cpuAtStart = threadCpuMs();
        app.startRecording();
        clock.start();
        controller->pdSegmentClick(PFSidePanel::Outline);
        controller->PFExtentClick();
    };
    QObject::connect(controller->pdfView()->tileRenderer(), &PDFTileRenderer::renderingIdle, &app,
                     [&] { QTimer::singleShot(100, &app, showTab); }, Qt::SingleShotConnection);
    QTimer::singleShot(20000, &app, [&] {
        std::fprintf(stderr, "the tree was never painted with its %d top-level entries\n", expected);
        app.exit(0);
    });
    app.exec();
    return result;
}

// Longest gap (ms) between the ticks of a 1 ms timer on the GUI thread, from one annotation
// being added until the highlights list shows it.
int measureAnnotationList(TimedApplication &app, ViewController *controller)
{
    PFHighlightController *list = controller->highlightController();
    PFBasePDFView *view = controller->pdfView();
    QElapsedTimer clock;
    qint64 lastTick = 0, longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, &app, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - lastTick);
        lastTick = now;
    });
    int result = 1;
    qsizetype before = -1;
    PDFAnnotation added;
    const auto addOne = [&] {
        clock.start();
        lastTick = 0;
        ticker.start();
        app.startRecording();
        added = PDFAnnotation::create(view->document(), "Circle", QRectF(300, 300, 60, 60));
        added.setContents(QStringLiteral("Added"));
        view->pfAddShapeAnnotation(added, 0);
    };
    QObject::connect(list, &PFHighlightController::rowsFilled, &app, [&] {
        if (added.isNull()) {
            before = list->pfHighlightArray().size();
            std::fprintf(stderr, "%lld rows\n", qint64(before));
            QTimer::singleShot(100, &app, addOne);
            return;
        }
        if (list->isFilling() || list->listModel()->rowOf(added) < 0)
            return;
        ticker.stop();
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - lastTick);
        std::fprintf(stderr, "refilled in %.1f ms, %lld rows\n", double(now) / 1e6,
                     qint64(list->pfHighlightArray().size()));
        app.report();
        std::printf("%.1f\n", double(longest) / 1e6);
        result = 0;
        app.exit(0);
    });
    controller->PFExtentClick();
    controller->pdSegmentClick(PFSidePanel::Highlights);
    QTimer::singleShot(60000, &app, [&] {
        std::fprintf(stderr, "the list never showed the added annotation\n");
        app.exit(0);
    });
    app.exec();
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    TimedApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: panels_bench outline FILE.pdf | annotations COUNT\n");
        return 2;
    }
    app.setApplicationName(QStringLiteral("Quirna"));
    Localization::install();
    const QByteArray mode = argv[1];
    if (mode != "outline" && mode != "annotations") {
        std::fprintf(stderr, "unknown mode %s\n", mode.constData());
        return 2;
    }
    QTemporaryDir scratch;
    QString file = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    if (mode == "annotations")
        file = annotatedDocument(scratch.path(), std::atoi(argv[2]));
    AppDelegate delegate(UserDefaults::standard());
    delegate.applicationDidFinishLaunching({file});
    ViewController *controller = documentController();
    if (!controller) {
        std::fprintf(stderr, "no document window\n");
        return 1;
    }
    const int result = mode == "outline" ? measureOutline(app, controller) : measureAnnotationList(app, controller);
    std::fflush(stdout);
    return result;
}
