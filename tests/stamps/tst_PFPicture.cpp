#include "editing/PFBaseImageAnnotation.h"
#include "pages/Jp2Writer.h"
#include "platform/pdf/PDFDocument.h"
#include "stamps/PFPicture.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>
#include <zlib.h>

namespace {

// A picture with detail, so that a lossy second encoding would change its bytes.
QImage photo(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7) % 256, (y * 5) % 256, ((x + y) * 3) % 256));
    return image;
}

QByteArray encoded(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.setQuality(85);
    return writer.write(image) ? bytes : QByteArray();
}

// The image objects of the file, one line each, as mutool lists them.
QStringList imageObjects(const QString &pdf)
{
    QString output;
    TestPdf::run(QStringLiteral("mutool"), {"show", pdf, "grep"}, &output);
    return output.split(QLatin1Char('\n'), Qt::SkipEmptyParts).filter(QStringLiteral("/Subtype/Image"));
}

} // namespace

class TestPFPicture : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            return {};
        return path;
    }

    // Places the picture at the given bounds on page 1 of a fresh document and writes it.
    QString placed(const QList<PFPicture> &pictures, const QString &name)
    {
        PDFDocument document = PDFDocument::openData(TestPdf::simple(1));
        PDFPage page = document.page(0);
        double y = 600;
        for (const PFPicture &picture : pictures) {
            PFBaseImageAnnotation annotation(page, picture.drawingImage(), QRectF(100, y, 140, 100));
            if (annotation.isNull() || !page.addAnnotation(annotation))
                return {};
            y -= 150;
        }
        const QString pdf = m_dir.filePath(name);
        return document.write(pdf) ? pdf : QString();
    }

