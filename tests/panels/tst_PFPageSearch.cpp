#include "editing/PFBasePDFView.h"
#include "panels/search/PFPageSearchCellDelegate.h"
#include "panels/search/PFPageSearchController.h"
#include "panels/search/PFPageSearchTableCellView.h"
#include "panels/search/PFSearchController.h"
#include "platform/pdf/PDFDocument.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>
#include <memory>

namespace {

const QString kLong = QStringLiteral("one two three four five six seven eight nine ten eleven twelve");

// Twelve pages; "needle" on pages 3 (followed by long text), 9 and 12 (near the page's end).
QByteArray fixture()
{
    QList<TestPdf::Page> pages;
    for (int n = 1; n <= 12; ++n) {
        TestPdf::Page page;
        page.lines << QStringLiteral("Page %1 heading").arg(n) << QStringLiteral("Lorem ipsum dolor sit amet");
        if (n == 3)
            page.lines << QStringLiteral("Needle ") + kLong << kLong << kLong << kLong;
        if (n == 9)
            page.lines << QStringLiteral("a needle in the middle");
        if (n == 12)
            page.lines << QStringLiteral("final needle end");
        pages << page;
    }
    return TestPdf::build(pages);
}

// Non-overlapping case-insensitive occurrences in the document's text, lines joined by spaces.
int occurrences(const PDFDocument &document, const QString &needle)
{
    int count = 0;
    for (int i = 0; i < document.pageCount(); ++i) {
        const QString text = document.page(i).string().replace(QLatin1Char('\n'), QLatin1Char(' '));
        for (qsizetype at = text.indexOf(needle, 0, Qt::CaseInsensitive); at >= 0;
             at = text.indexOf(needle, at + needle.size(), Qt::CaseInsensitive))
            ++count;
    }
    return count;
}

// The text of the red part of a cell's rich text, and the whole text.
QPair<QString, QString> redAndPlain(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    QString red;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().foreground().color() == QColor(Qt::red))
                red += it.fragment().text();
    return {red, document.toPlainText()};
}

// Whether two drawings of a cell look alike: text drawn through a transparent image may be
// smoothed a shade differently from text drawn straight onto paper, while other text differs
// fully in many pixels.
bool looksAlike(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    int unlike = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            unlike += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))}) > 96;
        }
    return unlike == 0;
}

} // namespace

class TestPFPageSearch : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // The view, the search page and the controller as a window wires them, with the side panel
    // answered by two flags.
    struct Window {
        PFBasePDFView view;
        PFPageSearchController page;
        QLineEdit field;
        PFSearchController search{&view, &page};
        bool panelClosed = false;
        bool searchShown = true;

        explicit Window(const PDFDocument &document)
        {
            view.setDocument(document);
            search.pfSetSearchField(&field);
            search.pfIsPanelClosed = [this] { return panelClosed; };
            search.pfIsSearchPageShown = [this] { return searchShown; };
        }
        int rows() const { return int(page.pfSearchArray().size()); }
    };

    PDFDocument openFixture(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("doc-%1.pdf").arg(QRandomGenerator::global()->generate()));
        if (!TestPdf::write(path, bytes))
            return {};
        return PDFDocument::open(path);
    }

    static bool waitFinished(Window &window, QSignalSpy &finished, int count)
    {
        return QTest::qWaitFor([&] { return finished.count() >= count; }, 10000) && !window.search.isFinding();
    }

