#include "pages/ImagePageSetup.h"
#include "pages/OutputFile.h"
#include "pages/PFPageManager.h"
#include "pages/WatermarkDrawing.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFImageDecoder.h"
#include "platform/pdf/PDFOutline.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

// Images in every format the tools take, honest resolution tags on exported pages, the split at
// outline items, and writers that notice a failed write.
class TestPageToolFormats : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    PFPageManager &manager = PFPageManager::sharedManager();

    QString out(const QString &name) const { return m_dir.filePath(name); }
    // An image made by ImageMagick, an encoder of its own, from a solid colour or another of its
    // generators ("gradient:black-white").
    QString convert(const QString &name, QSize size, const QString &colour, const QStringList &options = {})
    {
        const QString path = out(name);
        const int code = TestPdf::run("convert", QStringList{"-size", QString("%1x%2").arg(size.width()).arg(size.height()),
                                                            colour.contains(':') ? colour : "xc:" + colour} + options + QStringList{path});
        return code == 0 ? path : QString();
    }
    // The object number of the page at `index`, as qpdf numbers pages.
    static int pageObject(const QString &pdf, int index)
    {
        QString json;
        TestPdf::run("qpdf", {"--json", "--json-key=pages", pdf}, &json);
        const auto objects = QRegularExpression("\"object\": \"(\\d+) 0 R\"").globalMatch(json);
        QStringList numbers;
        for (auto it = objects; it.hasNext();)
            numbers << it.next().captured(1);
        return numbers.value(index).toInt();
    }
    // (width, height) of every image of a PDF, in order, as pdfimages lists them.
    static QList<QSize> imageSizes(const QString &pdf)
    {
        QString list;
        TestPdf::run("pdfimages", {"-list", pdf}, &list);
        QList<QSize> sizes;
        const QRegularExpression row("^\\s*\\d+\\s+\\d+\\s+image\\s+(\\d+)\\s+(\\d+)", QRegularExpression::MultilineOption);
        for (auto it = row.globalMatch(list); it.hasNext();) {
            const auto match = it.next();
            sizes << QSize(match.captured(1).toInt(), match.captured(2).toInt());
        }
        return sizes;
    }

