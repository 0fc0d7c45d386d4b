#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFDocument.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

class TestPDFAnnotation : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    PDFDocument fresh(const QString &name, int pages = 1)
    {
        TestPdf::write(path(name), TestPdf::simple(pages));
        return PDFDocument::open(path(name));
    }

private slots:
    void removedAndAddedAgainIsTheSameObject()
    {
        PDFDocument document = fresh("identity.pdf");
        PDFPage page = document.page(0);
        PDFAnnotation line = PDFAnnotation::create(document, "Line", QRectF(100, 100, 200, 50));
        line.setLinePoints(QPointF(100, 100), QPointF(300, 150));
        line.setLineStyles(PDFLineStyle::None, PDFLineStyle::ClosedArrow);
        line.setColor(QColor(244, 92, 89));
        line.setBorder(PDFBorder{4});
        QVERIFY(line.page().isNull());
        QVERIFY(page.addAnnotation(line));
        QCOMPARE(line.page(), page);
        QVERIFY(!page.addAnnotation(line)); // already there

        QVERIFY(page.removeAnnotation(line));
        QVERIFY(line.page().isNull());
        QVERIFY(page.annotations().isEmpty());
        // Properties survive while it is on no page, and it can change there.
        line.setContents("detached edit");
        QVERIFY(page.addAnnotation(line));
        const QVector<PDFAnnotation> annotations = page.annotations();
        QCOMPARE(annotations.size(), 1);
        QCOMPARE(annotations.first(), line);
        QCOMPARE(line.type(), QStringLiteral("Line"));
        QCOMPARE(line.startPoint(), QPointF(100, 100));
        QCOMPARE(line.endPoint(), QPointF(300, 150));
        QCOMPARE(line.endLineStyle(), PDFLineStyle::ClosedArrow);
        QCOMPARE(line.startLineStyle(), PDFLineStyle::None);
        QCOMPARE(line.border()->lineWidth, 4.0);
        QCOMPARE(line.contents(), QStringLiteral("detached edit"));
        QCOMPARE(line.color()->rgb(), QColor(244, 92, 89).rgb());
    }

    void everyPropertyRoundTripsThroughAFile()
    {
        PDFDocument document = fresh("props.pdf", 2);
        PDFPage page = document.page(0);
        const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7), QTimeZone::utc());

        PDFAnnotation text = PDFAnnotation::create(document, "FreeText", QRectF(72, 500, 200, 40));
        text.setContents(QStringLiteral("Hello 你好"));
        text.setFont("Helvetica", 12);
        text.setFontColor(Qt::blue);
        text.setInteriorColor(Qt::yellow);
        text.setAlignment(PDFTextAlignment::Right);
        text.setUserName("12,Helvetica");
        text.setModificationDate(when);
        page.addAnnotation(text);

        PDFAnnotation highlight = PDFAnnotation::create(document, "Highlight", QRectF(72, 690, 100, 14));
        const QVector<PDFQuad> quads{{{72, 704}, {172, 704}, {72, 690}, {172, 690}}, {{72, 684}, {120, 684}, {72, 670}, {120, 670}}};
        highlight.setQuadrilateralPoints(quads);
        highlight.setColor(Qt::yellow);
        page.addAnnotation(highlight);

        PDFAnnotation ink = PDFAnnotation::create(document, "Ink", QRectF(300, 300, 100, 100));
        ink.setInkPaths({{{300, 300}, {350, 380}, {400, 310}}});
        ink.setBorder(PDFBorder{3});
        page.addAnnotation(ink);

        PDFAnnotation note = PDFAnnotation::create(document, "Text", QRectF(500, 700, 20, 20));
        note.setIconName("Help");
        page.addAnnotation(note);

        PDFAnnotation link = PDFAnnotation::create(document, "Link", QRectF(72, 100, 100, 20));
        link.setAction(PDFActionGoTo{PDFDestination(document.page(1), QPointF(0, 792))});
        page.addAnnotation(link);
        PDFAnnotation web = PDFAnnotation::create(document, "Link", QRectF(72, 130, 100, 20));
        web.setAction(PDFActionURL{"https://example.org/a?b=c"});
        page.addAnnotation(web);

        PDFAnnotation circle = PDFAnnotation::create(document, "Circle", QRectF(200, 200, 50, 80));
        circle.setInteriorColor(Qt::green);
        circle.setColor(QColor(Qt::transparent)); // removes the stroke colour
        page.addAnnotation(circle);

        QVERIFY(document.write(path("props.pdf")));
        QCOMPARE(TestPdf::run("qpdf", {"--check", path("props.pdf")}), 0);

        const PDFDocument reopened = PDFDocument::open(path("props.pdf"));
        const QVector<PDFAnnotation> all = reopened.page(0).annotations();
        QCOMPARE(all.size(), 7);
        const PDFAnnotation t = all[0];
        QCOMPARE(t.type(), QStringLiteral("FreeText"));
        QCOMPARE(t.contents(), QStringLiteral("Hello 你好"));
        QCOMPARE(t.fontName(), QStringLiteral("Helvetica"));
        QCOMPARE(t.fontSize(), 12.0);
        QCOMPARE(t.fontColor().rgb(), QColor(Qt::blue).rgb());
        QCOMPARE(t.interiorColor()->rgb(), QColor(Qt::yellow).rgb());
        QCOMPARE(t.alignment(), PDFTextAlignment::Right);
        QCOMPARE(t.userName(), QStringLiteral("12,Helvetica"));
        QCOMPARE(t.modificationDate(), when);
        QCOMPARE(all[1].quadrilateralPoints(), quads);
        QCOMPARE(all[2].inkPaths().first().size(), 3);
        QCOMPARE(all[2].border()->lineWidth, 3.0);
        QCOMPARE(all[3].iconName(), QStringLiteral("Help"));
        const PDFAction action = all[4].action();
        const auto goTo = std::get_if<PDFActionGoTo>(&action);
        QVERIFY(goTo);
        QCOMPARE(goTo->destination.page().index(), 1);
        QCOMPARE(goTo->destination.point(), QPointF(0, 792));
        QCOMPARE(std::get<PDFActionURL>(all[5].action()).url, QStringLiteral("https://example.org/a?b=c"));
        QVERIFY(!all[6].color().has_value());
        QCOMPARE(all[6].interiorColor()->rgb(), QColor(Qt::green).rgb());
        // Every annotation got an appearance, so other viewers draw it.
        for (const PDFAnnotation &a : all)
            if (a.type() != "Link")
                QVERIFY2(a.hasAppearance(), qPrintable(a.type()));
    }

    void ownAppearanceIsKeptAndDrawn()
    {
        PDFDocument document = fresh("appearance.pdf");
        PDFAnnotation stamp = PDFAnnotation::create(document, "Stamp", QRectF(100, 100, 200, 100));
        QImage picture(20, 10, QImage::Format_ARGB32);
        picture.fill(QColor(0, 0, 255));
        PDFDrawing drawing;
        drawing.size = QSizeF(200, 100);
        drawing.content = "q 200 0 0 100 0 0 cm /Im0 Do Q";
        drawing.images.append({picture, {}});
        QVERIFY(stamp.setAppearance(drawing));
        stamp.setPrivateValue("StampIndex", "7");
        QVERIFY(document.page(0).addAnnotation(stamp));
        stamp.setBounds(QRectF(100, 100, 200, 100)); // a change must not replace the drawing
        QVERIFY(document.write(path("appearance.pdf")));

        const PDFDocument reopened = PDFDocument::open(path("appearance.pdf"));
        const PDFAnnotation again = reopened.page(0).annotations().first();
        QCOMPARE(again.privateValue("StampIndex"), QStringLiteral("7"));
        // Page space (100..300, 100..200) is, at scale 1 and y down, x 100..300 and y 592..692.
        const QImage page = reopened.page(0).render(1.0);
        QCOMPARE(QColor(page.pixel(200, 640)).blue(), 255);
        QCOMPARE(QColor(page.pixel(200, 640)).red(), 0);
        QCOMPARE(QColor(page.pixel(50, 640)).rgb(), QColor(Qt::white).rgb());
        // Another renderer agrees.
        QCOMPARE(TestPdf::run("pdftoppm", {"-r", "72", "-png", "-singlefile", path("appearance.pdf"), path("poppler")}), 0);
        const QImage poppler(path("poppler.png"));
        QCOMPARE(QColor(poppler.pixel(200, 640)).blue(), 255);
        QCOMPARE(QColor(poppler.pixel(200, 640)).red(), 0);
    }

    void copyMakesANewDictionary()
    {
        PDFDocument document = fresh("copy.pdf");
        PDFAnnotation square = PDFAnnotation::create(document, "Square", QRectF(10, 10, 50, 50));
        square.setColor(Qt::red);
        document.page(0).addAnnotation(square);
        PDFAnnotation copy = square.copy(document);
        QVERIFY(!(copy == square));
        QVERIFY(copy.page().isNull());
        copy.setColor(Qt::blue);
        QCOMPARE(square.color()->rgb(), QColor(Qt::red).rgb());
        PDFDocument other = PDFDocument::create();
        other.insertNewPage(QRectF(0, 0, 100, 100), 0);
        PDFAnnotation foreign = square.copy(other);
        QVERIFY(other.page(0).addAnnotation(foreign));
        QCOMPARE(foreign.bounds(), QRectF(10, 10, 50, 50));
        QVERIFY(!document.page(0).addAnnotation(foreign)); // belongs to the other document
    }

    void appearanceThatContainsItselfIsCopiedToo()
    {
        // A damaged file whose square's appearance dictionary lists itself as its own entries.
        QFile seed(QStringLiteral(QUIRNA_TEST_DATA_DIR "/fuzz/appearance-cycle.pdf"));
        QVERIFY(seed.open(QIODevice::ReadOnly));
        PDFDocument document = PDFDocument::openData(seed.readAll());
        QCOMPARE(document.page(0).annotations().size(), 1);
        QVERIFY(!document.page(0).annotations().first().copy(document).isNull());
        const QVector<PDFPage> copies = document.insertPageCopies({document.page(0)}, 1);
        QCOMPARE(copies.size(), 1);
        QCOMPARE(copies.first().annotations().size(), 1);
        QCOMPARE(copies.first().annotations().first().contents(), QStringLiteral("box"));
        const QString file = m_dir.filePath("cycle.pdf");
        QVERIFY(document.write(file));
        QCOMPARE(TestPdf::run("qpdf", {"--check", file}), 0);
        QCOMPARE(PDFDocument::open(file).pageCount(), 2);
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestPDFAnnotation)
#include "tst_PDFAnnotation.moc"