private slots:
    void typingTwoCharactersRunsTwoSearches()
    {
        const PDFDocument document = openFixture(fixture());
        QVERIFY(!document.isNull());
        Window window(document);
        QSignalSpy finished(&window.search, &PFSearchController::pfSearchFinished);

        QTest::keyClick(&window.field, Qt::Key_N);
        QVERIFY(waitFinished(window, finished, 1));
        const int forN = window.rows();
        QCOMPARE(forN, occurrences(document, "n"));

        QTest::keyClick(&window.field, Qt::Key_E);
        QVERIFY(waitFinished(window, finished, 2));
        QVERIFY(window.rows() < forN);
        QCOMPARE(window.rows(), occurrences(document, "ne"));
        for (const PDFSelection &match : window.page.pfSearchArray())
            QCOMPARE(match.string().toLower(), QStringLiteral("ne"));

        // Typed quickly, the first search's results never survive the second.
        window.field.clear();
        QTest::keyClicks(&window.field, QStringLiteral("ip"));
        QVERIFY(waitFinished(window, finished, 3));
        QCOMPARE(window.rows(), occurrences(document, "ip"));
        for (const PDFSelection &match : window.page.pfSearchArray())
            QCOMPARE(match.string().toLower(), QStringLiteral("ip"));
    }

    void matchesArriveInPageOrderAndThePanelOpensOnTheFirst()
    {
        Window window(openFixture(fixture()));
        window.panelClosed = true;
        window.searchShown = false;
        QList<int> rowsWhenAsked;
        // The window's controller opens the panel on the search page when asked.
        connect(&window.search, &PFSearchController::pfShowSearchPanel, this, [&] {
            rowsWhenAsked << window.rows();
            window.panelClosed = false;
            window.searchShown = true;
        });
        QSignalSpy finished(&window.search, &PFSearchController::pfSearchFinished);
        QTest::keyClicks(&window.field, QStringLiteral("NEEDLE"));
        QVERIFY(waitFinished(window, finished, 1));
        QCOMPARE(rowsWhenAsked, QList<int>{0}); // once, before the first match is listed
        QList<int> pages;
        for (const PDFSelection &match : window.page.pfSearchArray())
            pages << match.pages().first().index();
        QCOMPARE(pages, (QList<int>{2, 8, 11}));

        // Another tab shown: the next search's first match asks again.
        window.searchShown = false;
        window.field.setText(QStringLiteral("heading"));
        QVERIFY(waitFinished(window, finished, 2));
        QCOMPARE(rowsWhenAsked, (QList<int>{0, 0}));
        QCOMPARE(window.rows(), 12);
    }

    void noSearchWithAnUnsavedInsertedPageAndThePanelClosed()
    {
        Window window(openFixture(fixture()));
        QSignalSpy finished(&window.search, &PFSearchController::pfSearchFinished);
        window.field.setText(QStringLiteral("needle"));
        QVERIFY(waitFinished(window, finished, 1));
        QCOMPARE(window.rows(), 3);

        window.view.setPfHasInsertPage(true);
        window.panelClosed = true;
        window.searchShown = false;
        QSignalSpy asked(&window.search, &PFSearchController::pfShowSearchPanel);
        window.field.setText(QStringLiteral("heading"));
        QTest::qWait(300);
        QVERIFY(!window.search.isFinding());
        QCOMPARE(asked.count(), 0);
        QCOMPARE(finished.count(), 1);
        // Nothing was searched for "heading": the list is the earlier one, untouched.
        QCOMPARE(window.rows(), 3);
        QCOMPARE(window.page.pfSearchArray().first().string(), QStringLiteral("Needle"));

        // With the panel open the same situation searches.
        window.panelClosed = false;
        window.searchShown = true;
        window.field.setText(QStringLiteral("headin"));
        QVERIFY(waitFinished(window, finished, 2));
        QCOMPARE(window.rows(), 12);
    }

    void aCellShowsThePageLabelAndTheMatchInRedWithItsContext()
    {
        const PDFDocument document = openFixture(fixture());
        Window window(document);
        QSignalSpy finished(&window.search, &PFSearchController::pfSearchFinished);
        window.field.setText(QStringLiteral("needle"));
        QVERIFY(waitFinished(window, finished, 1));
        QCOMPARE(window.rows(), 3);

        PFPageSearchCellDelegate *cells = window.page.cellDelegate();
        QListView *list = window.page.pfTableView();
        PFPageSearchTableCellView *cell = cells->cellForIndex(list->model()->index(0, 0));
        QCOMPARE(cell->objectName(), QStringLiteral("searchPage"));
        QCOMPARE(cell->pfPageNum()->text(), QStringLiteral("页面 3")); // no table: the key itself
        auto [red, plain] = redAndPlain(cell->pfContentLB()->text());
        QCOMPARE(red, QStringLiteral("Needle"));
        // The page's next 120 characters follow the match, line ends shown as spaces.
        const QString pageText = document.page(2).string();
        qsizetype at = pageText.indexOf(QStringLiteral("Needle")) + 6;
        QString expected = QStringLiteral("Needle");
        for (int taken = 0; taken < PFPageSearchTableCellView::kContextLength && at < pageText.size(); ++at) {
            const QChar c = pageText[at];
            expected += c == QLatin1Char('\n') ? QLatin1Char(' ') : c;
            taken += c == QLatin1Char('\n') ? 0 : 1;
        }
        QCOMPARE(plain, expected);
        QVERIFY(plain.size() > 120);

        // Near the end of a page less follows.
        cell = cells->cellForIndex(list->model()->index(2, 0));
        QCOMPARE(cell->pfPageNum()->text(), QStringLiteral("页面 12"));
        std::tie(red, plain) = redAndPlain(cell->pfContentLB()->text());
        QCOMPARE(red, QStringLiteral("needle"));
        QCOMPARE(plain, QStringLiteral("needle end"));
    }

    // Rows are drawn from kept images of their cells: a kept image must show the row's present
    // content, and the images kept stay within their bytes.
    void drawnCellsShowTheirRowAndStayWithinTheirBytes()
    {
        const PDFDocument document = openFixture(fixture());
        Window window(document);
        QSignalSpy finished(&window.search, &PFSearchController::pfSearchFinished);
        PFPageSearchCellDelegate *cells = window.page.cellDelegate();
        QListView *list = window.page.pfTableView();
        const QSize cellSize(220, PFPageSearchTableCellView::kHeight);

        // What the delegate paints for a row, and the row's cell drawn afresh.
        const auto painted = [&](int row, QSize size) {
            QImage image(size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            QPainter painter(&image);
            QStyleOptionViewItem option;
            option.rect = QRect(QPoint(), size);
            cells->paint(&painter, option, list->model()->index(row, 0));
            return image;
        };
        const auto fresh = [&](int row) {
            QImage image(cellSize, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            PFPageSearchTableCellView *cell = cells->cellForIndex(list->model()->index(row, 0));
            cell->resize(cellSize);
            QPainter painter(&image);
            cell->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
            return image;
        };

        window.field.setText(QStringLiteral("needle"));
        QVERIFY(waitFinished(window, finished, 1));
        const QImage needleRow = painted(0, cellSize);
        QCOMPARE(painted(0, cellSize), needleRow); // drawn again from the kept image
        QVERIFY(looksAlike(needleRow, fresh(0)));

        // Row 0 of a new search has other content.
        window.field.setText(QStringLiteral("heading"));
        QVERIFY(waitFinished(window, finished, 2));
        const QImage headingRow = painted(0, cellSize);
        QVERIFY(!looksAlike(headingRow, needleRow));
        QVERIFY(looksAlike(headingRow, fresh(0)));

        // Many widths of every row make far more images than the bytes hold.
        qsizetype drawnBytes = 0;
        for (int width = 200; width < 400; width += 4) {
            for (int row = 0; row < window.rows(); ++row) {
                const QImage image = painted(row, QSize(width, PFPageSearchTableCellView::kHeight));
                drawnBytes += image.sizeInBytes();
            }
        }
        QVERIFY(drawnBytes > 2 * PFPageSearchCellDelegate::kCacheBytes);
        QVERIFY(cells->cachedBytes() > 0);
        QVERIFY(cells->cachedBytes() <= PFPageSearchCellDelegate::kCacheBytes);
    }

    void choosingARowColoursTheMatchAndScrollsToIt()
    {
        const PDFDocument document = openFixture(fixture());
        Window window(document);
        window.view.resize(500, 400);
        window.page.resize(230, 400);
        window.view.show();
        window.page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window.view));
        QVERIFY(QTest::qWaitForWindowExposed(&window.page));
        QCOMPARE(window.view.currentPage().index(), 0);

        QSignalSpy finished(&window.search, &PFSearchController::pfSearchFinished);
        window.field.setText(QStringLiteral("needle"));
        QVERIFY(waitFinished(window, finished, 1));
        // Appending selects row pfSelectRow in the list but leaves the view alone.
        QCOMPARE(window.page.pfTableView()->currentIndex().row(), 0);
        QVERIFY(window.view.currentSelection().isEmpty());
        QCOMPARE(window.view.currentPage().index(), 0);

        QListView *list = window.page.pfTableView();
        const QModelIndex second = list->model()->index(1, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(second).center());
        const PDFSelection chosen = window.page.pfSearchArray()[1];
        QCOMPARE(window.view.currentSelection(), chosen);
        QCOMPARE(window.view.currentSelection().color(), QColor(180, 214, 56));
        QCOMPARE(window.view.currentPage().index(), 8);
        QCOMPARE(window.page.pfSelectRow(), 1);

        // The chosen row survives a new search as the row the list selects.
        window.field.setText(QStringLiteral("heading"));
        QVERIFY(waitFinished(window, finished, 2));
        QCOMPARE(list->currentIndex().row(), 1);
        QCOMPARE(window.view.currentSelection(), chosen);
    }

    void aCancelledSearchReportsNothingMore()
    {
        QList<TestPdf::Page> pages;
        for (int n = 0; n < 200; ++n)
            pages << TestPdf::Page{{QStringLiteral("alpha beta alpha"), QStringLiteral("gamma alpha")}};
        Window window(openFixture(TestPdf::build(pages)));
        QSignalSpy finished(&window.search, &PFSearchController::pfSearchFinished);
        window.field.setText(QStringLiteral("alpha"));
        window.search.pfCancelSearch();
        QVERIFY(!window.search.isFinding());
        const int rows = window.rows();
        QTest::qWait(500);
        QCOMPARE(window.rows(), rows);
        QCOMPARE(finished.count(), 0);
        QVERIFY(rows < 600);

        // A new search after it runs to its end.
        window.field.setText(QStringLiteral("gamma"));
        QVERIFY(waitFinished(window, finished, 1));
        QCOMPARE(window.rows(), 200);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFPageSearch)
#include "tst_PFPageSearch.moc"
