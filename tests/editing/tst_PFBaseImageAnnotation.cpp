#include "editing/PFBaseImageAnnotation.h"
#include "editing/PFBasePDFView.h"
#include "editing/PFPainterSurface.h"
#include "editing/PFPdfDrawingSurface.h"
#include "editing/PFUprightTransform.h"
#include "platform/pdf/PDFDocument.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Top left quarter red, top right green, lower half blue: any turn or mirror shows.
QImage quadrantImage()
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter painter(&image);
    painter.fillRect(0, 0, 20, 10, Qt::red);
    painter.fillRect(20, 0, 20, 10, Qt::green);
    return image;
}

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40
           && std::abs(a.blue() - b.blue()) < 40;
}

// Checks that `rendered` shows the quadrant image upright filling `rect` (display pixels) and
// nothing of it just outside. Empty on success, else what was wrong.
QString checkUpright(const QImage &rendered, const QRectF &rect)
{
    const auto at = [&](double fx, double fy) {
        return rendered.pixelColor(int(rect.x() + fx * rect.width()), int(rect.y() + fy * rect.height()));
    };
    struct Probe { double fx, fy; QColor expected; const char *where; };
    const Probe probes[] = {
        {0.25, 0.25, Qt::red, "top left"}, {0.75, 0.25, Qt::green, "top right"},
        {0.25, 0.75, Qt::blue, "bottom left"}, {0.75, 0.75, Qt::blue, "bottom right"},
        {0.02, 0.03, Qt::red, "top left corner"}, {0.98, 0.97, Qt::blue, "bottom right corner"},
    };
    for (const Probe &p : probes) {
        if (!near(at(p.fx, p.fy), p.expected))
            return QStringLiteral("%1 is %2").arg(QLatin1String(p.where), at(p.fx, p.fy).name());
    }
    const QPointF outside[] = {{rect.left() - 3, rect.center().y()}, {rect.right() + 3, rect.center().y()},
                               {rect.center().x(), rect.top() - 3}, {rect.center().x(), rect.bottom() + 3}};
    for (QPointF p : outside) {
        if (!near(rendered.pixelColor(p.toPoint()), Qt::white))
            return QStringLiteral("outside at %1,%2 is painted").arg(p.x()).arg(p.y());
    }
    return {};
}

} // namespace

