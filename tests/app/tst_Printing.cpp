#include "FakeModalSeam.h"
#include "app/AppDelegate.h"
#include "app/Document.h"
#include "app/PFDocumentController.h"
#include "app/PFPrintController.h"
#include "app/PFPrintJob.h"
#include "app/PFWindowController.h"
#include "app/ViewController.h"
#include "editing/PFBasePDFView.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"
#include "widgets/PFHudView.h"

#include <QApplication>
#include <QDir>
#include <QPageRanges>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// File › Print, driven as a user drives it (Ctrl+P, the dialog's choices, Cancel), printing to
// a PDF file; the output is checked with poppler and MuPDF's own tools, not with our engine.
class TestPrinting : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void chosenPagesMatchTheEngineAt300Dpi();
    void copiesOrientationAndCurrentPage();
    void watermarkInForceIsPrinted();
    void cancelLeavesTheOldFileAndNoScraps();
    void rangesFollowThePageRangeRule();
    void printoutNeverReplacesTheOpenDocument();

private:
    ViewController *open(const QByteArray &pdf, const QString &name);
    // Prints through Ctrl+P with the dialog answered by `setup`; the job's result.
    PFPrintJob::Result print(ViewController *controller, const std::function<void(QPrinter &)> &setup,
                             const PFPrintChoices &choices = {});
    // Renders pages of a PDF with mutool at 300 dpi; one image per page, in order.
    QList<QImage> render(const QString &pdf, const QList<int> &pages);
    static double meanDifference(const QImage &a, const QImage &b);
    static QStringList pageSizes(const QString &pdf);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<FakeModalSeam> m_seam;
    std::unique_ptr<AppDelegate> m_app;
};

void TestPrinting::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_defaults = std::make_unique<UserDefaults>(m_dir->filePath(QStringLiteral("prefs.json")));
    m_seam = std::make_unique<FakeModalSeam>();
    m_app = std::make_unique<AppDelegate>(*m_defaults);
}

void TestPrinting::cleanup()
{
    m_app.reset();
    m_seam.reset();
}

ViewController *TestPrinting::open(const QByteArray &pdf, const QString &name)
{
    const QString path = m_dir->filePath(name);
    if (!TestPdf::write(path, pdf))
        return nullptr;
    Document *document = m_app->documentController()->openDocument(path, true);
    PFWindowController *window = document->windowController();
    window->show();
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window))
        return nullptr;
    return window->contentViewController();
}

PFPrintJob::Result TestPrinting::print(ViewController *controller, const std::function<void(QPrinter &)> &setup,
                                       const PFPrintChoices &choices)
{
    m_seam->onPrintSetup = [setup, choices](QPrinter &printer, PFPrintChoices &chosen) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        // Paper the size of the test pages, without margins, so a fitted page is its own size.
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        setup(printer);
        chosen = choices;
        return true;
    };
    QSignalSpy finished(controller->printController(), &PFPrintController::printFinished);
    // The progress dialog of a former run took the activation; a window manager gives it back.
    QApplication::setActiveWindow(controller->window());
    if (!QTest::qWaitForWindowActive(controller->window()))
        return PFPrintJob::Result::Failed;
    QTest::keyClick(controller->pdfView(), Qt::Key_P, Qt::ControlModifier);
    if (!controller->printController()->isPrinting() && finished.isEmpty())
        return PFPrintJob::Result::Failed; // the shortcut did not reach the print command
    if (!finished.wait(60000) && finished.isEmpty())
        return PFPrintJob::Result::Failed;
    return finished.first().first().value<PFPrintJob::Result>();
}

QList<QImage> TestPrinting::render(const QString &pdf, const QList<int> &pages)
{
    // mutool numbers the files by page number.
    const QString pattern = m_dir->filePath(QStringLiteral("render-%1-%d.png").arg(QFileInfo(pdf).completeBaseName()));
    QStringList numbers;
    for (int page : pages)
        numbers << QString::number(page);
    QString output;
    if (TestPdf::run(QStringLiteral("mutool"), {QStringLiteral("draw"), QStringLiteral("-q"), QStringLiteral("-r"),
                                                QStringLiteral("300"), QStringLiteral("-o"), pattern, pdf,
                                                numbers.join(QLatin1Char(','))},
                     &output) != 0)
        return {};
    QList<QImage> images;
    for (int page : pages) {
        QImage image(QString(pattern).replace(QStringLiteral("%d"), QString::number(page)));
        if (image.isNull())
            return {};
        images.append(image.convertToFormat(QImage::Format_RGB32));
    }
    return images;
}

double TestPrinting::meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 255;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *q = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            sum += qAbs(qGray(p[x]) - qGray(q[x]));
    }
    return sum / (double(a.width()) * a.height());
}

QStringList TestPrinting::pageSizes(const QString &pdf)
{
    QString output;
    TestPdf::run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                             QStringLiteral("99"), pdf},
                 &output);
    QStringList sizes;
    static const QRegularExpression size(QStringLiteral("Page +\\d+ size: +([\\d.]+ x [\\d.]+)"));
    for (auto it = size.globalMatch(output); it.hasNext();)
        sizes << it.next().captured(1);
    return sizes;
}

