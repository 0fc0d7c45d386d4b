#include "editing/PFPainterSurface.h"
#include "editing/PFUprightTransform.h"
#include "platform/pdf/PDFDocument.h"
#include "stamps/PFPlacementGeometry.h"
#include "stamps/PFStampAnnotation.h"
#include "stamps/PFStampCatalogue.h"
#include "stamps/PFStampCellView.h"
#include "stamps/PFStampRedraw.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool isWhite(QColor c) { return c.red() > 245 && c.green() > 245 && c.blue() > 245; }

// Dark enough to be one of the inks (the fills are all light).
bool isInk(QColor c) { return c.lightness() < 120; }

// Renders page 1 of the file at 72 dpi (one pixel per point) with a reader of our own choice.
QImage render(const QString &program, const QString &pdf, const QString &stem)
{
    QString output;
    if (program == QLatin1String("mutool")) {
        const QString png = stem + QStringLiteral("-mutool.png");
        if (TestPdf::run(QStringLiteral("mutool"), {"draw", "-q", "-r", "72", "-o", png, pdf, "1"}, &output) != 0)
            return {};
        return QImage(png);
    }
    if (TestPdf::run(QStringLiteral("pdftoppm"), {"-r", "72", "-f", "1", "-l", "1", "-singlefile", "-png", pdf, stem}, &output) != 0)
        return {};
    return QImage(stem + QStringLiteral(".png"));
}

// The pixel rectangle of page-space bounds on an unrotated page of height h at 72 dpi.
QRect pixels(const QRectF &bounds, double pageHeight)
{
    return QRectF(bounds.x(), pageHeight - bounds.bottom(), bounds.width(), bounds.height()).toRect();
}

int inkPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += isInk(image.pixelColor(x, y));
    return count;
}

