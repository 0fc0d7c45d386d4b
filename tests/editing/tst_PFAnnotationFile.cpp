#include "EditingViewFixture.h"

#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QTemporaryDir>

using namespace EditingViewFixture;

// Annotations drawn with the mouse are standard PDF annotations: after saving, this engine and
// two independent renderers show each where it was drawn, in its colours.
class TestPFAnnotationFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // Draws one annotation of every drag-made kind on page 1 and saves the document.
    QString drawAndSave()
    {
        auto view = makeView(TestPdf::simple(1));
        if (!view)
            return {};
        const PDFPage page = view->document().page(0);

        view->pfChooseTool(PFToolStatusRectangle);
        view->setPfColor(QColor(0, 0, 255));
        view->setPfFillColor(Qt::transparent);
        view->setPfLineWidth(4);
        drag(*view, page, {100, 500}, {200, 560});

        view->pfChooseTool(PFToolStatusCircle);
        view->setPfColor(QColor(0, 0, 0));
        view->setPfFillColor(QColor(0, 200, 0));
        view->setPfLineWidth(2);
        drag(*view, page, {300, 500}, {400, 600});

        view->pfChooseTool(PFToolStatusPen);
        view->setPfColor(QColor(255, 0, 0));
        view->setPfLineWidth(6);
        drag(*view, page, {100, 300}, {250, 300}, 5);

        view->pfChooseTool(PFToolStatusLine);
        view->setPfColor(QColor(255, 0, 255));
        view->setPfLineWidth(4);
        drag(*view, page, {300, 300}, {450, 300});

        view->pfChooseTool(PFToolStatusHighlight);
        view->setPfColor(QColor(255, 255, 0));
        drag(*view, page, {73, 684}, {250, 684});

        if (page.annotations().size() != 5)
            return {};
        const QString path = m_dir.filePath(QStringLiteral("drawn.pdf"));
        return view->document().write(path) ? path : QString();
    }

    static QColor at(const QImage &image, QPointF pagePoint)
    {
        // 72 dpi: one pixel per point, y downwards from the top of the 792-point page.
        return image.pixelColor(int(pagePoint.x()), int(792 - pagePoint.y()));
    }

    static bool near(const QColor &a, const QColor &b)
    {
        return qAbs(a.red() - b.red()) < 60 && qAbs(a.green() - b.green()) < 60 && qAbs(a.blue() - b.blue()) < 60;
    }

    static double yellowShare(const QImage &image, const QRectF &pageRect)
    {
        int yellow = 0, all = 0;
        for (int x = int(pageRect.left()); x < int(pageRect.right()); ++x)
            for (int y = int(pageRect.top()); y < int(pageRect.bottom()); ++y, ++all)
                yellow += near(at(image, {double(x), double(y)}), QColor(255, 255, 0));
        return double(yellow) / all;
    }

    static void checkRendering(const QImage &image, const char *renderer)
    {
        QVERIFY2(!image.isNull(), renderer);
        QCOMPARE(image.height(), 792);
        const QColor white(255, 255, 255);
        // Square: its blue edge at x = 100 + width/2, empty inside.
        QVERIFY2(near(at(image, {102, 530}), QColor(0, 0, 255)), renderer);
        QVERIFY2(near(at(image, {150, 530}), white), renderer);
        // Circle: filled green at its centre.
        QVERIFY2(near(at(image, {350, 550}), QColor(0, 200, 0)), renderer);
        // Ink: red along the stroke.
        QVERIFY2(near(at(image, {175, 300}), QColor(255, 0, 0)), renderer);
        // Line: magenta in its middle, nothing beyond its end.
        QVERIFY2(near(at(image, {375, 300}), QColor(255, 0, 255)), renderer);
        QVERIFY2(near(at(image, {470, 300}), white), renderer);
        // Highlight: yellow paper behind the text of the second line, none above it.
        QVERIFY2(yellowShare(image, {80, 679, 120, 8}) > 0.4, renderer);
        QVERIFY2(yellowShare(image, {80, 715, 120, 8}) == 0, renderer);
        // Untouched paper stays white.
        QVERIFY2(near(at(image, {500, 100}), white), renderer);
    }

private slots:
    void savedAnnotationsRenderWhereDrawn()
    {
        QVERIFY(m_dir.isValid());
        const QString path = drawAndSave();
        QVERIFY(!path.isEmpty());

        // This engine reads them back as they were made.
        const PDFDocument reopened = PDFDocument::open(path);
        QVERIFY(!reopened.isNull());
        QStringList types;
        for (const PDFAnnotation &annotation : reopened.page(0).annotations())
            types << annotation.type();
        QCOMPARE(types, (QStringList{"Square", "Circle", "Ink", "Line", "Highlight"}));
        const PDFAnnotation square = reopened.page(0).annotations().first();
        QVERIFY(qAbs(square.bounds().x() - 100) <= 1 && qAbs(square.bounds().width() - 101) <= 1);
        QCOMPARE(square.border()->lineWidth, 4.0);
        QCOMPARE(square.color(), std::optional<QColor>(QColor(0, 0, 255)));
        checkRendering(reopened.page(0).render(1.0), "quirna");

        const QString poppler = m_dir.filePath(QStringLiteral("poppler"));
        QCOMPARE(TestPdf::run(QStringLiteral("pdftoppm"), {"-r", "72", "-png", "-singlefile", path, poppler}), 0);
        checkRendering(QImage(poppler + QStringLiteral(".png")), "pdftoppm");

        const QString mupdf = m_dir.filePath(QStringLiteral("mupdf.png"));
        QCOMPARE(TestPdf::run(QStringLiteral("mutool"), {"draw", "-q", "-r", "72", "-o", mupdf, path, "1"}), 0);
        checkRendering(QImage(mupdf), "mutool");
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFAnnotationFile)
#include "tst_PFAnnotationFile.moc"