void TestPrinting::chosenPagesMatchTheEngineAt300Dpi()
{
    ViewController *controller = open(TestPdf::simple(4), QStringLiteral("four.pdf"));
    QVERIFY(controller);
    const QString target = m_dir->filePath(QStringLiteral("printed.pdf"));
    const auto result = print(controller, [&](QPrinter &printer) {
        printer.setOutputFileName(target);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setPageRanges(QPageRanges::fromString(QStringLiteral("2-3")));
    });
    QCOMPARE(result, PFPrintJob::Result::Printed);
    QCOMPARE(m_seam->printPageCounts, std::vector<int>{4});
    QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), target}), 0);
    QCOMPARE(pageSizes(target), (QStringList{QStringLiteral("612 x 792"), QStringLiteral("612 x 792")}));

    const QList<QImage> ours = render(target, {1, 2});
    const QList<QImage> engine = render(controller->representedObject()->filePath, {2, 3});
    QCOMPARE(ours.size(), 2);
    QCOMPARE(engine.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(ours[i].size(), engine[i].size());
        const double difference = meanDifference(ours[i], engine[i]);
        QVERIFY2(difference < 1.5, qPrintable(QString::number(difference)));
    }
    // Page 2 printed as page 1, page 3 as page 2: each differs from the other's rendering.
    QVERIFY(meanDifference(ours[0], engine[1]) > meanDifference(ours[0], engine[0]));
    // Nothing but the output was left in the folder.
    QVERIFY(QDir(m_dir->path()).entryList({QStringLiteral(".quirna-print-*")}, QDir::Files | QDir::Hidden).isEmpty());
}

