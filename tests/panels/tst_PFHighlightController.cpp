#include "editing/EditingViewFixture.h"
#include "panels/highlights/PFHighlightController.h"
#include "panels/highlights/PFHighlightListModel.h"
#include "panels/highlights/PFHighlightRows.h"
#include "panels/highlights/PFMainHighlightCell.h"
#include "settings/PFManager.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QFile>
#include <QListView>
#include <QSignalSpy>
#include <QtTest>

using namespace EditingViewFixture;

// The highlights-and-notes list beside a real editing view.
class TestPFHighlightController : public QObject {
    Q_OBJECT

    static QStringList describe(const QVector<PFHighlightModel> &rows)
    {
        QStringList out;
        for (const PFHighlightModel &row : rows)
            out << (row.isHeader() ? row.headerStr
                                   : QStringLiteral("%1:%2").arg(row.highlightType).arg(row.contents.value_or("-")));
        return out;
    }

    std::unique_ptr<PFBasePDFView> m_view;
    std::unique_ptr<PFHighlightController> m_list;
    PDFAnnotation m_note;
    PDFAnnotation m_square;
    const QDateTime m_date{QDate(2024, 3, 5), QTime(14, 30)};

private slots:
    void init()
    {
        QList<TestPdf::Page> pages;
        for (int i = 1; i <= 6; ++i)
            pages << TestPdf::Page{{QStringLiteral("Page %1").arg(i), QStringLiteral("Lorem ipsum dolor")}};
        m_view = makeView(TestPdf::build(pages));
        QVERIFY(m_view);
        PDFDocument document = m_view->document();
        // Page 2: a highlight without contents over its first line, and a note.
        PDFAnnotation highlight = PDFAnnotation::create(document, "Highlight", QRectF(72, 699, 37, 11));
        highlight.setQuadrilateralPoints({PDFQuad{{72, 710}, {109, 710}, {72, 699}, {109, 699}}});
        highlight.setColor(QColor(255, 230, 0));
        document.page(1).addAnnotation(highlight);
        m_note = PDFAnnotation::create(document, "Text", QRectF(300, 300, 20, 20));
        m_note.setContents(QStringLiteral("Note body"));
        m_note.setUserName(QStringLiteral("Alice"));
        m_note.setModificationDate(m_date);
        document.page(1).addAnnotation(m_note);
        // Page 5: a square, a link and a form field; only the square is listed.
        m_square = PDFAnnotation::create(document, "Square", QRectF(100, 100, 80, 60));
        m_square.setContents(QStringLiteral("Box"));
        document.page(4).addAnnotation(m_square);
        document.page(4).addAnnotation(PDFAnnotation::create(document, "Link", QRectF(10, 10, 40, 40)));
        document.page(4).addAnnotation(PDFAnnotation::create(document, "Widget", QRectF(200, 10, 40, 40)));

        m_list = std::make_unique<PFHighlightController>(m_view.get());
        m_list->resize(230, 600);
        m_list->show();
        QTRY_VERIFY(!m_list->isFilling());
        QTRY_COMPARE(m_list->pfHighlightArray().size(), 5);
    }

    void cleanup()
    {
        m_list.reset();
        m_view.reset();
    }

    void rowsByPageWithHeaders()
    {
        const QVector<PFHighlightModel> &rows = m_list->pfHighlightArray();
        QCOMPARE(describe(rows), (QStringList{QStringLiteral("页面 2"), "0:Page 2", "3:Note body",
                                              QStringLiteral("页面 5"), "8:Box"}));
        const PFHighlightModel &note = rows[2];
        QCOMPARE(note.userName, QStringLiteral("Alice"));
        QCOMPARE(note.dateStr, PFManager::pfDateStringFromDate(m_date));
        QVERIFY(!note.dateStr.isEmpty());
        QCOMPARE(note.page, 1);
        QCOMPARE(rows[0].rowHeight, 30.0);
        QVERIFY(rows[2].rowHeight >= 40.0);
    }

    void refillsAfterAddAndUndo()
    {
        QSignalSpy filled(m_list.get(), &PFHighlightController::rowsFilled);
        PDFAnnotation circle = PDFAnnotation::create(m_view->document(), "Circle", QRectF(50, 50, 30, 30));
        m_view->pfAddShapeAnnotation(circle, 0);
        QTRY_COMPARE(m_list->pfHighlightArray().size(), 7);
        QCOMPARE(m_list->pfHighlightArray()[0].headerStr, QStringLiteral("页面 1"));
        QCOMPARE(m_list->pfHighlightArray()[1].highlightType, 7);
        m_view->pfUndoClick();
        QTRY_COMPARE(m_list->pfHighlightArray().size(), 5);
        QCOMPARE(m_list->pfHighlightArray()[0].headerStr, QStringLiteral("页面 2"));
        QVERIFY(filled.size() >= 2);
    }

    void clickingARowShowsAndSelectsItsAnnotation()
    {
        QListView *table = m_list->pfTableView();
        m_view->goToPage(m_view->document().page(0));
        // A header moves nothing.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(3, 0)).center());
        QCOMPARE(m_view->currentPage().index(), 0);
        QVERIFY(m_view->dragAnnotation().isNull());
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(4, 0)).center());
        QCOMPARE(m_view->currentPage().index(), 4);
        QCOMPARE(m_view->dragAnnotation(), m_square);
    }

    void everyKindHasItsIconsInBothAppearances()
    {
        for (int kind = 0; kind < PFHighlightRows::pfAnnotationTypes().size(); ++kind)
            for (bool dark : {false, true}) {
                const QString name = PFMainHighlightCell::iconName(kind, dark);
                QVERIFY2(QFile::exists(QStringLiteral(":/resources/icons/%1.svg").arg(name)), qPrintable(name));
            }
        QCOMPARE(PFMainHighlightCell::iconName(0, true), QStringLiteral("HTW"));
        QCOMPARE(PFMainHighlightCell::iconName(2, true), QStringLiteral("underlineWW"));
        QCOMPARE(PFMainHighlightCell::iconName(13, false), QStringLiteral("curLine"));
        QCOMPARE(PFMainHighlightCell::iconName(11, true), QStringLiteral("squareD"));
    }

    void darkRowsAreWhite()
    {
        m_list->setDark(true);
        QListView *table = m_list->pfTableView();
        const QRect noteRow = table->visualRect(table->model()->index(2, 0));
        const QImage shot = table->viewport()->grab(noteRow).toImage();
        int white = 0, dark = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                white += c.lightness() > 230;
                dark += c.lightness() < 60;
            }
        QVERIFY(dark > white); // a dark background
        QVERIFY(white > 20);   // with white text on it
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFHighlightController)
#include "tst_PFHighlightController.moc"
