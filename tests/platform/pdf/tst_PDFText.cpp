#include "platform/pdf/PDFBulkText.h"
#include "platform/pdf/PDFDocumentPrivate.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFSelection.h"
#include "platform/pdf/PDFTextSearch.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestPDFText : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    PDFDocument m_document;
    QString m_file;

private slots:
    void initTestCase()
    {
        QList<TestPdf::Page> pages;
        pages << TestPdf::Page{{"Alpha beta gamma", "delta Epsilon"}};
        pages << TestPdf::Page{{"second page", "with GAMMA again"}};
        pages << TestPdf::Page{{"rotated gamma"}, QRectF(0, 0, 612, 792), 90};
        m_file = m_dir.filePath("text.pdf");
        TestPdf::write(m_file, TestPdf::build(pages));
        m_document = PDFDocument::open(m_file);
        QVERIFY(!m_document.isNull());
    }

    void textIsInPageSpaceWithYUp()
    {
        const PDFPage page = m_document.page(0);
        QCOMPARE(page.string(), QStringLiteral("Alpha beta gamma\ndelta Epsilon"));
        // The first line's baseline is at y = 700, the second at 680: the first is higher.
        const QRectF first = page.selectionForRect(QRectF(60, 695, 400, 15)).boundsForPage(page);
        const QRectF second = page.selectionForRect(QRectF(60, 675, 400, 15)).boundsForPage(page);
        QVERIFY(first.top() > 690 && first.top() < 715);
        QVERIFY(first.center().y() > second.center().y());
        QCOMPARE(page.text(QRectF(60, 695, 400, 15)), QStringLiteral("Alpha beta gamma"));
        QCOMPARE(page.text(QRectF(0, 0, 10, 10)), QString());

        // The rotated page still answers in unrotated page space.
        const PDFPage rotated = m_document.page(2);
        QCOMPARE(rotated.text(QRectF(60, 695, 400, 15)), QStringLiteral("rotated gamma"));
        const QTransform toView = rotated.pageToDisplay(2.0);
        const QPointF p(72, 700);
        QCOMPARE(toView.inverted().map(toView.map(p)), p);
        QCOMPARE(toView.map(QPointF(0, 792)), QPointF(2 * 792, 0)); // top left turns to the top right
    }

    void selectionsSpanPagesAndSplitByLine()
    {
        const PDFPage one = m_document.page(0), two = m_document.page(1);
        PDFSelection across = PDFSelection::fromPoints(one, QPointF(75, 684), two, QPointF(100, 703));
        QCOMPARE(across.pages().size(), 2);
        QVERIFY(across.string().startsWith("delta"));
        QVERIFY(across.string().section(QLatin1Char('\n'), -1).startsWith("seco"));
        QVERIFY(!across.boundsForPage(one).isNull());
        QVERIFY(across.boundsForPage(m_document.page(2)).isNull());

        PDFSelection both = one.selectionFromPoint(QPointF(73, 704), QPointF(150, 682));
        const QVector<PDFSelection> lines = both.selectionsByLine();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].string(), QStringLiteral("Alpha beta gamma"));
        QVERIFY(lines[0].boundsForPage(one).center().y() > lines[1].boundsForPage(one).center().y());

        PDFSelection word = one.selectionFromPoint(QPointF(73, 704), QPointF(80, 704));
        const int before = word.string().size();
        word.extendAtEnd(3);
        QCOMPARE(word.string().size(), before + 3);
        word.extendAtEnd(1000);
        QCOMPARE(word.string(), QStringLiteral("Alpha beta gamma\ndelta Epsilon").mid(0, word.string().size()));
    }

    void searchReportsEveryMatchCaseInsensitively()
    {
        PDFTextSearch search(m_document);
        QSignalSpy matches(&search, &PDFTextSearch::matchFound);
        QSignalSpy finished(&search, &PDFTextSearch::finished);
        search.start("gamma");
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(matches.size(), 3);
        const PDFSelection second = matches[1].first().value<PDFSelection>();
        QCOMPARE(second.pages().first().index(), 1);
        QCOMPARE(second.string(), QStringLiteral("GAMMA"));

        // A phrase broken across lines is found too.
        matches.clear();
        finished.clear();
        search.start("gamma delta");
        QVERIFY(finished.wait(5000));
        QCOMPARE(matches.size(), 1);

        // A cancelled search reports no more matches.
        matches.clear();
        finished.clear();
        search.start("a");
        search.cancel();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toBool(), true);
        QTest::qWait(200);
        QCOMPARE(matches.size(), 0);
        QVERIFY(!search.isRunning());
    }

    void pageTextCacheKeepsWithinItsBytes()
    {
        const auto pageOf = [](int chars) {
            auto text = std::make_shared<PDFTextPage>();
            text->chars.resize(chars);
            return std::shared_ptr<const PDFTextPage>(text);
        };
        const qint64 one = PDFTextPageCache::bytesOf(*pageOf(1000));
        PDFTextPageCache cache(3 * one);
        for (int object = 1; object <= 3; ++object)
            cache.insert(object, pageOf(1000));
        const auto held = cache.find(2);
        QVERIFY(cache.find(1) && cache.find(3)); // used after the second, which is now the oldest
        cache.insert(4, pageOf(1000));
        QCOMPARE(cache.count(), 3);
        QVERIFY(cache.bytes() <= 3 * one);
        QVERIFY(!cache.find(2));
        QCOMPARE(held->chars.size(), 1000); // a text handed out outlives its eviction
        QVERIFY(cache.find(1) && cache.find(3) && cache.find(4));
        // A page larger than the whole capacity is still kept, alone, for its reader.
        cache.insert(5, pageOf(5000));
        QCOMPARE(cache.count(), 1);
        QVERIFY(cache.find(5));
        cache.insert(5, pageOf(10));
        QCOMPARE(cache.bytes(), PDFTextPageCache::bytesOf(*pageOf(10)));
    }

    void bulkTextMatchesPageText()
    {
        const QStringList pages = PDFBulkText::textOfAllPages(m_file, 2);
        QCOMPARE(pages.size(), 3);
        QVERIFY(pages[1].contains("with GAMMA again"));
        QVERIFY(PDFBulkText::textOfAllPages(m_dir.filePath("missing.pdf")).isEmpty());
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestPDFText)
#include "tst_PDFText.moc"
