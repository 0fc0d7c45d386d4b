#include "platform/pdf/PDFDocument.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

// Pages inserted as a run land in order, in trees of any shape, with every count right.
class TestPDFPageInsertion : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Pages "N1".."N6" in a two-level tree: the root holds [N1, node(N2 N3 N4), node(N5 N6)].
    static QByteArray nestedTree()
    {
        QList<QByteArray> objects(4 + 12); // object n at index n - 1
        objects[0] = "<< /Type /Catalog /Pages 2 0 R >>";
        objects[1] = "<< /Type /Pages /Kids [5 0 R 3 0 R 4 0 R] /Count 6 >>";
        objects[2] = "<< /Type /Pages /Parent 2 0 R /Kids [7 0 R 9 0 R 11 0 R] /Count 3 >>";
        objects[3] = "<< /Type /Pages /Parent 2 0 R /Kids [13 0 R 15 0 R] /Count 2 >>";
        const int parents[] = {2, 3, 3, 3, 4, 4};
        for (int i = 0; i < 6; ++i) {
            const QByteArray content = "BT /F1 12 Tf 72 100 Td (N" + QByteArray::number(i + 1) + ") Tj ET";
            objects[4 + 2 * i] = "<< /Type /Page /Parent " + QByteArray::number(parents[i])
                                 + " 0 R /MediaBox [0 0 200 200] /Resources << /Font << /F1 << /Type /Font "
                                   "/Subtype /Type1 /BaseFont /Helvetica >> >> >> /Contents "
                                 + QByteArray::number(6 + 2 * i) + " 0 R >>";
            objects[5 + 2 * i] = "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
        }
        return TestPdf::fromObjects(objects);
    }
    static QStringList pageTexts(const QString &file)
    {
        QString text;
        TestPdf::run("pdftotext", {file, "-"}, &text);
        QStringList pages = text.split(u'\f');
        for (QString &page : pages)
            page = page.trimmed().section(u'\n', 0, 0);
        pages.removeAll(QString());
        return pages;
    }

private slots:
    void runsGoWhereTheyAreAsked_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<QStringList>("expected");
        const QStringList added = {"Page 1", "Page 2", "Page 3"};
        QTest::newRow("front") << 0 << added + QStringList{"N1", "N2", "N3", "N4", "N5", "N6"};
        QTest::newRow("inside a node") << 2 << QStringList{"N1", "N2"} + added + QStringList{"N3", "N4", "N5", "N6"};
        QTest::newRow("first of a node") << 4 << QStringList{"N1", "N2", "N3", "N4"} + added + QStringList{"N5", "N6"};
        QTest::newRow("end") << 6 << QStringList{"N1", "N2", "N3", "N4", "N5", "N6"} + added;
    }

    void runsGoWhereTheyAreAsked()
    {
        QFETCH(int, at);
        QFETCH(QStringList, expected);
        TestPdf::write(path("nested.pdf"), nestedTree());
        TestPdf::write(path("three.pdf"), TestPdf::simple(3));
        PDFDocument document = PDFDocument::open(path("nested.pdf"));
        const PDFDocument source = PDFDocument::open(path("three.pdf"));
        QCOMPARE(document.pageCount(), 6);
        const QVector<PDFPage> copies = document.insertPages(source, {0, 1, 2}, at);
        QCOMPARE(copies.size(), 3);
        QCOMPARE(document.pageCount(), 9);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(copies[i].index(), at + i);

        const QString out = path(QStringLiteral("out-%1.pdf").arg(at));
        QVERIFY(document.write(out));
        QString report;
        QVERIFY2(TestPdf::run("qpdf", {"--check", out}, &report) == 0, qPrintable(report));
        QCOMPARE(pageTexts(out), expected);
        // The same document takes another run and a single page afterwards.
        QCOMPARE(document.insertPages(source, {2}, 1).size(), 1);
        QCOMPARE(document.page(1).string().trimmed().left(6), QStringLiteral("Page 3"));
        QCOMPARE(document.pageCount(), 10);
    }

    void thousandsOfPagesCombineIntoOneDocument()
    {
        TestPdf::write(path("many.pdf"), TestPdf::simple(400));
        const PDFDocument source = PDFDocument::open(path("many.pdf"));
        QVector<int> all(400);
        std::iota(all.begin(), all.end(), 0);
        PDFDocument combined = PDFDocument::create();
        for (int round = 0; round < 5; ++round)
            QCOMPARE(combined.insertPages(source, all, combined.pageCount()).size(), 400);
        QCOMPARE(combined.pageCount(), 2000);
        const QString out = combined.writeNew(path("combined.pdf"), [](const QString &wanted) { return wanted; });
        QVERIFY(!out.isEmpty());
        QString pages;
        QCOMPARE(TestPdf::run("qpdf", {"--show-npages", out}, &pages), 0);
        QCOMPARE(pages.trimmed(), QStringLiteral("2000"));
        QCOMPARE(combined.page(1999).string().contains("Page 400"), true);
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestPDFPageInsertion)
#include "tst_PDFPageInsertion.moc"
