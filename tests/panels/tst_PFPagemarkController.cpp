#include "editing/PFBasePDFView.h"
#include "editing/PFPageMarks.h"
#include "panels/bookmarks/PFPagemarkController.h"
#include "panels/bookmarks/PFPagemarkEditController.h"
#include "panels/bookmarks/PFPagemarkTableView.h"
#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

// The bookmark list and the ribbons, on a document with a file, as stored between runs.
class TestPFPagemarkController : public QObject {
    Q_OBJECT

    QStringList rows() const
    {
        QStringList out;
        for (const PFPagemarkModel &row : m_list->pfMarkArray())
            out << row.pfPageNum + ':' + row.pfTitle;
        return out;
    }

    void openWindow()
    {
        m_view = std::make_unique<PFBasePDFView>();
        m_view->resize(700, 900);
        m_view->setDocument(PDFDocument::open(m_path));
        m_view->setScaleFactor(1.0);
        m_list = std::make_unique<PFPagemarkController>(m_view.get());
        m_list->resize(230, 500);
        m_view->show();
        m_list->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    QPoint rowCenter(int row) const
    {
        PFPagemarkTableView *table = m_list->pfTableView();
        return table->visualItemRect(table->topLevelItem(row)).center();
    }

    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<PFBasePDFView> m_view;
    std::unique_ptr<PFPagemarkController> m_list;

private slots:
    void init()
    {
        QList<TestPdf::Page> pages;
        for (int i = 1; i <= 12; ++i)
            pages << TestPdf::Page{{i == 3 ? QStringLiteral("Twenty-one characters") : QStringLiteral("Page %1").arg(i)}};
        pages[4].lines.clear(); // a page without text
        m_path = m_dir.filePath(QStringLiteral("marks-%1.pdf").arg(QTest::currentTestFunction()));
        QVERIFY(TestPdf::write(m_path, TestPdf::build(pages)));
        openWindow();
    }

    void cleanup()
    {
        m_list.reset();
        m_view.reset();
    }

    void listedInPageOrderAndKeptBetweenRuns()
    {
        PFPageMarks *marks = m_view->pfPageMarks();
        const PDFDocument document = m_view->document();
        for (int index : {9, 1, 0, 2, 4})
            QVERIFY(marks->pfAddPagemark(document.page(index)));
        QVERIFY(!marks->pfAddPagemark(document.page(1))); // one per page; the first title stays
        QTRY_COMPARE(rows(), (QStringList{"1:Page 1", "2:Page 2", "3:Twenty-one character", "5:", "10:Page 10"}));
        QCOMPARE(m_list->pfTableView()->currentItem(), m_list->pfTableView()->topLevelItem(3)); // the last added

        cleanup();
        openWindow();
        QCOMPARE(rows().size(), 5);
        QCOMPARE(m_view->pfPageMarks()->marksDic().size(), 5);
    }

    void clickGoesRenameAndDelete()
    {
        PFPageMarks *marks = m_view->pfPageMarks();
        const PDFDocument document = m_view->document();
        QVERIFY(marks->pfAddPagemark(document.page(6)));
        QVERIFY(marks->pfAddPagemark(document.page(8)));
        QTRY_COMPARE(rows().size(), 2);
        PFPagemarkTableView *table = m_list->pfTableView();

        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rowCenter(1));
        QCOMPARE(m_view->currentPage().index(), 8);

        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rowCenter(0));
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, rowCenter(0));
        QTRY_VERIFY(m_list->editPopover());
        PFPagemarkEditController *popover = m_list->editPopover();
        QCOMPARE(popover->textField()->text(), QStringLiteral("Page 7"));
        popover->textField()->selectAll();
        QTest::keyClicks(popover->textField(), QStringLiteral("Seven"));
        QTest::keyClick(popover->textField(), Qt::Key_Return);
        QTRY_COMPARE(rows(), (QStringList{QStringLiteral("7:Seven"), "9:Page 9"}));
        // A bookmark added afterwards does not bring the old title back.
        QVERIFY(marks->pfAddPagemark(document.page(10)));
        QTRY_COMPARE(rows().size(), 3);
        QCOMPARE(rows().first(), QStringLiteral("7:Seven"));

        QTest::mouseClick(table->viewport(), Qt::RightButton, {}, rowCenter(1));
        QMenu *menu = m_list->editMenu();
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        QAction *remove = menu->actions().last();
        QCOMPARE(remove->text(), QStringLiteral("删除"));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(remove).center());
        QCOMPARE(rows(), (QStringList{QStringLiteral("7:Seven"), "11:Page 11"}));
        QVERIFY(!marks->marksDic().contains("8"));
        const QVariantMap stored = UserDefaults::standard().value(m_path + "PageMark").toMap();
        QCOMPARE(stored.keys(), (QStringList{"10", "6"}));
    }

    void ribbonOnBookmarkedPagesOnly()
    {
        const PDFDocument document = m_view->document();
        QVERIFY(m_view->pfPageMarks()->pfAddPagemark(document.page(0)));
        m_view->goToPage(document.page(0));
        const PDFPage page = document.page(0);
        const QImage shot = m_view->viewport()->grab().toImage();
        const QPoint inRibbon = m_view->convertPointFromPage({612 - 29, 792 - 10}, page).toPoint();
        const QPoint inNotch = m_view->convertPointFromPage({612 - 29, 792 - 27}, page).toPoint();
        QCOMPARE(shot.pixelColor(inRibbon), QColor(Qt::red));
        QVERIFY(shot.pixelColor(inNotch) != QColor(Qt::red));
        QCOMPARE(PFPageMarks::ribbon({612, 792}),
                 QPolygonF({{592, 792}, {574, 792}, {574, 762}, {583, 772}, {592, 762}}));
    }

    void bookmarksOfMissingPagesAreListedAndHarmless()
    {
        UserDefaults::standard().setValue(m_path + "PageMark", QVariantMap{{"40", "Gone"}, {"x", "junk"}, {"1", "Two"}});
        cleanup();
        openWindow();
        QCOMPARE(rows(), (QStringList{"2:Two", "41:Gone"}));
        m_view->goToPage(m_view->document().page(3));
        QTest::mouseClick(m_list->pfTableView()->viewport(), Qt::LeftButton, {}, rowCenter(1));
        QCOMPARE(m_view->currentPage().index(), 3);

        // A stored value that is no dictionary is ignored.
        UserDefaults::standard().setValue(m_path + "PageMark", QStringLiteral("not a dictionary"));
        m_list->pfRefreshData();
        QCOMPARE(rows().size(), 2);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFPagemarkController)
#include "tst_PFPagemarkController.moc"