private slots:
    void everyImageFormatBecomesAPage()
    {
        // Each source has its own proportions, so the fitted size shows which image was read.
        const QString jp2 = convert("a.jp2", {300, 100}, "red");
        const QString page1 = convert("p1.png", {100, 200}, "lime"), page2 = convert("p2.png", {400, 100}, "blue");
        QVERIFY(!jp2.isEmpty() && !page1.isEmpty() && !page2.isEmpty());
        QCOMPARE(TestPdf::run("convert", {page1, page2, out("two.tif")}), 0);
        const QString grey = convert("grey.png", {200, 100}, "gradient:black-white",
                                     {"-colorspace", "Gray", "-depth", "16", "-define", "png:bit-depth=16"});
        const QString cmyk = convert("cmyk.jpg", {100, 300}, "cyan", {"-colorspace", "CMYK"});
        const QString bmp = convert("b.bmp", {100, 100}, "yellow");
        QVERIFY(!grey.isEmpty() && !cmyk.isEmpty() && !bmp.isEmpty());
        QString identify;
        TestPdf::run("identify", {grey, cmyk}, &identify);
        QVERIFY2(identify.contains("16-bit") && identify.contains("CMYK"), qPrintable(identify));

        QCOMPARE(PDFImageDecoder::probe(out("two.tif")), QSize(100, 200)); // the first page
        const auto setup = ImagePageSetup::fromTexts(false, 0, "200", "200", "0");
        const PFPageResult result = manager.pfCombineImages({jp2, out("two.tif"), grey, cmyk, bmp}, out("i"), *setup);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(TestPdf::run("qpdf", {"--check", result.written[0]}), 0);
        // Fitted into 200 × 200 points and redrawn at two pixels per point.
        QCOMPARE(imageSizes(result.written[0]),
                 QList<QSize>({{400, 134}, {200, 400}, {400, 200}, {134, 400}, {400, 400}}));
        const PDFDocument document = PDFDocument::open(result.written[0]);
        QCOMPARE(document.pageCount(), 5);
        const QColor expected[] = {Qt::red, Qt::green, QColor(128, 128, 128), Qt::cyan, Qt::yellow};
        for (int i = 0; i < 5; ++i) {
            const QColor centre = document.page(i).render(1.0).pixelColor(100, 100);
            QVERIFY2(qAbs(centre.red() - expected[i].red()) < 40 && qAbs(centre.green() - expected[i].green()) < 40
                         && qAbs(centre.blue() - expected[i].blue()) < 40,
                     qPrintable(QString("page %1: %2").arg(i + 1).arg(centre.name())));
        }
    }

    void oneBadImageIsNamedBeforeAnythingIsWritten()
    {
        const QString good = convert("good.png", {50, 50}, "red");
        // A real PNG header over damaged image data.
        QFile source(good);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray damaged = source.readAll().left(40);
        damaged += QByteArray(200, '\x5a');
        TestPdf::write(out("damaged.png"), damaged);
        QVERIFY(PDFImageDecoder::decode(out("damaged.png")).image.isNull());
        TestPdf::write(out("text.jp2"), "not an image at all");
        for (const QString &bad : {out("damaged.png"), out("text.jp2")}) {
            const PFPageResult result = manager.pfCombineImages({good, bad}, out("bad"), *ImagePageSetup::fromTexts(true, 7, {}, {}, ""));
            QVERIFY(!result.ok());
            QVERIFY2(result.error.startsWith(QFileInfo(bad).fileName() + " "), qPrintable(result.error));
        }
        QVERIFY(!QFileInfo::exists(out("bad")));
    }

    void exportTagsTheResolutionItRendered()
    {
        TestPdf::write(out("r.pdf"), TestPdf::simple(2));
        const PFPageResult png = manager.pfSplitImage(out("r.pdf"), out("x"), 1, QString("1"), 150);
        QVERIFY(png.ok());
        const QImage hires(png.written[0]);
        QCOMPARE(hires.size(), QSize(1275, 1650));
        QCOMPARE(qRound(hires.dotsPerMeterX() * 0.0254), 150);
        QString identify;
        TestPdf::run("identify", {"-units", "PixelsPerInch", "-format", "%x %y %w %h", png.written[0]}, &identify);
        QVERIFY2(identify.startsWith("150") && identify.contains("1275 1650"), qPrintable(identify));
        // The default is 72 dpi, and so is the tag, in every format that has one.
        for (int format : {1, 2, 4}) {
            const PFPageResult result = manager.pfSplitImage(out("r.pdf"), out("x"), format, QString("2"));
            QVERIFY(result.ok());
            const QImage image(result.written[0]);
            QCOMPARE(image.size(), QSize(612, 792));
            QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), 72);
        }
        QVERIFY(!manager.pfSplitImage(out("r.pdf"), out("y"), 1, std::nullopt, 5000).ok());
        QVERIFY(!QFileInfo::exists(out("y")));
    }

    void splitAtOutlineItems()
    {
        const QString path = out("book.pdf");
        TestPdf::write(path, TestPdf::simple(7));
        {
            PDFDocument document = PDFDocument::open(path);
            PDFOutline root = PDFOutline::create(document);
            const QList<std::pair<QString, int>> items = {{"Intro", 1}, {"A/B: parts?", 2}, {"Intro", 5}};
            for (int i = 0; i < items.size(); ++i) {
                PDFOutline item = PDFOutline::create(document);
                item.setLabel(items[i].first);
                item.setDestination(PDFDestination(document.page(items[i].second), QPointF(0, 700)));
                root.insertChild(item, i);
            }
            PDFOutline nested = PDFOutline::create(document);
            nested.setLabel("Section");
            nested.setDestination(PDFDestination(document.page(3), QPointF(0, 700)));
            root.childAtIndex(1).insertChild(nested, 0);
            document.setOutlineRoot(root);
            QVERIFY(document.write(path));
        }
        const PFPageResult result = manager.pfSplitByOutline(path, out("o"), 1);
        QVERIFY2(result.ok(), qPrintable(result.error));
        // Page 1 comes before the first item and goes with it; titles are made safe; a repeated
        // title gets a free name.
        QCOMPARE(result.written, QStringList({out("o/book-split/Intro.pdf"), out("o/book-split/A_B_ parts_.pdf"),
                                              out("o/book-split/Intro-1.pdf")}));
        int total = 0;
        const int expected[] = {2, 3, 2};
        for (int i = 0; i < 3; ++i) {
            QString info;
            TestPdf::run("pdfinfo", {result.written[i]}, &info);
            const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
            QCOMPARE(pages, expected[i]);
            QCOMPARE(TestPdf::run("qpdf", {"--check", result.written[i]}), 0);
            total += pages;
        }
        QCOMPARE(total, 7);
        const PFPageResult second = manager.pfSplitByOutline(path, out("o"), 2);
        QCOMPARE(second.written, QStringList({out("o/book-split-1/Section.pdf")}));
        QCOMPARE(PDFDocument::open(second.written[0]).pageCount(), 7); // the only part holds every page
        QVERIFY(!manager.pfSplitByOutline(path, out("o"), 3).ok());
        QVERIFY(!manager.pfSplitByOutline(out("r-none.pdf"), out("o"), 1).ok());
    }

    void aFailedWriteIsAFailure()
    {
        // /dev/full takes the open and refuses every byte, as a full disk does.
        const QString link = out("full.png");
        QVERIFY(QFile::link("/dev/full", link));
        QVERIFY(!OutputFile::writeStaged(link, QByteArray(100000, 'x')));
        QVERIFY(!QFileInfo::exists(link)); // what was written is taken away again
        QVERIFY(OutputFile::writeStaged(out("fine.png"), "bytes"));
        QVERIFY(OutputFile::writeReplacing(out("fine.png"), "other bytes"));
        QFile written(out("fine.png"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("other bytes"));
        QVERIFY(!OutputFile::writeReplacing(out("no/such/folder/x.png"), "bytes"));
    }

    void watermarkIsTextInOneSharedForm()
    {
        TestPdf::write(out("wm.pdf"), TestPdf::simple(3));
        PFWatermarkModel model;
        model.fontName = "DejaVu Sans";
        model.inputText = "CONFIDENTIAL\nDo not copy";
        model.degree = 0;
        model.fontSize = 30;
        model.fontColor = QColor(0, 0, 255, 128);
        const PFPageResult result = manager.pfAddWatermark(out("wm.pdf"), out("wm-marked.pdf"), model);
        QVERIFY2(result.ok(), qPrintable(result.error));
        const QString marked = out("wm-marked.pdf");
        QCOMPARE(TestPdf::run("qpdf", {"--check", marked}), 0);
        // An independent reader finds each line once per page, as a line of its own.
        for (int page = 1; page <= 3; ++page) {
            QString text;
            TestPdf::run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), marked, "-"}, &text);
            QCOMPARE(text.count("CONFIDENTIAL"), 1);
            QCOMPARE(text.count("Do not copy"), 1);
            QVERIFY2(!text.contains("CONFIDENTIAL Do not copy"), qPrintable(text));
        }
        // The font is embedded as a subset, once.
        QString fonts;
        TestPdf::run("pdffonts", {marked}, &fonts);
        QVERIFY2(fonts.contains(QRegularExpression("[A-Z]{6}\\+DejaVuSans\\s+CID TrueType\\s+Identity-H\\s+yes\\s+yes\\s+yes")),
                 qPrintable(fonts));
        // Every page draws the same form object.
        QStringList forms;
        for (int page = 0; page < 3; ++page) {
            QString object;
            TestPdf::run("qpdf", {"--show-object=" + QString::number(pageObject(marked, page)), marked}, &object);
            const auto match = QRegularExpression("/QuirnaDrawing0 (\\d+) 0 R").match(object);
            QVERIFY2(match.hasMatch(), qPrintable(object));
            forms << match.captured(1);
        }
        QCOMPARE(forms.size(), 3);
        QCOMPARE(forms.count(forms[0]), 3);
        // Our own engine finds it too, and the page's own text stays.
        const PDFDocument document = PDFDocument::open(marked);
        QVERIFY(document.page(1).string().contains("CONFIDENTIAL"));
        QVERIFY(document.page(1).string().contains("Lorem ipsum"));
    }

    void cjkWatermarkIsTextInACidKeyedSubset()
    {
        // Noto Sans CJK is an OpenType collection whose outlines are a CID-keyed CFF program, and
        // whose file is over 16 MB.
        TestPdf::write(out("cjk.pdf"), TestPdf::simple(2));
        PFWatermarkModel model;
        model.fontName = "Noto Sans CJK SC";
        model.inputText = "机密\n草稿";
        model.degree = 0;
        model.fontSize = 60;
        model.fontColor = QColor(255, 0, 0);
        const PFPageResult result = manager.pfAddWatermark(out("cjk.pdf"), out("cjk-marked.pdf"), model);
        QVERIFY2(result.ok(), qPrintable(result.error));
        const QString marked = out("cjk-marked.pdf");
        QCOMPARE(TestPdf::run("qpdf", {"--check", marked}), 0);
        QString fonts;
        TestPdf::run("pdffonts", {marked}, &fonts);
        QVERIFY2(fonts.contains(QRegularExpression("[A-Z]{6}\\+NotoSansCJKsc-Regular\\s+CID Type 0C\\s+Identity-H\\s+yes\\s+yes\\s+yes")),
                 qPrintable(fonts));
        QVERIFY2(QFileInfo(marked).size() < 30000, qPrintable(QString::number(QFileInfo(marked).size())));
        // Both readers find each line once per page, as a line of its own.
        for (int page = 1; page <= 2; ++page) {
            QString text;
            TestPdf::run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), marked, "-"}, &text);
            QCOMPARE(text.count("机密"), 1);
            QCOMPARE(text.count("草稿"), 1);
            QVERIFY2(!text.contains("机密 草稿") && !text.contains("机密草稿"), qPrintable(text));
        }
        const PDFDocument document = PDFDocument::open(marked);
        QVERIFY(document.page(1).string().contains("机密"));
        QVERIFY(document.page(1).string().contains("草稿"));

        // The glyphs drawn are the ones typed: what two renderers paint red is where the toolkit's
        // own outlines of the text lie (a wrong glyph choice paints other shapes, or none).
        QImage shape(612, 792, QImage::Format_Grayscale8);
        shape.fill(0);
        {
            QPainter painter(&shape);
            painter.setTransform(QTransform(1, 0, 0, -1, 0, 792)); // page space, y upwards
            painter.fillPath(WatermarkDrawing::outline(model, QSizeF(612, 792)), Qt::white);
        }
        const QString poppler = out("cjk-poppler"), mupdf = out("cjk-mupdf.png");
        QCOMPARE(TestPdf::run("pdftoppm", {"-r", "72", "-f", "1", "-l", "1", "-png", "-singlefile", marked, poppler}), 0);
        QCOMPARE(TestPdf::run("mutool", {"draw", "-q", "-r", "72", "-o", mupdf, marked, "1"}), 0);
        for (const QString &rendered : {poppler + ".png", mupdf}) {
            const QImage image = QImage(rendered).convertToFormat(QImage::Format_RGB32);
            QCOMPARE(image.size(), shape.size());
            int red = 0, inside = 0, shapeArea = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb pixel = image.pixel(x, y);
                    const bool isRed = qRed(pixel) > 200 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
                    const bool inShape = qGray(shape.pixel(x, y)) > 128;
                    red += isRed;
                    inside += isRed && inShape;
                    shapeArea += inShape;
                }
            QVERIFY2(shapeArea > 2000, qPrintable(QString::number(shapeArea)));
            QVERIFY2(red > shapeArea * 8 / 10 && inside > red * 9 / 10,
                     qPrintable(QString("%1: %2 red, %3 in the text's shape of %4").arg(rendered).arg(red).arg(inside).arg(shapeArea)));
        }
    }

    void charactersTheFontLacksAreTextInTheFaceItFallsBackTo()
    {
        TestPdf::write(out("mixed.pdf"), TestPdf::simple(1));
        PFWatermarkModel model;
        model.fontName = "DejaVu Sans";
        model.inputText = "DRAFT 机密\n草稿 copy";
        model.degree = 0;
        const PFPageResult result = manager.pfAddWatermark(out("mixed.pdf"), out("mixed-marked.pdf"), model);
        QVERIFY2(result.ok(), qPrintable(result.error));
        const QString marked = out("mixed-marked.pdf");
        QCOMPARE(TestPdf::run("qpdf", {"--check", marked}), 0);
        QString fonts, text;
        TestPdf::run("pdffonts", {marked}, &fonts);
        QVERIFY2(fonts.contains(QRegularExpression("\\+DejaVuSans\\s+CID TrueType")), qPrintable(fonts));
        QVERIFY2(fonts.contains(QRegularExpression("\\+NotoSansCJK\\w+-Regular\\s+CID Type 0C")), qPrintable(fonts));
        TestPdf::run("pdftotext", {marked, "-"}, &text);
        QVERIFY2(text.contains("DRAFT 机密\n草稿 copy"), qPrintable(text));
        QVERIFY(PDFDocument::open(marked).page(0).string().contains("草稿 copy"));
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestPageToolFormats)
#include "tst_PageToolFormats.moc"
