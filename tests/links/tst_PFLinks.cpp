#include "app/FakeModalSeam.h"
#include "editing/EditingViewFixture.h"
#include "editing/PFToolStatus.h"
#include "links/PFBaseLinkTabController.h"
#include "links/PFLinkCreator.h"
#include "links/PFLinkFieldController.h"
#include "links/PFLinkNumController.h"
#include "platform/view/PDFURLOpener.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace EditingViewFixture;

// Making links with the link tool and its tab, and following links with every tool.
class TestPFLinks : public QObject {
    Q_OBJECT

    // Ten pages; page 1 carries a link written by another program: a /GoTo to page 6 near its top.
    static QByteArray document()
    {
        QList<TestPdf::Page> pages;
        for (int i = 1; i <= 10; ++i)
            pages << TestPdf::Page{{QStringLiteral("Page %1").arg(i)}};
        const int link = TestPdf::firstExtraObject(10);
        pages[0].extra = "/Annots [" + QByteArray::number(link) + " 0 R]";
        return TestPdf::build(pages, {},
                              {"<< /Type /Annot /Subtype /Link /Rect [300 300 400 350] /Border [0 0 0] /A << /S /GoTo "
                               "/D ["
                               + QByteArray::number(TestPdf::pageObject(5)) + " 0 R /XYZ 0 700 null] >> >>"});
    }

    // Answers the link tab as a user: picks the tab, types, presses OK (or Cancel).
    void answerWith(int tab, const QString &text, bool ok = true)
    {
        m_seam->onSheet = [this, tab, text, ok](QDialog &sheet) {
            auto *links = qobject_cast<PFBaseLinkTabController *>(&sheet);
            if (!links)
                return 0;
            m_totalLabel = links->pfLinkNumCon()->pfTotalPageLB()->text();
            QTabBar *bar = links->tabView()->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
            auto *page = qobject_cast<PFLinkFieldController *>(links->tabView()->currentWidget());
            QTest::keyClicks(page->pfTextField(), text);
            QTest::mouseClick(ok ? page->okButton() : page->cancelButton(), Qt::LeftButton);
            return sheet.result();
        };
    }

    QVector<PDFAnnotation> linksOn(int pageIndex) const
    {
        QVector<PDFAnnotation> out;
        for (const PDFAnnotation &a : m_view->document().page(pageIndex).annotations())
            if (a.type() == QLatin1String("Link"))
                out << a;
        return out;
    }

    void drawLink(QPointF from, QPointF to)
    {
        QVERIFY(m_view->pfChooseTool(PFToolStatusLink));
        const PDFPage page = m_view->document().page(1);
        m_view->goToPage(page);
        drag(*m_view, page, from, to);
    }

    std::unique_ptr<FakeModalSeam> m_seam;
    std::unique_ptr<PFBasePDFView> m_view;
    PFLinkCreator *m_creator = nullptr;
    QString m_totalLabel;
    QTemporaryDir m_dir;

private slots:
    void init()
    {
        m_seam = std::make_unique<FakeModalSeam>();
        m_view = makeView(document());
        QVERIFY(m_view);
        m_creator = new PFLinkCreator(m_view.get());
        m_totalLabel.clear();
    }

    void cleanup()
    {
        m_view.reset();
        m_seam.reset();
        PDFURLOpener::setOpener(nullptr);
    }

    void pageLinkIsOneUndoStepAndWritten()
    {
        answerWith(0, QStringLiteral("3"));
        drawLink({100, 100}, {40, 160});
        QTRY_COMPARE(m_seam->sheets.size(), size_t(1));
        QCOMPARE(m_totalLabel, QStringLiteral("/10"));
        const QVector<PDFAnnotation> links = linksOn(1);
        QCOMPARE(links.size(), 1);
        QCOMPARE(links[0].bounds(), QRectF(40, 100, 61, 61));
        const PDFAction action = links[0].action();
        const auto *goTo = std::get_if<PDFActionGoTo>(&action);
        QVERIFY(goTo);
        QCOMPARE(goTo->destination.page().index(), 2);

        const QString file = m_dir.filePath("linked.pdf");
        QVERIFY(m_view->document().write(file));
        QCOMPARE(TestPdf::run("qpdf", {"--check", file}), 0);
        QString shown;
        // mutool counts array elements from 1.
        QCOMPARE(TestPdf::run("mutool", {"show", file, "trailer/Root/Pages/Kids/2/Annots/1/A/S"}, &shown), 0);
        QVERIFY2(shown.contains("/GoTo"), qPrintable(shown));

        m_view->pfUndoClick();
        QVERIFY(linksOn(1).isEmpty());
        m_view->pfRedoClick();
        QCOMPARE(linksOn(1).size(), 1);
    }

