#include "pages/ImagePageSetup.h"
#include "pages/PFPageManager.h"
#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFDocument.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QtEndian>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

// Every written file is read back by our engine and by an independent reader.
class TestPFPageManager : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    PFPageManager &manager = PFPageManager::sharedManager();

    QString make(const QString &name, int pages)
    {
        TestPdf::write(m_dir.filePath(name), TestPdf::simple(pages));
        return m_dir.filePath(name);
    }
    QString out(const QString &name) const { return m_dir.filePath(name); }
    // The "Page n" markers of a written file, in order, as our engine reads them.
    static QStringList markers(const QString &path)
    {
        const PDFDocument document = PDFDocument::open(path);
        QStringList result;
        for (int i = 0; i < document.pageCount(); ++i)
            result.append(document.page(i).string().section(u'\n', 0, 0).trimmed());
        return result;
    }
    static bool qpdfAccepts(const QString &path) { return TestPdf::run("qpdf", {"--check", path}) == 0; }

    // DejaVu Sans as the family "QuirnaNoEmb" whose licence forbids embedding (OS/2 fsType 2),
    // made known to this process; its family name, or nothing when the font is missing.
    QString restrictedFont()
    {
        QFile source("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
        if (!source.open(QIODevice::ReadOnly))
            return {};
        QByteArray font = source.readAll();
        const auto u16 = [&](int at) { return qFromBigEndian<quint16>(font.constData() + at); };
        const auto u32 = [&](int at) { return qFromBigEndian<quint32>(font.constData() + at); };
        const QByteArray from = "DejaVu Sans", to = "QuirnaNoEmb";
        for (int i = 0; i < u16(4); ++i) {
            const int record = 12 + 16 * i;
            const QByteArray tag = font.mid(record, 4);
            const int offset = int(u32(record + 8));
            if (tag == "OS/2")
                qToBigEndian<quint16>(0x0002, font.data() + offset + 8);
            if (tag != "name")
                continue;
            const int strings = offset + u16(offset + 4);
            for (int n = 0; n < u16(offset + 2); ++n) {
                const int entry = offset + 6 + 12 * n;
                const int at = strings + u16(entry + 10), length = u16(entry + 8);
                const bool wide = u16(entry) != 1; // Unicode and Windows names are UTF-16BE
                QByteArray wanted = from, replacement = to;
                if (wide) {
                    wanted = QByteArray(), replacement = QByteArray();
                    for (int c = 0; c < from.size(); ++c) {
                        wanted += '\0' + from.mid(c, 1);
                        replacement += '\0' + to.mid(c, 1);
                    }
                }
                if (font.mid(at, length) == wanted)
                    font.replace(at, length, replacement);
            }
        }
        const QString path = out("restricted.ttf");
        QFile patched(path);
        if (!patched.open(QIODevice::WriteOnly) || patched.write(font) != font.size())
            return {};
        patched.close();
        return QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(path)).value(0);
    }
    static int pdfinfoPages(const QString &path)
    {
        QString info;
        TestPdf::run("pdfinfo", {path}, &info);
        const auto match = QRegularExpression("Pages:\\s+(\\d+)").match(info);
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }

