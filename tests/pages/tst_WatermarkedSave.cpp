#include "pages/PFPageManager.h"
#include "platform/pdf/PDFDocument.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

// A save with a watermark: drawn on a snapshot of the document, which is written in its place.
class TestWatermarkedSave : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    static PFWatermarkModel model(const QString &text)
    {
        PFWatermarkModel watermark;
        watermark.inputText = text;
        watermark.fontSize = 60;
        watermark.degree = 0;
        return watermark;
    }
    // Pages of `file` that show the watermark: dark pixels around the centre, drawn by poppler.
    QList<int> markedPages(const QString &file, const QString &password = {})
    {
        const QString prefix = path("render");
        QStringList arguments = {"-r", "36", "-gray", "-png"};
        if (!password.isEmpty())
            arguments << "-upw" << password;
        if (TestPdf::run("pdftoppm", arguments << file << prefix) != 0)
            return {-1};
        QList<int> marked;
        for (int n = 1;; ++n) {
            const QImage image(QStringLiteral("%1-%2.png").arg(prefix).arg(n));
            if (image.isNull())
                break;
            QFile::remove(QStringLiteral("%1-%2.png").arg(prefix).arg(n));
            int dark = 0;
            const QPoint centre = image.rect().center();
            for (int y = centre.y() - 6; y <= centre.y() + 6; ++y)
                for (int x = centre.x() - 40; x <= centre.x() + 40; ++x)
                    dark += qGray(image.pixel(x, y)) < 128;
            if (dark > 20)
                marked << n;
        }
        return marked;
    }

private slots:
    void encryptedDocumentIsSavedWatermarkedAndStillEncrypted()
    {
        TestPdf::write(path("plain.pdf"), TestPdf::simple(2));
        const QString file = path("locked.pdf");
        QCOMPARE(TestPdf::run("qpdf", {"--encrypt", "user", "owner", "256", "--", path("plain.pdf"), file}), 0);
        PDFDocument document = PDFDocument::open(file);
        QVERIFY(document.unlock("user"));

        PDFDocument copy = document.snapshot();
        QVERIFY(!copy.isNull());
        QCOMPARE(PFPageManager::sharedManager().pfStampWatermark(copy, model("WWWWWW")), 2);
        QVERIFY(copy.write(file));

        QVERIFY(TestPdf::run("qpdf", {"--check", file}) != 0); // needs its password
        QString report;
        QVERIFY2(TestPdf::run("qpdf", {"--password=user", "--check", file}, &report) == 0, qPrintable(report));
        QCOMPARE(markedPages(file, "user"), QList<int>({1, 2}));
        // The open document never holds the watermark and can be saved plain again.
        QVERIFY(document.write(file));
        QCOMPARE(markedPages(file, "user"), QList<int>());
        QCOMPARE(TestPdf::run("qpdf", {"--password=user", "--check", file}, &report), 0);
    }

    void rangeBeyondTheDocumentMarksWhatIsThere()
    {
        TestPdf::write(path("three.pdf"), TestPdf::simple(3));
        PDFDocument document = PDFDocument::open(path("three.pdf"));
        PFWatermarkModel outside = model("WWWWWW");
        outside.numType = 2;
        outside.startNum = 7;
        outside.endNum = 9;
        PDFDocument copy = document.snapshot();
        QCOMPARE(PFPageManager::sharedManager().pfStampWatermark(copy, outside), 0);
        QVERIFY(copy.write(path("three.pdf")));
        QCOMPARE(TestPdf::run("qpdf", {"--check", path("three.pdf")}), 0);
        QCOMPARE(markedPages(path("three.pdf")), QList<int>());

        PFWatermarkModel overlapping = model("WWWWWW");
        overlapping.numType = 2;
        overlapping.startNum = 3;
        overlapping.endNum = 40;
        copy = document.snapshot();
        QCOMPARE(PFPageManager::sharedManager().pfStampWatermark(copy, overlapping), 1);
        QVERIFY(copy.write(path("three.pdf")));
        QCOMPARE(markedPages(path("three.pdf")), QList<int>({3}));
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestWatermarkedSave)
#include "tst_WatermarkedSave.moc"