    void entriesThatMakeNoLinkRemoveTheRectangle_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::newRow("letter after digits") << 0 << "3a" << true;
        QTest::newRow("empty page") << 0 << "" << true;
        QTest::newRow("page 0") << 0 << "0" << true;
        QTest::newRow("past the last page") << 0 << "11" << true;
        QTest::newRow("cancel") << 0 << "3" << false;
        QTest::newRow("empty e-mail") << 1 << "" << true;
        QTest::newRow("empty web site") << 2 << "" << true;
    }

    void entriesThatMakeNoLinkRemoveTheRectangle()
    {
        QFETCH(int, tab);
        QFETCH(QString, text);
        QFETCH(bool, ok);
        answerWith(tab, text, ok);
        drawLink({100, 100}, {200, 160});
        QTRY_COMPARE(m_seam->sheets.size(), size_t(1));
        QTRY_VERIFY(linksOn(1).isEmpty());
        QVERIFY(!m_view->undoManager()->canUndo());
        QVERIFY(m_view->dragAnnotation().isNull());
    }

    void addressesAreStoredAsTyped()
    {
        answerWith(1, QStringLiteral("me@example.org"));
        drawLink({100, 100}, {200, 160});
        QTRY_COMPARE(m_seam->sheets.size(), size_t(1));
        QCOMPARE(linksOn(1).size(), 1);
        QCOMPARE(linksOn(1)[0].action(), PDFAction(PDFActionURL{"mailto:me@example.org"}));

        answerWith(2, QStringLiteral("example.org/a b"));
        drawLink({100, 300}, {200, 360});
        QTRY_COMPARE(m_seam->sheets.size(), size_t(2));
        QCOMPARE(linksOn(1).size(), 2);
        QCOMPARE(linksOn(1)[1].action(), PDFAction(PDFActionURL{"example.org/a b"}));
    }

    void clickWithoutMovementMakesNoLink()
    {
        answerWith(0, QStringLiteral("3"));
        QVERIFY(m_view->pfChooseTool(PFToolStatusLink));
        const PDFPage page = m_view->document().page(1);
        m_view->goToPage(page);
        press(*m_view, page, {100, 100});
        release(*m_view, page, {100, 100});
        QTest::qWait(20);
        QVERIFY(m_seam->sheets.empty());
        QVERIFY(linksOn(1).isEmpty());

        // A drag that comes back to where it started leaves nothing either.
        press(*m_view, page, {100, 100});
        move(*m_view, page, {150, 150});
        release(*m_view, page, {100, 100});
        QTest::qWait(20);
        QVERIFY(m_seam->sheets.empty());
        QVERIFY(linksOn(1).isEmpty());
    }

    void pressOnALinkFollowsItWithAnyTool_data()
    {
        QTest::addColumn<int>("tool");
        QTest::newRow("none") << int(PFToolStatusNone);
        QTest::newRow("rectangle") << int(PFToolStatusRectangle);
        QTest::newRow("link") << int(PFToolStatusLink);
        QTest::newRow("stamp") << int(PFToolStatusStamp);
    }

    void pressOnALinkFollowsItWithAnyTool()
    {
        QFETCH(int, tool);
        if (tool != PFToolStatusNone)
            QVERIFY(m_view->pfChooseTool(tool));
        const PDFPage first = m_view->document().page(0);
        m_view->goToPage(first);
        QCOMPARE(m_view->currentPage().index(), 0);
        press(*m_view, first, {350, 320});
        move(*m_view, first, {380, 330});
        release(*m_view, first, {380, 330});
        QCOMPARE(m_view->currentPage().index(), 5);
        QVERIFY(m_view->dragAnnotation().isNull()); // a link is never selected
        QCOMPARE(m_view->document().page(0).annotations().size(), 1);
        QCOMPARE(m_view->document().page(5).annotations().size(), 0);
        QVERIFY(!m_view->undoManager()->canUndo()); // nothing drawn, nothing moved
        QCOMPARE(m_view->document().page(0).annotations()[0].bounds(), QRectF(300, 300, 100, 50));
        QVERIFY(m_seam->sheets.empty());

        QVERIFY(m_view->canGoBack());
        m_view->goBack();
        QCOMPARE(m_view->currentPage().index(), 0);
    }

    void webLinksGoToTheOpener()
    {
        QStringList opened;
        PDFURLOpener::setOpener([&](const QUrl &url) {
            opened << url.toString();
            return true;
        });
        PDFAnnotation link = addAnnotation(m_view->document(), QStringLiteral("Link"), QRectF(50, 500, 100, 40));
        link.setAction(PDFActionURL{"www.example.org/page"});
        PDFAnnotation local = addAnnotation(m_view->document(), QStringLiteral("Link"), QRectF(50, 600, 100, 40));
        local.setAction(PDFActionURL{"file:///etc/passwd"});
        QSignalSpy refused(m_view.get(), &PDFView::linkRefused);
        const PDFPage first = m_view->document().page(0);
        m_view->goToPage(first);
        press(*m_view, first, {80, 520});
        release(*m_view, first, {80, 520});
        press(*m_view, first, {80, 620});
        release(*m_view, first, {80, 620});
        QCOMPARE(opened, QStringList{"http://www.example.org/page"});
        QCOMPARE(refused.size(), 1);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFLinks)
#include "tst_PFLinks.moc"