private slots:
    void baselineJpegIsKeptAsItsBytesOnce()
    {
        const QByteArray jpeg = encoded(photo(800, 600), "jpeg");
        QVERIFY(PFPicture::isPassThroughJpeg(jpeg));
        QString message;
        const PFPicture picture = PFPicture::fromFile(file(QStringLiteral("photo.jpg"), jpeg), &message);
        QVERIFY2(!picture.isNull(), qPrintable(message));
        QCOMPARE(picture.image().size(), QSize(800, 600));
        QCOMPARE(picture.jpeg(), jpeg);

        // The same picture placed twice, and redrawn at new bounds, is one image object.
        PDFDocument document = PDFDocument::openData(TestPdf::simple(1));
        PDFPage page = document.page(0);
        PFBaseImageAnnotation first(page, picture.drawingImage(), QRectF(100, 500, 140, 105));
        PFBaseImageAnnotation second(page, picture.drawingImage(), QRectF(300, 500, 140, 105));
        QVERIFY(page.addAnnotation(first) && page.addAnnotation(second));
        second.setBounds(QRectF(300, 300, 280, 210));
        const QString pdf = m_dir.filePath(QStringLiteral("twice.pdf"));
        QVERIFY(document.write(pdf));
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {"--check", pdf}), 0);
        // One image object, drawn by three appearances.
        const QStringList images = imageObjects(pdf);
        QCOMPARE(images.size(), 1);
        QVERIFY2(images.first().contains(QLatin1String("/DCTDecode")), qPrintable(images.first()));
        QFile written(pdf);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains(jpeg)); // not encoded again
    }

    void otherPicturesAreLosslessAndKeepTransparency()
    {
        // A progressive JPEG is decoded and kept losslessly.
        const QByteArray progressive = encoded(photo(120, 80), "jpeg", true);
        QVERIFY(!PFPicture::isPassThroughJpeg(progressive));
        const PFPicture decoded = PFPicture::fromData(progressive);
        QVERIFY(!decoded.isNull());
        QVERIFY(decoded.jpeg().isEmpty());

        // Left half opaque red, right half fully transparent.
        QImage alpha(100, 100, QImage::Format_ARGB32);
        alpha.fill(Qt::transparent);
        QPainter(&alpha).fillRect(0, 0, 50, 100, Qt::red);
        const PFPicture png = PFPicture::fromData(encoded(alpha, "png"));
        QVERIFY(png.image().hasAlphaChannel());
        const QString pdf = placed({decoded, png}, QStringLiteral("lossless.pdf"));
        QVERIFY(!pdf.isEmpty());
        // Two pictures and the soft mask of the transparent one, none of them lossy.
        const QStringList images = imageObjects(pdf);
        QCOMPARE(images.size(), 3);
        QCOMPARE(images.filter(QStringLiteral("/SMask")).size(), 1);
        QVERIFY(images.filter(QStringLiteral("DCTDecode")).isEmpty());

        // The transparent half shows the page through it.
        QString output;
        const QString png72 = m_dir.filePath(QStringLiteral("lossless.png"));
        QCOMPARE(TestPdf::run(QStringLiteral("mutool"), {"draw", "-q", "-r", "72", "-o", png72, pdf, "1"}, &output), 0);
        const QImage page(png72);
        // The picture is at (100, 450)-(240, 550) in page space: 242..342 from the top.
        const QColor opaque = page.pixelColor(130, 292), clear = page.pixelColor(210, 292);
        QVERIFY2(opaque.red() > 200 && opaque.green() < 60, qPrintable(opaque.name()));
        QVERIFY2(clear.red() > 240 && clear.green() > 240 && clear.blue() > 240, qPrintable(clear.name()));
    }

    void hugePicturesAreScaledToTheLimit()
    {
        QImage large(6000, 4300, QImage::Format_RGB32);
        large.fill(QColor(30, 120, 200));
        const PFPicture picture = PFPicture::fromData(encoded(large, "jpeg"));
        QVERIFY(!picture.isNull());
        const qint64 pixels = qint64(picture.image().width()) * picture.image().height();
        QVERIFY2(pixels <= PFPicture::kMaxPixels && pixels > PFPicture::kMaxPixels * 9 / 10, qPrintable(QString::number(pixels)));
        QVERIFY(qAbs(double(picture.image().width()) / picture.image().height() - 6000.0 / 4300.0) < 0.01);
        QVERIFY(picture.jpeg().isEmpty()); // the file's bytes are no longer this picture
    }

    void unusualAndBrokenFilesArePlacedOrRefusedWithAMessage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("expected"); // empty: refused

        QTest::newRow("empty") << QByteArray() << QSize();
        QTest::newRow("text") << QByteArray("This is not an image at all.\n") << QSize();
        const QByteArray png = encoded(photo(64, 48), "png");
        QTest::newRow("truncated png") << png.left(png.size() / 3) << QSize();
        QImage deep(40, 30, QImage::Format_RGBA64);
        deep.fill(QColor(10, 200, 30));
        QTest::newRow("16-bit png") << encoded(deep, "png") << QSize(40, 30);
        QTest::newRow("bmp") << encoded(photo(33, 21), "bmp") << QSize(33, 21);
        QTest::newRow("tiff") << encoded(photo(33, 21), "tiff") << QSize(33, 21);
        // A PNG whose header claims 30000 x 30000 pixels.
        QByteArray huge = png;
        const QByteArray dims = QByteArray::fromHex("0000753000007530");
        huge.replace(16, 8, dims);
        const QByteArray chunk = huge.mid(12, 17);
        const quint32 crc = qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef *>(chunk.constData()), uInt(chunk.size()))));
        huge.replace(29, 4, QByteArray(reinterpret_cast<const char *>(&crc), 4));
        QTest::newRow("30000 x 30000 png") << huge << QSize();
    }

    void unusualAndBrokenFilesArePlacedOrRefusedWithAMessage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, expected);
        QString message;
        const PFPicture picture = PFPicture::fromData(bytes, &message);
        if (expected.isEmpty()) {
            QVERIFY(picture.isNull());
            QVERIFY(!message.isEmpty());
        } else {
            QVERIFY2(!picture.isNull(), qPrintable(message));
            QCOMPARE(picture.image().size(), expected);
        }
    }

    void jpeg2000IsReadThroughTheEngine()
    {
        const QString path = m_dir.filePath(QStringLiteral("picture.jp2"));
        const QByteArray jp2 = Jp2Writer::encode(photo(90, 60));
        QVERIFY(!jp2.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(jp2) == jp2.size());
        file.close();
        QString message;
        const PFPicture picture = PFPicture::fromFile(path, &message);
        QVERIFY2(!picture.isNull(), qPrintable(message));
        QCOMPARE(picture.image().size(), QSize(90, 60));
        QCOMPARE(picture.image().pixelColor(10, 20), photo(90, 60).pixelColor(10, 20)); // lossless
        QVERIFY(PFPicture::fromFile(m_dir.filePath(QStringLiteral("missing.png")), &message).isNull());
        QVERIFY(!message.isEmpty());
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFPicture)
#include "tst_PFPicture.moc"
