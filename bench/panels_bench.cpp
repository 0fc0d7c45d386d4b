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
#include "panels/outline/PFBaseOutlineView.h"
#include "panels/outline/PFOutlineController.h"
#include "panels/outline/PFOutlineModel.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

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

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: panels_bench outline FILE.pdf | annotations COUNT\n");
        return 2;
    }
    app.setApplicationName(QStringLiteral("Quirna"));
    Localization::install();
    const QByteArray mode = argv[1];
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
    int result = 1;
    QElapsedTimer clock;

    if (mode == "outline") {
        PFBaseOutlineView *tree = controller->outlineController()->pfOutlineView();
        NextPaint painted(tree->viewport(), [&] {
            const double ms = double(clock.nsecsElapsed()) / 1e6;
            const int rows = controller->outlineController()->model()->rowCount();
            std::fprintf(stderr, "%d top-level entries\n", rows);
            std::printf("%.1f\n", ms);
            result = rows > 0 ? 0 : 1;
            app.quit();
        });
        QTimer::singleShot(200, &app, [&] {
            clock.start();
            controller->pdSegmentClick(PFSidePanel::Outline);
            controller->PFExtentClick();
        });
    } else if (mode == "annotations") {
        PFHighlightController *list = controller->highlightController();
        // A 1 ms timer notes the longest gap between its ticks while the list refills.
        qint64 lastTick = 0, longest = 0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, &app, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - lastTick);
            lastTick = now;
        });
        bool measuring = false;
        const auto addOne = [&] {
            measuring = true;
            clock.start();
            lastTick = 0;
            ticker.start();
            PFBasePDFView *view = controller->pdfView();
            PDFAnnotation circle = PDFAnnotation::create(view->document(), "Circle", QRectF(300, 300, 60, 60));
            circle.setContents(QStringLiteral("Added"));
            view->pfAddShapeAnnotation(circle, 0);
        };
        QObject::connect(list, &PFHighlightController::rowsFilled, &app, [&] {
            if (!measuring) {
                std::fprintf(stderr, "%lld rows\n", qint64(list->pfHighlightArray().size()));
                QTimer::singleShot(100, &app, addOne);
                return;
            }
            if (list->isFilling())
                return;
            ticker.stop();
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - lastTick);
            std::fprintf(stderr, "refilled in %.1f ms, %lld rows\n", double(now) / 1e6,
                         qint64(list->pfHighlightArray().size()));
            std::printf("%.1f\n", double(longest) / 1e6);
            result = 0;
            app.quit();
        });
        controller->PFExtentClick();
        controller->pdSegmentClick(PFSidePanel::Highlights);
    } else {
        std::fprintf(stderr, "unknown mode %s\n", mode.constData());
        return 2;
    }
    app.exec();
    std::fflush(stdout);
    return result;
}