private slots:
    void splitAllIntoNewFolder()
    {
        const QString a = make("a.pdf", 3);
        QDir().mkpath(out("s/a-split"));
        QDir().mkpath(out("s/a-split-1"));
        const PFPageResult result = manager.pfSplitPDF(a, out("s"), "all", {});
        QVERIFY(result.ok());
        QCOMPARE(result.written, QStringList({out("s/a-split-2/Page_1.pdf"), out("s/a-split-2/Page_2.pdf"),
                                              out("s/a-split-2/Page_3.pdf")}));
        for (int n = 1; n <= 3; ++n) {
            QVERIFY(qpdfAccepts(result.written[n - 1]));
            QCOMPARE(pdfinfoPages(result.written[n - 1]), 1);
            QCOMPARE(markers(result.written[n - 1]), QStringList({QString("Page %1").arg(n)}));
        }
        // The pages were written into a hidden folder that was then published whole: nothing
        // of it stays behind, and the folder is readable by others like any new folder.
        QCOMPARE(QDir(out("s")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList({"a-split", "a-split-1", "a-split-2"}));
        QVERIFY(QFileInfo(out("s/a-split-2")).permissions().testFlag(QFile::ReadOther));
    }

    void splitByModeAndRange()
    {
        const QString twelve = make("t.pdf", 12), five = make("f.pdf", 5), one = make("x-1.pdf", 1);
        const PFPageResult range = manager.pfSplitPDF(twelve, out("r"), "z", "10,3-1,3");
        QVERIFY(range.ok());
        QCOMPARE(range.written, QStringList({out("r/t-splited.pdf")}));
        QCOMPARE(markers(range.written[0]), QStringList({"Page 1", "Page 2", "Page 3", "Page 10"}));
        QCOMPARE(pdfinfoPages(range.written[0]), 4);

        QCOMPARE(markers(manager.pfSplitPDF(five, out("r"), "z", "1,3-6,10").written.value(0)),
                 QStringList({"Page 1", "Page 3", "Page 4", "Page 5"}));
        const PFPageResult odd = manager.pfSplitPDF(five, out("r"), "o", {});
        QCOMPARE(odd.written, QStringList({out("r/f-splited-1.pdf")}));
        QCOMPARE(markers(odd.written[0]), QStringList({"Page 1", "Page 3", "Page 5"}));
        const PFPageResult even = manager.pfSplitPDF(five, out("r"), "e", {});
        QCOMPARE(even.written, QStringList({out("r/f-splited-2.pdf")}));
        QCOMPARE(markers(even.written[0]), QStringList({"Page 2", "Page 4"}));
        QVERIFY(qpdfAccepts(even.written[0]));

        QCOMPARE(manager.pfSplitPDF(one, out("r"), "o", {}).written, QStringList({out("r/x-1-splited.pdf")}));
        QCOMPARE(manager.pfSplitPDF(one, out("r"), "o", {}).written, QStringList({out("r/x-1-splited-1.pdf")}));

        // A result without pages is refused and nothing is written.
        const QStringList before = QDir(out("r")).entryList(QDir::Files);
        QVERIFY(!manager.pfSplitPDF(one, out("r"), "e", {}).ok());
        QVERIFY(!manager.pfSplitPDF(twelve, out("r"), "z", "20,0,abc").ok());
        QCOMPARE(QDir(out("r")).entryList(QDir::Files), before);
    }

    void badSourcesAreRefused()
    {
        TestPdf::write(out("text.pdf"), "not a PDF");
        TestPdf::write(out("empty.pdf"), TestPdf::build({}));
        const QString plain = make("plain.pdf", 2);
        TestPdf::run("qpdf", {"--encrypt", "u", "o", "256", "--", plain, out("locked.pdf")});
        for (const QString &bad : {out("missing.pdf"), out("text.pdf"), out("empty.pdf"), out("locked.pdf")}) {
            const PFPageResult result = manager.pfSplitPDF(bad, out("bad"), "all", {});
            QVERIFY(!result.ok());
            QVERIFY(result.error.contains(QFileInfo(bad).fileName()));
            QVERIFY(!manager.pfCombinePdfs({plain, bad}, out("bad")).ok());
        }
        QVERIFY(!QFileInfo::exists(out("bad")));
    }

    void exportPagesAsImages()
    {
        const QString three = make("e.pdf", 3);
        const PFPageResult jpeg = manager.pfSplitImage(three, out("img"), 2, std::nullopt);
        QVERIFY(jpeg.ok());
        QCOMPARE(jpeg.written, QStringList({out("img/e-images/Page_1.jpg"), out("img/e-images/Page_2.jpg"),
                                            out("img/e-images/Page_3.jpg")}));
        for (const QString &path : jpeg.written) {
            const QImage image(path, "jpeg");
            QCOMPARE(image.size(), QSize(612, 792)); // one pixel per point
        }
        const struct { int index; const char *name; QByteArray magic; } formats[] = {
            {1, "Page_2.png", QByteArray("\x89PNG", 4)},
            {3, "Page_2.jp2", QByteArray("\0\0\0\x0cjP  ", 8)},
            {4, "Page_2.tiff", QByteArray("II*\0", 4)}};
        int run = 1;
        for (const auto &format : formats) {
            const PFPageResult result = manager.pfSplitImage(three, out("img"), format.index, QString("2,9"));
            QVERIFY(result.ok());
            QCOMPARE(result.written, QStringList({out(QString("img/e-images-%1/%2").arg(run++).arg(format.name))}));
            QFile file(result.written[0]);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.read(format.magic.size()), format.magic);
        }
        // The rendered page is the page: text is dark ink on white.
        const QImage page(out("img/e-images-1/Page_2.png"));
        QCOMPARE(page.pixelColor(5, 5), QColor(Qt::white));
        QVERIFY(!page.isNull());
        QVERIFY(!manager.pfSplitImage(three, out("img"), 1, QString("9")).ok());
        QVERIFY(!QFileInfo::exists(out("img/e-images-4")));
        QVERIFY(QDir(out("img")).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot).filter(QRegularExpression("^\\.")).isEmpty());
    }

    void combineKeepsOutlines()
    {
        const QString a = make("ca.pdf", 3), b = make("cb.pdf", 2);
        {
            // Give cb an outline item pointing at its page 2.
            PDFDocument source = PDFDocument::open(b);
            PDFOutline root = PDFOutline::create(source), item = PDFOutline::create(source);
            item.setLabel("Second");
            item.setDestination(PDFDestination(source.page(1), QPointF(0, 700)));
            root.insertChild(item, 0);
            source.setOutlineRoot(root);
            QVERIFY(source.write(b));
        }
        const PFPageResult first = manager.pfCombinePdfs({a, b}, out("c"));
        QCOMPARE(first.written, QStringList({out("c/merge.pdf")}));
        QCOMPARE(manager.pfCombinePdfs({a, b}, out("c")).written, QStringList({out("c/merge-1.pdf")}));
        QVERIFY(qpdfAccepts(first.written[0]));
        QCOMPARE(pdfinfoPages(first.written[0]), 5);
        QCOMPARE(markers(first.written[0]), QStringList({"Page 1", "Page 2", "Page 3", "Page 1", "Page 2"}));

        const PDFDocument merged = PDFDocument::open(first.written[0]);
        const PDFOutline root = merged.outlineRoot();
        QCOMPARE(root.numberOfChildren(), 2);
        QCOMPARE(root.childAtIndex(0).label(), QString("ca"));
        QCOMPARE(root.childAtIndex(0).destination().page().index(), 0);
        QCOMPARE(root.childAtIndex(1).label(), QString("cb"));
        QCOMPARE(root.childAtIndex(1).destination().page().index(), 3);
        QCOMPARE(root.childAtIndex(1).numberOfChildren(), 1);
        QCOMPARE(root.childAtIndex(1).childAtIndex(0).label(), QString("Second"));
        QCOMPARE(root.childAtIndex(1).childAtIndex(0).destination().page().index(), 4);
        QCOMPARE(root.childAtIndex(1).childAtIndex(0).destination().point(), QPointF(0, 700));
        // The independent reader sees the same targets.
        QString json;
        TestPdf::run("qpdf", {"--json", "--json-key=outlines", first.written[0]}, &json);
        QVERIFY(json.contains("\"destpageposfrom1\": 5"));
        QVERIFY(json.contains("\"destpageposfrom1\": 4"));
    }

    void imagesToPdf()
    {
        QImage wide(1000, 500, QImage::Format_RGB32);
        wide.fill(Qt::blue);
        QVERIFY(wide.save(out("wide.PNG")));
        QImage photo(300, 200, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y)
            for (int x = 0; x < photo.width(); ++x)
                photo.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x * 13 + y * 29) % 256));
        QVERIFY(photo.save(out("photo.jpg"), "jpeg", 95));

        const PFPageResult result = manager.pfCombineImages({out("wide.PNG"), out("photo.jpg")}, out("i"),
                                                            *ImagePageSetup::fromTexts(true, 7, {}, {}, "0"));
        QVERIFY(result.ok());
        QCOMPARE(result.written, QStringList({out("i/merge.pdf")}));
        QVERIFY(qpdfAccepts(result.written[0]));
        QCOMPARE(pdfinfoPages(result.written[0]), 2);
        const PDFDocument document = PDFDocument::open(result.written[0]);
        QCOMPARE(document.page(0).bounds(), QRectF(0, 0, 595, 842));
        // Redrawn at two pixels per point: 595 × 297.5 points is 1190 × 595 pixels; the photograph is JPEG.
        QString images;
        TestPdf::run("pdfimages", {"-list", result.written[0]}, &images);
        QVERIFY2(images.contains(QRegularExpression("\\s1190\\s+595\\s+rgb.*image")), qPrintable(images));
        QVERIFY2(images.contains(QRegularExpression("\\n\\s+2\\s+\\d+\\s+image\\s+\\d+\\s+\\d+\\s+rgb\\s+3\\s+8\\s+jpeg")),
                 qPrintable(images));
        // The blue image fills the band from y 272.25 to 569.75 and nothing else.
        const QImage page = document.page(0).render(1.0);
        QCOMPARE(page.pixelColor(297, 421), QColor(Qt::blue));
        QCOMPARE(page.pixelColor(297, 200), QColor(Qt::white));

        TestPdf::write(out("broken.png"), "not an image");
        QVERIFY(!manager.pfCombineImages({out("broken.png")}, out("i"), *ImagePageSetup::fromTexts(true, 7, {}, {}, "")).ok());
        TestPdf::write(out("notes.txt"), "text");
        QVERIFY(!manager.pfCombineImages({out("notes.txt")}, out("i"), *ImagePageSetup::fromTexts(true, 7, {}, {}, "")).ok());
        QCOMPARE(QDir(out("i")).entryList(QDir::Files), QStringList({"merge.pdf"}));
    }

    void protectedCopy()
    {
        const PDFDocument document = PDFDocument::open(make("p.pdf", 2));
        QVERIFY(manager.pfSavePassDoc(document, QString("open"), QString(""), false, false, out("user.pdf")).ok());
        QVERIFY(PDFDocument::open(out("user.pdf")).isLocked());
        QVERIFY(TestPdf::run("qpdf", {"--check", out("user.pdf")}) != 0);
        QCOMPARE(TestPdf::run("qpdf", {"--check", "--password=open", out("user.pdf")}), 0);

        QVERIFY(manager.pfSavePassDoc(document, std::nullopt, QString("perm"), false, true, out("owner.pdf")).ok());
        QString encryption;
        TestPdf::run("qpdf", {"--show-encryption", out("owner.pdf")}, &encryption);
        QVERIFY2(encryption.contains("print low resolution: not allowed"), qPrintable(encryption));
        QVERIFY(encryption.contains("extract for any purpose: allowed"));
        QVERIFY(!PDFDocument::open(out("owner.pdf")).isLocked());
        QVERIFY(!document.isEncrypted()); // the open document stays as it was

        QVERIFY(!manager.pfSavePassDoc(document, QString(""), QString(""), true, true, out("none.pdf")).ok());
        QVERIFY(!QFileInfo::exists(out("none.pdf")));
    }

    void watermarkBecomesContent()
    {
        const QString source = make("w.pdf", 5);
        PFWatermarkModel model;
        model.inputText = "WATERMARK";
        model.fontColor = QColor(255, 0, 0, 128);
        model.numType = 2;
        model.startNum = 2;
        model.endNum = 3;
        const PFPageResult result = manager.pfAddWatermark(source, out("w-marked.pdf"), model);
        QVERIFY(result.ok());
        QVERIFY(qpdfAccepts(out("w-marked.pdf")));
        QCOMPARE(pdfinfoPages(out("w-marked.pdf")), 5);
        const PDFDocument marked = PDFDocument::open(out("w-marked.pdf"));
        auto reddish = [](const QImage &page) {
            int count = 0;
            for (int y = 0; y < page.height(); y += 2)
                for (int x = 0; x < page.width(); x += 2) {
                    const QColor c = page.pixelColor(x, y);
                    count += c.red() > 200 && c.green() < 180 && c.blue() < 180;
                }
            return count;
        };
        for (int i = 0; i < 5; ++i) {
            const bool carries = i == 1 || i == 2;
            QCOMPARE(reddish(marked.page(i).render(0.5)) > 50, carries);
            QVERIFY(marked.page(i).string().contains("Lorem ipsum")); // the page's own text stays
            QVERIFY(marked.page(i).annotations().isEmpty()); // drawn into the content, not over it
        }
        QVERIFY(!manager.pfAddWatermark(source, out("w2.pdf"), PFWatermarkModel()).ok());
        model.startNum = 7;
        model.endNum = 9;
        QVERIFY(!manager.pfAddWatermark(source, out("w2.pdf"), model).ok());
        QVERIFY(!QFileInfo::exists(out("w2.pdf")));
    }

    void fontThatMayNotBeEmbeddedIsDrawnAsOutlines()
    {
        const QString family = restrictedFont();
        QCOMPARE(family, QString("QuirnaNoEmb"));
        const QString source = make("r.pdf", 1);
        PFWatermarkModel model;
        model.inputText = "SECRET";
        model.fontName = family;
        model.fontSize = 80;
        model.degree = 0;
        model.fontColor = QColor(255, 0, 0);
        const PFPageResult restricted = manager.pfAddWatermark(source, out("restricted.pdf"), model);
        QVERIFY2(restricted.ok(), qPrintable(restricted.error));
        QVERIFY(qpdfAccepts(restricted.written[0]));
        // Nothing of the font is in the file, and the mark is still there to see.
        QString fonts;
        QCOMPARE(TestPdf::run("pdffonts", {restricted.written[0]}, &fonts), 0);
        QVERIFY2(!fonts.contains("QuirnaNoEmb") && !fonts.contains("DejaVu"), qPrintable(fonts));
        const QImage page = PDFDocument::open(restricted.written[0]).page(0).render(0.5);
        int red = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            }
        QVERIFY2(red > 200, qPrintable(QString::number(red)));

        // The same letters in the font itself, which allows embedding, stay text.
        model.fontName = "DejaVu Sans";
        const PFPageResult embedded = manager.pfAddWatermark(source, out("embedded.pdf"), model);
        QVERIFY(embedded.ok());
        QCOMPARE(TestPdf::run("pdffonts", {embedded.written[0]}, &fonts), 0);
        QVERIFY2(fonts.contains("DejaVuSans"), qPrintable(fonts));
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestPFPageManager)
#include "tst_PFPageManager.moc"
