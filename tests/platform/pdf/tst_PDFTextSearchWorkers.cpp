#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFTextSearch.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// 41 pages (more blocks than workers, the last one short) with a varying number of matches,
// some pages without any.
QByteArray fixture()
{
    QList<TestPdf::Page> pages;
    for (int n = 0; n < 41; ++n) {
        TestPdf::Page page;
        page.lines << QStringLiteral("page %1").arg(n + 1);
        for (int k = 0; k < n % 4; ++k)
            page.lines << QStringLiteral("Token %1 and TOKEN again").arg(k);
        pages << page;
    }
    return TestPdf::build(pages);
}

// A match as found, and as its preview reads it.
struct Found {
    int page;
    QString text;
    PDFSearchPreview preview;
    bool operator==(const Found &other) const
    {
        return page == other.page && text == other.text && preview.pageIndex == other.preview.pageIndex &&
               preview.pageLabel == other.preview.pageLabel && preview.text == other.preview.text &&
               preview.following == other.preview.following;
    }
};

QString flattened(QString text) { return text.replace(QLatin1Char('\n'), QLatin1Char(' ')); }

constexpr int kContext = 30;

QList<Found> searchAll(const PDFDocument &document, const QString &text, bool *finishedNormally)
{
    PDFTextSearch search(document);
    search.setContextLength(kContext);
    QList<Found> found;
    bool previewsRead = true;
    QObject::connect(&search, &PDFTextSearch::matchFound, [&](const PDFSelection &match, const PDFSearchPreview &preview) {
        found.append({match.pages().first().index(), match.string(), preview});
        // The preview reads as the document's own text: the match, then what follows on its page.
        PDFSelection extended = match;
        extended.extendAtEnd(kContext);
        previewsRead = previewsRead && preview.pageIndex == found.last().page &&
                       preview.pageLabel == QString::number(preview.pageIndex + 1) &&
                       preview.text == flattened(match.string()) &&
                       preview.text + preview.following == flattened(extended.string());
    });
    QSignalSpy finished(&search, &PDFTextSearch::finished);
    search.start(text);
    *finishedNormally = finished.wait(10000) && finished.count() == 1 && !finished.first().first().toBool()
                        && !search.isRunning() && previewsRead;
    return found;
}

} // namespace

class TestPDFTextSearchWorkers : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void searchOfTheFileMatchesSearchOfTheOpenDocument()
    {
        const QString path = m_dir.filePath("doc.pdf");
        QVERIFY(TestPdf::write(path, fixture()));
        const PDFDocument fromFile = PDFDocument::open(path);
        const PDFDocument inMemory = PDFDocument::openData(fixture());
        QVERIFY(!fromFile.isNull() && !inMemory.isNull());

        bool ok = false;
        const QList<Found> expected = searchAll(inMemory, "token", &ok);
        QVERIFY(ok);
        QCOMPARE(expected.size(), 120); // two per line, n % 4 lines on page n
        const QList<Found> found = searchAll(fromFile, "token", &ok);
        QVERIFY(ok);
        QCOMPARE(found, expected);
        // In page order, each page's matches in reading order.
        for (int i = 1; i < found.size(); ++i)
            QVERIFY(found[i - 1].page <= found[i].page);
        QCOMPARE(found.first().text, QStringLiteral("Token"));
        QCOMPARE(found.at(1).text, QStringLiteral("TOKEN"));
        // The text after a match runs on across the end of its line, read as a space.
        QCOMPARE(found.at(3).preview.following, QStringLiteral(" again Token 1 and TOKEN again"));
        QCOMPARE(found.at(1).preview.following, QStringLiteral(" again")); // the page ends there
    }

    void anEditedDocumentIsSearchedAsItIsNow()
    {
        const QString path = m_dir.filePath("edited.pdf");
        QVERIFY(TestPdf::write(path, fixture()));
        PDFDocument document = PDFDocument::open(path);
        // A page removed and not saved: the file no longer says where the matches are.
        QVERIFY(document.removePage(1));
        bool ok = false;
        const QList<Found> found = searchAll(document, "token", &ok);
        QVERIFY(ok);
        QCOMPARE(found.size(), 120 - 2);
        QCOMPARE(found.first().page, 1); // old page 3 (index 2) is now index 1
        QCOMPARE(found.first().text, QStringLiteral("Token"));
    }

    // Hundreds of matches on one page, each taking its receiver a while, are handed on over
    // several turns of the event loop, in order, and the search finishes after the last of them.
    void manyMatchesLeaveTheEventLoopTurnsBetween()
    {
        constexpr int kMatches = 60 * 12;
        TestPdf::Page page;
        for (int line = 0; line < 60; ++line)
            page.lines << QStringLiteral("dot dot dot dot dot dot dot dot dot dot dot dot");
        const PDFDocument document = PDFDocument::openData(TestPdf::build({page}));
        QVERIFY(!document.isNull());
        PDFTextSearch search(document);
        QList<QRectF> order;
        int handedOnBeforeATurn = -1;
        bool finishedAfterTheLast = false;
        QObject::connect(&search, &PDFTextSearch::matchFound, [&](const PDFSelection &match) {
            if (order.isEmpty()) // a turn of the event loop is noted as soon as one comes
                QTimer::singleShot(0, [&] { handedOnBeforeATurn = int(order.size()); });
            order.append(match.boundsForPage(match.pages().first()));
            const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(20);
            while (std::chrono::steady_clock::now() < until) {
            }
        });
        QSignalSpy finished(&search, &PDFTextSearch::finished);
        QObject::connect(&search, &PDFTextSearch::finished, [&] { finishedAfterTheLast = order.size() == kMatches; });
        search.start(QStringLiteral("dot"));
        QVERIFY(finished.wait(10000));
        QCOMPARE(order.size(), kMatches);
        // In reading order: down the page (y up), along each line.
        QVERIFY(std::is_sorted(order.cbegin(), order.cend(), [](const QRectF &a, const QRectF &b) {
            return qFuzzyCompare(a.y(), b.y()) ? a.x() < b.x() : a.y() > b.y();
        }));
        QVERIFY(finishedAfterTheLast);
        QVERIFY2(handedOnBeforeATurn >= 1 && handedOnBeforeATurn < order.size(), qPrintable(QString::number(handedOnBeforeATurn)));
    }

    void emptyTextOrNoDocumentSearchesNothing()
    {
        const QString path = m_dir.filePath("empty.pdf");
        QVERIFY(TestPdf::write(path, fixture()));
        PDFTextSearch search(PDFDocument::open(path));
        QSignalSpy matches(&search, &PDFTextSearch::matchFound);
        search.start(QString());
        QVERIFY(!search.isRunning());
        PDFTextSearch none{PDFDocument()};
        none.start("token");
        QVERIFY(!none.isRunning());
        QTest::qWait(50);
        QCOMPARE(matches.count(), 0);
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestPDFTextSearchWorkers)
#include "tst_PDFTextSearchWorkers.moc"
