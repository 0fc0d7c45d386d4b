#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFDisplayList.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFDocumentMutex.h"
#include "platform/pdf/PDFProbe.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <thread>

class TestPDFDocument : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString make(const QString &name, const QByteArray &bytes)
    {
        TestPdf::write(path(name), bytes);
        return path(name);
    }
    QString encrypted(const QString &name)
    {
        const QString plain = make(name + ".plain.pdf", TestPdf::simple(2));
        TestPdf::run("qpdf", {"--encrypt", "secret", "owner", "256", "--", plain, path(name)});
        return path(name);
    }

private slots:
    // A walk that takes the document's lock once per step, and takes it straight back, must not
    // keep out a thread waiting for it; the lock stays recursive.
    void aWalkTakingTheLockPerStepLetsAWaitingThreadIn()
    {
        PDFDocumentMutex mutex;
        {
            std::lock_guard outer(mutex);
            std::lock_guard inner(mutex);
            QVERIFY(mutex.try_lock());
            mutex.unlock();
        }
        constexpr int kSteps = 400;
        std::atomic<int> steps{0};
        std::atomic<bool> started{false};
        std::thread walk([&] {
            for (int i = 0; i < kSteps; ++i) {
                std::lock_guard step(mutex);
                started = true;
                // Half a millisecond of work on the document.
                const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(500);
                while (std::chrono::steady_clock::now() < until) {
                }
                ++steps;
            }
        });
        while (!started)
            std::this_thread::yield();
        // Ten turns for this thread while the walk goes on: each should come after a step or two
        // of the walk, not after all of it.
        for (int turn = 0; turn < 10; ++turn) {
            std::lock_guard mine(mutex);
        }
        const int stepsMeanwhile = steps.load();
        walk.join();
        QVERIFY2(stepsMeanwhile < kSteps / 2, qPrintable(QString::number(stepsMeanwhile)));
    }

    void badInputGivesEmptyResults()
    {
        const QString missing = path("missing.pdf");
        const QString text = make("text.pdf", "hello, this is not a PDF at all");
        const QByteArray whole = TestPdf::simple(3);
        const QString truncated = make("truncated.pdf", whole.left(whole.size() / 3));
        const QString empty = make("empty.pdf", TestPdf::build({}));

        QVERIFY(PDFDocument::open(missing).isNull());
        QVERIFY(PDFDocument::open(text).isNull());
        QCOMPARE(PDFProbe::validity(missing), PDFProbe::CannotOpen);
        QCOMPARE(PDFProbe::validity(text), PDFProbe::CannotOpen);
        QCOMPARE(PDFProbe::pageCount(text), 0);
        QCOMPARE(PDFProbe::firstPageCropBox(missing), QRectF());

        // A truncated file either repairs to something usable or is refused, never a crash.
        const PDFDocument cut = PDFDocument::open(truncated);
        if (!cut.isNull())
            for (int i = 0; i < cut.pageCount(); ++i)
                cut.page(i).render(0.2);

        QCOMPARE(PDFProbe::validity(empty), PDFProbe::NoPages);
        QCOMPARE(PDFProbe::pageCount(empty), 0);
        QCOMPARE(PDFProbe::firstPageCropBox(empty), QRectF());
        QVERIFY(PDFDocument::open(empty).page(0).isNull());

        const QString good = make("good.pdf", TestPdf::simple(3));
        QCOMPARE(PDFProbe::validity(good), PDFProbe::Usable);
        QCOMPARE(PDFProbe::pageCount(good), 3);
        QCOMPARE(PDFProbe::firstPageCropBox(good), QRectF(0, 0, 612, 792));
        QVERIFY(!PDFProbe::isEncrypted(good));
    }

    void lockedDocumentNeedsItsPassword()
    {
        const QString file = encrypted("locked.pdf");
        QCOMPARE(PDFProbe::validity(file), PDFProbe::Encrypted);
        QVERIFY(PDFProbe::isEncrypted(file));
        QCOMPARE(PDFProbe::pageCount(file), 0);

        PDFDocument document = PDFDocument::open(file);
        QVERIFY(!document.isNull());
        QVERIFY(document.isEncrypted());
        QVERIFY(document.isLocked());
        QCOMPARE(document.pageCount(), 0);
        QVERIFY(document.page(0).isNull());
        QVERIFY(!document.unlock("wrong"));
        QVERIFY(document.isLocked());
        QVERIFY(document.unlock("secret"));
        QVERIFY(!document.isLocked());
        QCOMPARE(document.pageCount(), 2);
        QVERIFY(document.page(1).string().contains("Page 2"));
    }

    void pagesInsertRemoveAndCopyKeepTheirIdentity()
    {
        QList<TestPdf::Page> pages{{{"first"}, QRectF(0, 0, 300, 400), 90}, {{"second"}}, {{"third"}}};
        PDFDocument document = PDFDocument::open(make("pages.pdf", TestPdf::build(pages)));
        QCOMPARE(document.pageCount(), 3);
        PDFPage first = document.page(0), third = document.page(2);
        QCOMPARE(first.rotation(), 90);
        QCOMPARE(first.bounds(PDFDisplayBox::MediaBox), QRectF(0, 0, 300, 400));
        QCOMPARE(first.displaySize(), QSizeF(400, 300));

        PDFAnnotation square = PDFAnnotation::create(document, "Square", QRectF(10, 20, 100, 50));
        QVERIFY(first.addAnnotation(square));

        // Removing a page shifts the others; their handles follow them.
        QVERIFY(document.removePage(1));
        QCOMPARE(document.pageCount(), 2);
        QCOMPARE(third.index(), 1);
        QCOMPARE(first.index(), 0);

        // A copy within the document keeps rotation, boxes and annotations (as new objects).
        PDFPage copy = document.insertPage(first, 2);
        QVERIFY(!copy.isNull());
        QVERIFY(!(copy == first));
        QCOMPARE(copy.index(), 2);
        QCOMPARE(copy.rotation(), 90);
        QCOMPARE(copy.bounds(PDFDisplayBox::MediaBox), QRectF(0, 0, 300, 400));
        QCOMPARE(copy.annotations().size(), 1);
        QVERIFY(!(copy.annotations().first() == square));
        QCOMPARE(copy.annotations().first().bounds(), QRectF(10, 20, 100, 50));

        // A removed page goes back as the same page.
        QVERIFY(document.removePage(0));
        QCOMPARE(first.index(), -1);
        QCOMPARE(document.insertPage(first, 1), first);
        QCOMPARE(first.index(), 1);
        QCOMPARE(first.annotations(), QVector<PDFAnnotation>{square});

        // Between documents.
        PDFDocument other = PDFDocument::create();
        const QVector<PDFPage> copies = other.insertPages(document, {1, 0}, 0);
        QCOMPARE(copies.size(), 2);
        QCOMPARE(other.pageCount(), 2);
        QCOMPARE(other.page(0).rotation(), 90);
        QCOMPARE(other.page(0).annotations().size(), 1);
        QVERIFY(other.page(1).string().contains("third"));
        QVERIFY(other.write(path("other.pdf")));
        QCOMPARE(TestPdf::run("qpdf", {"--check", path("other.pdf")}), 0);

        PDFPage blank = other.insertNewPage(QRectF(0, 0, 200, 100), 99);
        QCOMPARE(blank.index(), 2);
        QCOMPARE(blank.bounds(), QRectF(0, 0, 200, 100));
        QVERIFY(other.insertPages(document, {5}, 0).isEmpty());
    }

    void copiedLinksPointAtTheCopies()
    {
        PDFDocument source = PDFDocument::open(make("links.pdf", TestPdf::simple(3)));
        PDFAnnotation link = PDFAnnotation::create(source, "Link", QRectF(72, 72, 100, 20));
        link.setAction(PDFActionGoTo{PDFDestination(source.page(2), QPointF(0, 700))});
        source.page(0).addAnnotation(link);

        PDFDocument target = PDFDocument::create();
        target.insertNewPage(QRectF(0, 0, 100, 100), 0);
        const QVector<PDFPage> copies = target.insertPages(source, {0, 2}, 1);
        QCOMPARE(copies.size(), 2);
        const PDFAction action = copies[0].annotations().first().action();
        const auto *goTo = std::get_if<PDFActionGoTo>(&action);
        QVERIFY(goTo);
        QCOMPARE(goTo->destination.page(), copies[1]);
        QCOMPARE(goTo->destination.point(), QPointF(0, 700));

        // A link to a page that was not copied leads nowhere rather than into the source.
        PDFDocument partial = PDFDocument::create();
        const QVector<PDFPage> alone = partial.insertPages(source, {0}, 0);
        QVERIFY(std::holds_alternative<std::monostate>(alone[0].annotations().first().action()));
        QVERIFY(partial.write(path("partial.pdf")));
        QCOMPARE(PDFDocument::open(path("partial.pdf")).pageCount(), 1);
    }

    void damagedPageTreesCountOnlyRealPages()
    {
        QByteArray bytes = TestPdf::simple(2);
        bytes.replace("/Count 2", "/Count 2000000000");
        const QString file = make("count.pdf", bytes);
        PDFDocument document = PDFDocument::open(file);
        QVERIFY(document.pageCount() <= 2);
        QCOMPARE(PDFProbe::pageCount(file), document.pageCount());
    }

    void savingOverTheOpenFileRepeatedly()
    {
        const QString file = make("repeat.pdf", TestPdf::simple(2));
        PDFDocument document = PDFDocument::open(file);
        for (int i = 0; i < 5; ++i) {
            PDFAnnotation note = PDFAnnotation::create(document, "Square", QRectF(50 + 60 * i, 100, 40, 40));
            note.setColor(Qt::blue);
            note.setContents(QStringLiteral("note %1").arg(i));
            QVERIFY(document.page(0).addAnnotation(note));
            QVERIFY(document.write(file));
        }
        QString report;
        QCOMPARE(TestPdf::run("qpdf", {"--check", file}, &report), 0);
        const PDFDocument reopened = PDFDocument::open(file);
        const QVector<PDFAnnotation> annotations = reopened.page(0).annotations();
        QCOMPARE(annotations.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(annotations[i].contents(), QStringLiteral("note %1").arg(i));
            QCOMPARE(annotations[i].bounds(), QRectF(50 + 60 * i, 100, 40, 40));
        }
        // No temporary file is left beside the target.
        QCOMPARE(QDir(m_dir.path()).entryList({".repeat.pdf*"}, QDir::Files | QDir::Hidden).size(), 0);
    }

    void failedWriteLeavesTheTargetUntouched()
    {
        const QString file = make("keep.pdf", TestPdf::simple(1));
        const QByteArray before = [&] { QFile f(file); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        PDFDocument document = PDFDocument::open(file);
        QVERIFY(!document.write(path("no/such/folder/out.pdf")));
        QVERIFY(!document.write(m_dir.path())); // a folder
        QDir(m_dir.path()).mkdir("readonly");
        QFile::setPermissions(path("readonly"), QFile::ReadOwner | QFile::ExeOwner);
        if (!QFileInfo(path("readonly")).isWritable()) // root can write anywhere
            QVERIFY(!document.write(path("readonly/out.pdf")));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    void protectedCopyLeavesTheDocumentPlain()
    {
        const QString file = make("protect.pdf", TestPdf::simple(2));
        const QString copy = path("protected.pdf");
        PDFDocument document = PDFDocument::open(file);
        PDFWriteOptions options;
        options.userPassword = "open sesame";
        options.allowCopy = false;
        options.allowPrint = false;
        QVERIFY(document.write(copy, options));
        QVERIFY(document.write(file));

        QString report;
        QCOMPARE(TestPdf::run("qpdf", {"--show-encryption", file}, &report), 0);
        QVERIFY2(report.contains("File is not encrypted"), qPrintable(report));
        QVERIFY(!PDFProbe::isEncrypted(file));

        QVERIFY(TestPdf::run("pdfinfo", {copy}) != 0);
        QCOMPARE(TestPdf::run("pdfinfo", {"-upw", "open sesame", copy}), 0);
        QVERIFY(TestPdf::run("qpdf", {"--check", copy}) != 0);
        QCOMPARE(TestPdf::run("qpdf", {"--password=open sesame", "--show-encryption", copy}, &report), 0);
        QVERIFY2(report.contains("print low resolution: not allowed"), qPrintable(report));
        QVERIFY2(report.contains("extract for any purpose: not allowed"), qPrintable(report));
        // With no permissions password given, the document password guards the permissions too.
        QVERIFY2(report.contains("R = 6"), qPrintable(report));

        PDFDocument reopened = PDFDocument::open(copy);
        QVERIFY(reopened.isLocked());
        QVERIFY(reopened.unlock("open sesame"));
        QCOMPARE(reopened.pageCount(), 2);
    }

    void documentAttributesRoundTrip()
    {
        const QString file = make("info.pdf", TestPdf::simple(1));
        PDFDocument document = PDFDocument::open(file);
        document.setDocumentAttributes({{"Title", QStringLiteral("Bericht – 报告")}, {"Author", "Ada"}});
        QVERIFY(document.write(file));
        const auto attributes = PDFDocument::open(file).documentAttributes();
        QCOMPARE(attributes.value("Title"), QStringLiteral("Bericht – 报告"));
        QCOMPARE(attributes.value("Author"), QStringLiteral("Ada"));
        QString info;
        TestPdf::run("pdfinfo", {file}, &info);
        QVERIFY2(info.contains("Ada"), qPrintable(info));
    }

    void readingEveryPageKeepsFewPagesOpenAndEditsStillLand()
    {
        // Every page open at once would make each annotation edit walk all of them.
        PDFDocument document = PDFDocument::open(make("many.pdf", TestPdf::simple(120)));
        for (int i = 0; i < document.pageCount(); ++i)
            QVERIFY(document.page(i).string().contains(QStringLiteral("Page %1").arg(i + 1)));
        QVERIFY2(document.loadedPageCount() <= 40, qPrintable(QString::number(document.loadedPageCount())));

        // Edits on a page let go long ago and on one still open show in their renderings.
        for (const int index : {0, 119}) {
            PDFPage page = document.page(index);
            PDFAnnotation square = PDFAnnotation::create(document, "Square", QRectF(300, 300, 200, 200));
            square.setColor(QColor(255, 0, 0));
            QVERIFY(page.addAnnotation(square));
            QCOMPARE(page.annotations().size(), 1);
            const QImage image = page.render(0.5);
            const QRgb inside = image.pixel(150, 396 - 150);
            const QRgb border = image.pixel(150, 396 - 250);
            QVERIFY2(qRed(border) > 200 && qGreen(border) < 80, qPrintable(QString::number(border, 16)));
            QCOMPARE(qGray(inside), 255);
        }
        for (int i = 0; i < document.pageCount(); ++i)
            QCOMPARE(document.page(i).annotations().size(), i == 0 || i == 119 ? 1 : 0);
    }

    void rendersOnAnyThread()
    {
        PDFDocument document = PDFDocument::open(make("render.pdf", TestPdf::simple(1)));
        auto list = document.page(0).displayList();
        QVERIFY(list);
        QCOMPARE(list->size(), QSizeF(612, 792));
        QImage image;
        QThread *thread = QThread::create([&] { image = list->render(0.5); });
        thread->start();
        thread->wait();
        delete thread;
        QCOMPARE(image.size(), QSize(306, 396));
        // Text is drawn: some pixels near the first line are dark.
        bool dark = false;
        for (int x = 30; x < 100 && !dark; ++x)
            for (int y = 40; y < 50 && !dark; ++y)
                dark = qGray(image.pixel(x, y)) < 128;
        QVERIFY(dark);
        PDFRenderCookie cookie;
        cookie.cancel();
        QVERIFY(list->render(1.0, QRect(0, 0, 100, 100), &cookie).isNull());
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestPDFDocument)
#include "tst_PDFDocument.moc"
