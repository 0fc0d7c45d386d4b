#include "pages/FreeName.h"
#include "pages/ImagePageSetup.h"
#include "pages/PageRange.h"
#include "pages/WatermarkDrawing.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

// The pure rules of the page tools: page ranges, vacant names, image placement, watermark geometry.
class TestPageRules : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString touch(const QString &name)
    {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        return file.fileName();
    }

private slots:
    void pageRangeText()
    {
        using V = QVector<int>;
        QCOMPARE(PageRange::pages("1,3-6,10", 12), V({1, 3, 4, 5, 6, 10}));
        QCOMPARE(PageRange::pages("10,3-1,3", 12), V({1, 2, 3, 10}));
        QCOMPARE(PageRange::pages("6-3", 12), V({3, 4, 5, 6}));
        QCOMPARE(PageRange::pages(" 4", 12), V({4}));
        QCOMPARE(PageRange::pages("4 ", 12), V({4}));
        QCOMPARE(PageRange::pages("4a", 12), V({4}));
        QCOMPARE(PageRange::pages("2-", 12), V({1, 2}));
        QCOMPARE(PageRange::pages("-3", 12), V({1, 2, 3}));
        QCOMPARE(PageRange::pages("1-3-9", 12), V({1, 2, 3}));
        QCOMPARE(PageRange::pages("1,3-6,10", 5), V({1, 3, 4, 5}));
        QVERIFY(PageRange::pages("0", 12).isEmpty());
        QVERIFY(PageRange::pages("abc", 12).isEmpty());
        QVERIFY(PageRange::pages(",", 12).isEmpty());
        QVERIFY(PageRange::pages("", 12).isEmpty());
        QVERIFY(PageRange::pages("20", 12).isEmpty());
        // Huge and overflowing ranges are clipped, never enumerated.
        QCOMPARE(PageRange::pages("1-99999999999", 3), V({1, 2, 3}));
        QCOMPARE(PageRange::pages("99999999999999999999999-2", 3), V({2, 3}));
        QCOMPARE(PageRange::pages("2-99999999999999999999999", 3), V({2, 3}));
        QCOMPARE(PageRange::pages("-99999999999999999999999-2", 3), V({1, 2, 3})); // 0 to the huge number
    }

    void vacantFileNames()
    {
        const QString report = touch("report.pdf");
        touch("report-1.pdf");
        QCOMPARE(FreeName::forFile(report), m_dir.filePath("report-2.pdf"));
        QCOMPARE(FreeName::forFile(touch("2x.pdf")), m_dir.filePath("2x-3.pdf"));
        QCOMPARE(FreeName::forFile(touch("scan-07.pdf")), m_dir.filePath("scan-8.pdf"));
        QCOMPARE(FreeName::forFile(touch("a-b.pdf")), m_dir.filePath("a-b-1.pdf"));
        QCOMPARE(FreeName::forFile(touch("photo.png")), m_dir.filePath("photo-1.pdf"));
        QCOMPARE(FreeName::forFile(m_dir.filePath("vacant.pdf")), m_dir.filePath("vacant.pdf"));
        touch("page-1-1.tiff");
        QCOMPARE(FreeName::forAnyFile(touch("page-1.tiff")), m_dir.filePath("page-1-2.tiff"));
        QCOMPARE(FreeName::forAnyFile(touch("scan.v2.jpg")), m_dir.filePath("scan.v2-1.jpg"));
        QCOMPARE(FreeName::forAnyFile(touch("plain")), m_dir.filePath("plain-1"));
        QCOMPARE(FreeName::forAnyFile(m_dir.filePath("free.png")), m_dir.filePath("free.png"));

        QVERIFY(FreeName::isPureInt(" -12 "));
        QVERIFY(!FreeName::isPureInt("1a"));
        QVERIFY(!FreeName::isPureInt(""));
    }

    void vacantFolderAndSplitNames()
    {
        QDir(m_dir.path()).mkdir("a-split");
        QDir(m_dir.path()).mkdir("a-split-1");
        QCOMPARE(FreeName::forFolder(m_dir.filePath("a-split")), m_dir.filePath("a-split-2"));
        QCOMPARE(FreeName::forFolder(m_dir.filePath("b-images")), m_dir.filePath("b-images"));

        touch("a-splited.pdf");
        QCOMPARE(FreeName::forSplitFile(m_dir.filePath("a-splited.pdf")), m_dir.filePath("a-splited-1.pdf"));
        touch("a-splited-1.pdf");
        QCOMPARE(FreeName::forSplitFile(m_dir.filePath("a-splited.pdf")), m_dir.filePath("a-splited-2.pdf"));
        touch("x-1-splited.pdf");
        QCOMPARE(FreeName::forSplitFile(m_dir.filePath("x-1-splited.pdf")), m_dir.filePath("x-1-splited-1.pdf"));
    }

    void imagePlacement()
    {
        const auto a4 = ImagePageSetup::fromTexts(true, 7, {}, {}, "0");
        QVERIFY(a4);
        QCOMPARE(a4->pageSize(), QSizeF(595, 842));
        QCOMPARE(a4->placement(QSizeF(1000, 500)), QRectF(0, 272.25, 595, 297.5));

        const auto custom = ImagePageSetup::fromTexts(false, 0, "400", "400", "50");
        QVERIFY(custom);
        QCOMPARE(custom->placement(QSizeF(100, 200)), QRectF(125, 50, 150, 300));

        QCOMPARE(ImagePageSetup::standardSize(4), QSizeF(1682, 2382));
        QCOMPARE(ImagePageSetup::standardSize(5), QSizeF(1191, 1684));
        QCOMPARE(ImagePageSetup::standardSize(9), QSizeF(612, 792));
        QCOMPARE(ImagePageSetup::fromTexts(true, 7, {}, {}, "")->margin(), 0.0);

        QVERIFY(!ImagePageSetup::fromTexts(false, 0, "12a", "400", "0"));
        QVERIFY(!ImagePageSetup::fromTexts(false, 0, "0", "400", "0"));
        QVERIFY(!ImagePageSetup::fromTexts(false, 0, "", "400", "0"));
        QVERIFY(!ImagePageSetup::fromTexts(false, 0, "400", "-4", "0"));
        QVERIFY(!ImagePageSetup::fromTexts(true, 7, {}, {}, "-1"));
        QVERIFY(!ImagePageSetup::fromTexts(true, 7, {}, {}, "1x"));
        // Margins that leave no room for the image.
        QVERIFY(!ImagePageSetup::fromTexts(false, 0, "400", "400", "200"));
    }

    void watermarkGeometry()
    {
        PFWatermarkModel model;
        model.inputText = "CONFIDENTIAL";
        model.fontSize = 40;
        const QSizeF a4(595, 842);

        model.degree = 0;
        const QRectF flat = WatermarkDrawing::outline(model, a4).boundingRect();
        QVERIFY(flat.width() > flat.height() * 3); // runs horizontally

        model.degree = 45;
        const QRectF turned = WatermarkDrawing::outline(model, a4).boundingRect();
        // The centre of the ink stays at the page centre (the glyphs' ink is a little inside the
        // measured text box, hence the tolerance), and the text rises to the right: its bounding
        // box is about as tall as it is wide.
        QVERIFY(qAbs(turned.center().x() - 297.5) < 6);
        QVERIFY(qAbs(turned.center().y() - 421) < 6);
        QVERIFY(qAbs(turned.width() - turned.height()) < 0.15 * turned.width());
        const QPainterPath path = WatermarkDrawing::outline(model, a4);
        // The first glyph (C) lies at the lower left of the turned text, so rising means its
        // points are below and left of the centre.
        QVERIFY(path.elementAt(0).x < 297.5 && path.elementAt(0).y < 421);

        model.inputText.clear();
        QVERIFY(WatermarkDrawing::outline(model, a4).isEmpty());
        QVERIFY(WatermarkDrawing::drawing(model, a4).content.isEmpty());
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestPageRules)
#include "tst_PageRules.moc"
