#include "pages/PFPageManager.h"
#include "pages/PageMessages.h"
#include "pages/PngEncoder.h"
#include "platform/pdf/PDFBulkRender.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

// Pages exported as images are the pages as a second renderer draws them, whatever page came
// before them through the same worker, and PNG files hold exactly the pixels they were given.
class TestPageImageExport : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    PFPageManager &manager = PFPageManager::sharedManager();

    QString out(const QString &name) const { return m_dir.filePath(name); }

    // Pages whose sizes and contents change from one to the next: black, blank of the same size,
    // blank and much smaller, then large again with a red square on white.
    static QByteArray changingPages()
    {
        const QList<std::pair<QByteArray, QByteArray>> pages = {{"612 792", "0 g 0 0 612 792 re f"},
                                                                {"612 792", "% blank"},
                                                                {"300 400", "% blank"},
                                                                {"612 792", "1 0 0 rg 100 100 50 50 re f"}};
        QByteArray kids;
        for (int i = 0; i < pages.size(); ++i)
            kids += QByteArray::number(3 + 2 * i) + " 0 R ";
        QList<QByteArray> objects = {"<< /Type /Catalog /Pages 2 0 R >>",
                                     "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pages.size()) + " >>"};
        for (int i = 0; i < pages.size(); ++i) {
            objects << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + pages[i].first + "] /Contents "
                           + QByteArray::number(4 + 2 * i) + " 0 R >>";
            objects << "<< /Length " + QByteArray::number(pages[i].second.size()) + " >>\nstream\n" + pages[i].second
                           + "\nendstream";
        }
        return TestPdf::fromObjects(objects);
    }

    static bool samePixels(const QImage &a, const QImage &b)
    {
        return a.size() == b.size() && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
    }

    static bool allWhite(const QImage &image)
    {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y)
            for (int x = 0; x < rgb.width(); ++x)
                if (rgb.pixel(x, y) != qRgb(255, 255, 255))
                    return false;
        return true;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void pagesMatchAnotherRendererWhateverCameBefore()
    {
        const QString pdf = out("changing.pdf");
        QVERIFY(TestPdf::write(pdf, changingPages()));
        QCOMPARE(TestPdf::run("mutool", {"draw", "-q", "-r", "72", "-o", out("reference-%d.png"), pdf}), 0);
        QList<QImage> reference;
        for (int n = 1; n <= 4; ++n)
            reference << QImage(out(QString("reference-%1.png").arg(n)));
        QCOMPARE(reference[2].size(), QSize(300, 400));

        // One worker renders every page into the same pixels, one after another.
        QList<QImage> rendered(4);
        PDFBulkRender renderer(pdf);
        QVERIFY(renderer.render({0, 1, 2, 3, 0}, 1.0, [&] {
            return [&](int index, const QImage &image) {
                rendered[index] = image.copy();
                return !image.isNull();
            };
        }, 1));
        for (int i = 0; i < 4; ++i)
            QVERIFY2(samePixels(rendered[i], reference[i]), qPrintable(QString("page %1").arg(i + 1)));
        QVERIFY(allWhite(rendered[1]) && allWhite(rendered[2]));

        // The files of the export, written by all workers, hold the same pixels.
        const PFPageResult result = manager.pfSplitImage(pdf, out("export"), 1, std::nullopt);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.written.size(), 4);
        for (int i = 0; i < 4; ++i) {
            const QImage file(result.written[i], "png");
            QVERIFY2(samePixels(file, reference[i]), qPrintable(result.written[i]));
        }
        // A page without colour is stored as grey, one with colour keeps it.
        QCOMPARE(QImage(result.written[1]).format(), QImage::Format_Grayscale8);
        QCOMPARE(QImage(result.written[3]).pixelColor(125, 792 - 125), QColor(Qt::red));
    }

    void pngHoldsExactlyThePixelsGiven()
    {
        // One encoder for every image, as a worker uses it: sizes and layouts change in turn.
        PngEncoder encoder;
        QImage gradient(257, 31, QImage::Format_RGB888);
        for (int y = 0; y < gradient.height(); ++y)
            for (int x = 0; x < gradient.width(); ++x)
                gradient.setPixel(x, y, qRgb(x % 256, (x * y) % 256, 255 - y));
        QImage translucent(40, 600, QImage::Format_ARGB32);
        translucent.fill(qRgba(10, 200, 30, 128));
        QImage grey(90, 7, QImage::Format_RGB32);
        for (int x = 0; x < grey.width(); ++x)
            for (int y = 0; y < grey.height(); ++y)
                grey.setPixel(x, y, qRgb(x * 2, x * 2, x * 2));
        QImage almostGrey = grey.copy();
        almostGrey.setPixel(89, 6, qRgb(7, 7, 8));
        for (const QImage &image : {gradient, translucent, grey, almostGrey, gradient.scaled(3, 2)}) {
            const QByteArray png = encoder.encode(image, 72);
            QImage decoded;
            QVERIFY(decoded.loadFromData(png, "png"));
            QCOMPARE(decoded.size(), image.size());
            QCOMPARE(decoded.convertToFormat(QImage::Format_ARGB32), image.convertToFormat(QImage::Format_ARGB32));
        }
        QVERIFY(encoder.encode(QImage(), 72).isEmpty());
    }

    void pageTooLargeAtTheChosenResolutionIsRefusedUpFront()
    {
        // 2,000 points square: 4 million pixels at 72 dpi, 69 million at 300 dpi.
        const QString pdf = out("poster.pdf");
        QVERIFY(TestPdf::write(pdf, TestPdf::build({TestPdf::Page{{"Poster"}, QRectF(0, 0, 2000, 2000)}})));
        const PFPageResult large = manager.pfSplitImage(pdf, out("poster"), 1, std::nullopt, 300);
        QCOMPARE(large.error, PageMessages::pageTooLarge(1));
        QVERIFY(!QFileInfo::exists(out("poster/poster-images")));
        const PFPageResult plain = manager.pfSplitImage(pdf, out("poster"), 1, std::nullopt, 72);
        QVERIFY2(plain.ok(), qPrintable(plain.error));
        QCOMPARE(QImage(plain.written[0]).size(), QSize(2000, 2000));
    }
};

QUIRNA_TEST_MAIN(QCoreApplication, TestPageImageExport)
#include "tst_PageImageExport.moc"