QRect paintedBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!isWhite(image.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestPFStampAnnotation : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void everyStampIsDrawnInEveryReaderWithoutFonts()
    {
        PDFDocument document = PDFDocument::openData(TestPdf::build({TestPdf::Page{}}));
        PDFPage page = document.page(0);
        QVector<QRectF> placed;
        for (int index = 0; index < PFStampCatalogue::kCount; ++index) {
            const double width = PFStampCatalogue::placementWidth(index);
            QVERIFY(width > 20);
            const QRectF bounds(20 + (index % 3) * 195, 740 - (index / 3) * 90, std::min(width, 180.0), 38);
            PFStampAnnotation stamp(page, index, bounds);
            QVERIFY2(!stamp.isNull(), qPrintable(QString::number(index)));
            QVERIFY(page.addAnnotation(stamp));
            placed.append(bounds);
        }
        const QString pdf = m_dir.filePath(QStringLiteral("catalogue.pdf"));
        QVERIFY(document.write(pdf));
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {"--check", pdf}), 0);
        // The labels are outlines: the file uses no font beyond the page's own.
        const QString original = m_dir.filePath(QStringLiteral("blank.pdf"));
        QVERIFY(TestPdf::write(original, TestPdf::build({TestPdf::Page{}})));
        QString fonts, originalFonts;
        TestPdf::run(QStringLiteral("pdffonts"), {pdf}, &fonts);
        TestPdf::run(QStringLiteral("pdffonts"), {original}, &originalFonts);
        // Object numbers change when the file is rewritten; the font names must not.
        const auto names = [](const QString &listing) {
            QStringList result;
            for (const QString &line : listing.split(u'\n').mid(2))
                if (!line.trimmed().isEmpty())
                    result << line.section(u' ', 0, 0);
            return result;
        };
        QCOMPARE(names(fonts), names(originalFonts));

        for (const QString &reader : {QStringLiteral("mutool"), QStringLiteral("pdftoppm")}) {
            const QImage image = render(reader, pdf, m_dir.filePath(QStringLiteral("catalogue-") + reader));
            QVERIFY2(!image.isNull(), qPrintable(reader));
            for (int index = 0; index < placed.size(); ++index) {
                const QRect area = pixels(placed[index], 792);
                // The label sits in the inner part, away from the outline.
                const QRect inner = area.adjusted(area.width() / 4, area.height() / 4, -area.width() / 8, -area.height() / 4);
                QVERIFY2(inkPixels(image, inner) > 10, qPrintable(QStringLiteral("%1: stamp %2 shows no label").arg(reader).arg(index)));
                // The fill colours the badge.
                const QColor fill = image.pixelColor(area.left() + area.width() - 14, area.center().y() + area.height() / 4);
                QVERIFY2(!isWhite(fill), qPrintable(QStringLiteral("%1: stamp %2 is not filled").arg(reader).arg(index)));
            }
        }
    }

    void stampIsRecognisedAfterReopenAndRedrawnAtNewBounds()
    {
        PDFDocument document = PDFDocument::openData(TestPdf::simple(1));
        PDFPage page = document.page(0);
        PFStampAnnotation dated(page, 17, QRectF(100, 500, 150, 38));
        QVERIFY(!dated.isNull());
        QVERIFY(page.addAnnotation(dated));
        const QString date = dated.pfDateStr();
        QVERIFY(QDateTime::fromString(date, QStringLiteral("yyyy/MM/dd HH:mm:ss")).isValid());
        const QString pdf = m_dir.filePath(QStringLiteral("dated.pdf"));
        QVERIFY(document.write(pdf));

        PDFDocument reopened = PDFDocument::open(pdf);
        const QVector<PDFAnnotation> annotations = reopened.page(0).annotations();
        QCOMPARE(annotations.size(), 1);
        PFStampAnnotation again(annotations.first());
        QVERIFY(!again.isNull());
        QCOMPARE(again.selectStampIndex(), 17);
        QCOMPARE(again.pfDateStr(), date); // fixed at its first drawing
        // Enlarged through the selection's path, which knows only a plain annotation.
        PDFAnnotation plain = annotations.first();
        plain.setBounds(QRectF(100, 400, 300, 76));
        QVERIFY(PFStampRedraw::redrawAtBounds(plain));
        const QString resized = m_dir.filePath(QStringLiteral("resized.pdf"));
        QVERIFY(reopened.write(resized));
        const QImage image = render(QStringLiteral("mutool"), resized, m_dir.filePath(QStringLiteral("resized")));
        QVERIFY(!image.isNull());
        // Drawn for the new size, the label is twice as tall: ink reaches well into the upper half.
        const QRect area = pixels(QRectF(100, 400, 300, 76), 792);
        QVERIFY(inkPixels(image, QRect(area.left() + 6, area.top() + 10, area.width() / 2, area.height() / 3)) > 40);
        // A picture or a foreign stamp is no catalogue stamp.
        QVERIFY(PFStampAnnotation(PDFAnnotation::create(reopened, QStringLiteral("Stamp"), QRectF(0, 0, 10, 10))).isNull());
    }

    void stampOnRotatedPageReadsUpright_data()
    {
        QTest::addColumn<int>("rotation");
        for (int r : {0, 90, 180, 270})
            QTest::addRow("%d", r) << r;
    }

    void stampOnRotatedPageReadsUpright()
    {
        QFETCH(int, rotation);
        PDFDocument document = PDFDocument::openData(TestPdf::build({TestPdf::Page{{}, QRectF(0, 0, 612, 792), rotation}}));
        PDFPage page = document.page(0);
        // The sign-here arrow: its point must be on the reader's left.
        const QSizeF size(PFStampCatalogue::placementWidth(20), PFStampCatalogue::kPlacementHeight);
        const QRectF bounds = PFPlacementGeometry::centredOnPage(page, QPointF(306, 396), size);
        PFStampAnnotation stamp(page, 20, bounds);
        QVERIFY(page.addAnnotation(stamp));
        const QString pdf = m_dir.filePath(QStringLiteral("rotated-%1.pdf").arg(rotation));
        QVERIFY(document.write(pdf));
        for (const QString &reader : {QStringLiteral("mutool"), QStringLiteral("pdftoppm")}) {
            const QImage image = render(reader, pdf, m_dir.filePath(QStringLiteral("rotated-%1-%2").arg(rotation).arg(reader)));
            QVERIFY(!image.isNull());
            const QRect box = paintedBox(image);
            // The arrow's outline is inset by 8 on every side.
            QVERIFY2(qAbs(box.width() - (size.width() - 16)) <= 3 && qAbs(box.height() - (size.height() - 16)) <= 3,
                     qPrintable(QStringLiteral("%1: %2x%3").arg(reader).arg(box.width()).arg(box.height())));
            const auto column = [&](int x) {
                int count = 0;
                for (int y = box.top(); y <= box.bottom(); ++y)
                    count += !isWhite(image.pixelColor(x, y));
                return count;
            };
            QVERIFY2(column(box.left() + 6) < column(box.right() - 6) / 2, qPrintable(reader));
        }
    }

    void stampAtThePageEdgeStaysOnThePage()
    {
        PDFDocument document = PDFDocument::openData(TestPdf::build({TestPdf::Page{{}, QRectF(0, 0, 612, 792), 90}}));
        const PDFPage page = document.page(0);
        const QRectF box = page.bounds();
        for (QPointF corner : {QPointF(0, 0), QPointF(612, 792), QPointF(-50, 900)}) {
            const QRectF bounds = PFPlacementGeometry::centredOnPage(page, corner, QSizeF(120, 38));
            QVERIFY2(box.contains(bounds), qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
            // Upright on the turned page: 120 wide as shown means 120 high in page space.
            QCOMPARE(bounds.size(), QSizeF(38, 120));
        }
        // Away from the edges the click is the centre.
        QCOMPARE(PFPlacementGeometry::centredOnPage(document.page(0), QPointF(300, 400), QSizeF(120, 38)).center(),
                 QPointF(300, 400));
        QCOMPARE(PFPlacementGeometry::pictureSize(QSize(400, 200)), QSizeF(140, 70));
        QVERIFY(PFPlacementGeometry::pictureSize(QSize(0, 200)).isEmpty());
    }

    void placementWidthFollowsTheWidthKey()
    {
        // The dated stamps measure their label and an extra letter.
        for (const auto &[plain, dated] : {std::pair{0, 16}, {6, 17}, {5, 18}, {4, 19}})
            QVERIFY(PFStampCatalogue::placementWidth(dated) > PFStampCatalogue::placementWidth(plain));
        // Outside the catalogue a stamp is sized like "不可公布" and draws nothing.
        QCOMPARE(PFStampCatalogue::placementWidth(100), PFStampCatalogue::placementWidth(12));
        PDFDocument document = PDFDocument::openData(TestPdf::build({TestPdf::Page{}}));
        PDFPage page = document.page(0);
        PFStampAnnotation nothing(page, 100, QRectF(100, 100, 100, 38));
        QVERIFY(page.addAnnotation(nothing));
        const QString pdf = m_dir.filePath(QStringLiteral("nothing.pdf"));
        QVERIFY(document.write(pdf));
        QVERIFY(paintedBox(render(QStringLiteral("mutool"), pdf, m_dir.filePath(QStringLiteral("nothing")))).isEmpty());
    }

    void pickerCellsDrawEveryStampOnGrey()
    {
        for (int index = 0; index <= PFStampCatalogue::kCount; ++index) {
            PFStampCellView cell(index);
            const QImage image = cell.grab().toImage();
            QCOMPARE(image.size(), PFStampCellView::kCellSize * image.devicePixelRatio());
            const int ink = inkPixels(image, image.rect());
            if (index < PFStampCatalogue::kCount)
                QVERIFY2(ink > 20, qPrintable(QString::number(index)));
            else
                QCOMPARE(ink, 0); // only the grey ground
        }
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFStampAnnotation)
#include "tst_PFStampAnnotation.moc"