void TestPrinting::copiesOrientationAndCurrentPage()
{
    TestPdf::Page portrait{{QStringLiteral("Portrait")}};
    TestPdf::Page landscape{{QStringLiteral("Landscape")}, QRectF(0, 0, 792, 612)};
    ViewController *controller = open(TestPdf::build({portrait, landscape, portrait}), QStringLiteral("mixed.pdf"));
    QVERIFY(controller);

    // All pages, two collated copies: a landscape page goes on landscape paper.
    const QString copies = m_dir->filePath(QStringLiteral("copies.pdf"));
    QCOMPARE(print(controller, [&](QPrinter &printer) {
                 printer.setOutputFileName(copies);
                 printer.setCopyCount(2);
                 printer.setCollateCopies(true);
             }),
             PFPrintJob::Result::Printed);
    const QString portraitSize = QStringLiteral("612 x 792");
    const QString landscapeSize = QStringLiteral("792 x 612");
    QCOMPARE(pageSizes(copies), (QStringList{portraitSize, landscapeSize, portraitSize, portraitSize, landscapeSize,
                                             portraitSize}));

    // The current page alone.
    PFBasePDFView *view = controller->pdfView();
    view->goToPage(view->document().page(1));
    QTRY_COMPARE(view->currentPage().index(), 1);
    const QString current = m_dir->filePath(QStringLiteral("current.pdf"));
    QCOMPARE(print(controller, [&](QPrinter &printer) {
                 printer.setOutputFileName(current);
                 printer.setPrintRange(QPrinter::CurrentPage);
             }),
             PFPrintJob::Result::Printed);
    QCOMPARE(pageSizes(current), QStringList{landscapeSize});
    QString text;
    TestPdf::run(QStringLiteral("pdftotext"), {current, QStringLiteral("-")}, &text);
    QVERIFY(text.trimmed().isEmpty()); // printed as an image of the page, as a printer gets it

    // The program's own range text wins over the dialog's range; a reversed range counts.
    const QString ranged = m_dir->filePath(QStringLiteral("ranged.pdf"));
    PFPrintChoices choices;
    choices.pageRangeText = QStringLiteral("3-2");
    QCOMPARE(print(controller, [&](QPrinter &printer) {
                 printer.setOutputFileName(ranged);
                 printer.setPrintRange(QPrinter::CurrentPage);
             }, choices),
             PFPrintJob::Result::Printed);
    QCOMPARE(pageSizes(ranged), (QStringList{landscapeSize, portraitSize}));

    // Cancelling the dialog prints nothing.
    m_seam->onPrintSetup = nullptr;
    QSignalSpy finished(controller->printController(), &PFPrintController::printFinished);
    QApplication::setActiveWindow(controller->window());
    QVERIFY(QTest::qWaitForWindowActive(controller->window()));
    QTest::keyClick(view, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(m_seam->printPageCounts.size(), size_t(4));
    QVERIFY(!controller->printController()->isPrinting());
    QCOMPARE(finished.size(), 0);
}

void TestPrinting::watermarkInForceIsPrinted()
{
    ViewController *controller = open(TestPdf::simple(2), QStringLiteral("marked.pdf"));
    QVERIFY(controller);
    PFWatermarkModel watermark;
    watermark.inputText = QStringLiteral("CONFIDENTIAL");
    watermark.fontSize = 72;
    controller->pfAddAddWatermarkDoneClick(watermark);
    const QString target = m_dir->filePath(QStringLiteral("marked-print.pdf"));
    QCOMPARE(print(controller, [&](QPrinter &printer) {
                 printer.setOutputFileName(target);
                 printer.setPrintRange(QPrinter::PageRange);
                 printer.setPageRanges(QPageRanges::fromString(QStringLiteral("1")));
             }),
             PFPrintJob::Result::Printed);
    const QList<QImage> ours = render(target, {1});
    const QList<QImage> plain = render(controller->representedObject()->filePath, {1});
    QCOMPARE(ours.size(), 1);
    QCOMPARE(plain.size(), 1);
    // The plain page is near white; the printed one carries the watermark's letters across it
    // (72 pt letters cover about 2 % of a Letter page: a mean difference near 4.6).
    QVERIFY(meanDifference(ours[0], plain[0]) > 2);
}

void TestPrinting::cancelLeavesTheOldFileAndNoScraps()
{
    ViewController *controller = open(TestPdf::simple(60), QStringLiteral("long.pdf"));
    QVERIFY(controller);
    const QString target = m_dir->filePath(QStringLiteral("kept.pdf"));
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the earlier file");
    }
    PFPrintController *printing = controller->printController();
    QSignalSpy finished(printing, &PFPrintController::printFinished);
    m_seam->onPrintSetup = [&](QPrinter &printer, PFPrintChoices &) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
        return true;
    };
    QTest::keyClick(controller->pdfView(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(printing->isPrinting());
    QProgressDialog *progress = printing->progressDialog();
    QVERIFY(progress);
    QTRY_VERIFY(progress->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(progress->value() >= 1, 60000); // under way, off the GUI thread
    QPushButton *cancel = progress->findChild<QPushButton *>();
    QVERIFY(cancel);
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(finished.wait(60000) || !finished.isEmpty());
    QCOMPARE(finished.first().first().value<PFPrintJob::Result>(), PFPrintJob::Result::Cancelled);
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("the earlier file"));
    QVERIFY(QDir(m_dir->path()).entryList({QStringLiteral(".quirna-print-*")}, QDir::Files | QDir::Hidden).isEmpty());
    QVERIFY(!printing->isPrinting());
}

void TestPrinting::rangesFollowThePageRangeRule()
{
    QPrinter printer;
    QCOMPARE(PFPrintController::pfPrintedPages(printer, 2, 4), (QVector<int>{1, 2, 3, 4}));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setPageRanges(QPageRanges::fromString(QStringLiteral("1,3-6,10")));
    QCOMPARE(PFPrintController::pfPrintedPages(printer, 1, 8), (QVector<int>{1, 3, 4, 5, 6}));
    printer.setPageOrder(QPrinter::LastPageFirst);
    QCOMPARE(PFPrintController::pfPrintedPages(printer, 1, 8), (QVector<int>{6, 5, 4, 3, 1}));
    printer.setPrintRange(QPrinter::CurrentPage);
    QCOMPARE(PFPrintController::pfPrintedPages(printer, 3, 8), QVector<int>{3});

    PFPrintJob::Settings settings;
    settings.copies = 2;
    const PFPrintJob job({PDFPage(), PDFPage()}, settings);
    QCOMPARE(job.sheetOrder(false), (QVector<int>{0, 1, 0, 1}));
    QCOMPARE(job.sheetOrder(true), (QVector<int>{0, 1}));
    settings.collate = false;
    QCOMPARE(PFPrintJob({PDFPage(), PDFPage()}, settings).sheetOrder(false), (QVector<int>{0, 0, 1, 1}));
}

void TestPrinting::printoutNeverReplacesTheOpenDocument()
{
    ViewController *controller = open(TestPdf::simple(2), QStringLiteral("self.pdf"));
    QVERIFY(controller);
    const QString document = controller->representedObject()->filePath;
    QFile before(document);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray original = before.readAll();
    // Through a link in another folder as well: it is still the document's file.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("elsewhere")));
    const QString link = m_dir->filePath(QStringLiteral("elsewhere/self.pdf"));
    QVERIFY(QFile::link(document, link));
    for (const QString &target : {document, link}) {
        PFPrintController *printing = controller->printController();
        m_seam->onPrintSetup = [&](QPrinter &printer, PFPrintChoices &) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(target);
            return true;
        };
        QTest::keyClick(controller->pdfView(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(!printing->isPrinting());
        auto *hud = controller->findChild<PFHudView *>();
        QVERIFY(hud);
        QCOMPARE(hud->textHint(), pfLocalized("打印件不能替换正在打开的文档"));
        QFile after(document);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), original);
    }
}

QUIRNA_TEST_MAIN(QApplication, TestPrinting)
#include "tst_Printing.moc"