class TestPFBaseImageAnnotation : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void transformMapsPageToUprightDisplay_data()
    {
        QTest::addColumn<int>("rotation");
        for (int r : {0, 90, 180, 270})
            QTest::addRow("%d", r) << r;
    }

    void transformMapsPageToUprightDisplay()
    {
        QFETCH(int, rotation);
        PDFDocument document = PDFDocument::openData(
            TestPdf::build({TestPdf::Page{{"text"}, QRectF(0, 0, 612, 792), rotation}}));
        const PDFPage page = document.page(0);
        const QTransform upright = pfTransformContextForBox(page, PDFDisplayBox::CropBox);
        // The engine's display transform is y-down; flipped, it must equal the upright map.
        const QSizeF shown = page.displaySize();
        const QTransform display = page.pageToDisplay(1) * QTransform(1, 0, 0, -1, 0, shown.height());
        for (QPointF p : {QPointF(0, 0), QPointF(612, 0), QPointF(0, 792), QPointF(100, 300)}) {
            QCOMPARE(upright.map(p), display.map(p));
        }
    }

    void drawnUprightInsideItsBounds_data()
    {
        QTest::addColumn<int>("rotation");
        for (int r : {0, 90, 180, 270})
            QTest::addRow("%d", r) << r;
    }

    // On screen, in the file after reopening, and in an independent renderer.
    void drawnUprightInsideItsBounds()
    {
        QFETCH(int, rotation);
        QVERIFY(m_dir.isValid());
        PFBasePDFView view;
        view.setDocument(PDFDocument::openData(
            TestPdf::build({TestPdf::Page{{"text"}, QRectF(0, 0, 612, 792), rotation}})));
        PDFPage page = view.document().page(0);
        const QRectF bounds(100, 300, 160, 80);
        PFBaseImageAnnotation stamp(page, quadrantImage(), bounds);
        QVERIFY(!stamp.isNull());
        QCOMPARE(stamp.type(), QStringLiteral("Stamp"));
        QCOMPARE(stamp.bounds(), bounds);
        view.pfAddShapeAnnotation(stamp, 0);
        QVERIFY(page.annotations().contains(stamp));

        const QRectF shown = page.pageToDisplay(1).mapRect(bounds);
        QString error = checkUpright(page.render(1), shown);
        QVERIFY2(error.isEmpty(), qPrintable("engine: " + error));

        // The QPainter back end draws the same picture in the same place.
        QImage painted(page.displaySize().toSize(), QImage::Format_RGB32);
        painted.fill(Qt::white);
        {
            QPainter painter(&painted);
            painter.setTransform(page.pageToDisplay(1));
            PFPainterSurface surface(painter);
            stamp.drawWithBox(surface, PDFDisplayBox::CropBox);
        }
        error = checkUpright(painted, shown);
        QVERIFY2(error.isEmpty(), qPrintable("painter: " + error));

        const QString path = m_dir.filePath(QStringLiteral("stamp%1.pdf").arg(rotation));
        QVERIFY(view.document().write(path));
        const PDFDocument reopened = PDFDocument::open(path);
        QVERIFY(!reopened.isNull());
        const QVector<PDFAnnotation> annotations = reopened.page(0).annotations();
        QCOMPARE(annotations.size(), 1);
        QVERIFY(PFBaseImageAnnotation::isImageAnnotation(annotations.first()));
        error = checkUpright(reopened.page(0).render(1), shown);
        QVERIFY2(error.isEmpty(), qPrintable("reopened: " + error));

        QString output;
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), path}, &output), 0);
        const QString prefix = m_dir.filePath(QStringLiteral("poppler%1").arg(rotation));
        QCOMPARE(TestPdf::run(QStringLiteral("pdftoppm"),
                              {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                               QStringLiteral("-singlefile"), path, prefix}, &output), 0);
        const QImage poppler(prefix + QStringLiteral(".png"));
        QCOMPARE(poppler.size(), page.displaySize().toSize());
        error = checkUpright(poppler, shown);
        QVERIFY2(error.isEmpty(), qPrintable("pdftoppm: " + error));
    }

    void newBoundsDrawAnew()
    {
        PDFDocument document = PDFDocument::openData(
            TestPdf::build({TestPdf::Page{{"text"}, QRectF(0, 0, 500, 800), 90}}));
        PDFPage page = document.page(0);
        PFBaseImageAnnotation stamp(page, quadrantImage(), QRectF(50, 50, 100, 100));
        QVERIFY(page.addAnnotation(stamp));
        // A very different shape: the picture fills the new bounds, still upright.
        const QRectF moved(200, 300, 60, 240);
        stamp.setBounds(moved);
        QCOMPARE(stamp.bounds(), moved);
        const QString error = checkUpright(page.render(1), page.pageToDisplay(1).mapRect(moved));
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void recognisedOnlyWhenMarked()
    {
        PDFDocument document = PDFDocument::openData(TestPdf::simple(1));
        const PDFPage page = document.page(0);
        QVERIFY(!PFBaseImageAnnotation::isImageAnnotation(
            PDFAnnotation::create(document, QStringLiteral("Stamp"), QRectF(0, 0, 10, 10))));
        QVERIFY(PFBaseImageAnnotation::isImageAnnotation(
            PFBaseImageAnnotation(page, quadrantImage(), QRectF(0, 0, 10, 10))));
        // Nothing to draw or nowhere to draw it: no annotation.
        QVERIFY(PFBaseImageAnnotation(page, QImage(), QRectF(0, 0, 10, 10)).isNull());
        QVERIFY(PFBaseImageAnnotation(page, quadrantImage(), QRectF()).isNull());
    }

    void pdfSurfaceWritesStrokesOpenAndOpacityOnce()
    {
        PFPdfDrawingSurface surface(QSizeF(100, 50));
        QPainterPath open;
        open.moveTo(0, 0);
        open.lineTo(10, 10);
        surface.strokePath(open, QColor(255, 0, 0, 128), 2);
        surface.fillText(QStringLiteral("Ab"), QFont(QStringLiteral("DejaVu Sans"), 12), {5, 5},
                         QColor(0, 0, 255, 128));
        const PDFDrawing &drawing = surface.drawing();
        QCOMPARE(drawing.opacities.size(), 1);
        QVERIFY(drawing.content.contains("/Gs0 gs"));
        // The stroke must not be closed back to its start.
        const QByteArray stroke = drawing.content.left(drawing.content.indexOf("S\n"));
        QVERIFY(!stroke.contains("h\n"));
        QVERIFY(drawing.content.contains(" c\n")); // glyph outlines, not a font
        QVERIFY(!drawing.content.contains("Tf"));
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFBaseImageAnnotation)
#include "tst_PFBaseImageAnnotation.moc"
