#include "EditingViewFixture.h"

#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>

using namespace EditingViewFixture;

// Markups made from the text selected with the markup tools.
class TestPFTextMarkup : public QObject {
    Q_OBJECT

    static QByteArray twoLinePages(int count)
    {
        QList<TestPdf::Page> pages;
        for (int i = 0; i < count; ++i)
            pages.append(TestPdf::Page{{QStringLiteral("Lorem ipsum dolor sit"), QStringLiteral("amet consectetur adipiscing")}});
        return TestPdf::build(pages);
    }

private slots:
    void twoLinesMakeOneMarkupUpperLineFirst()
    {
        auto view = makeView(twoLinePages(1));
        QVERIFY(view);
        const PDFPage page = view->document().page(0);
        QVERIFY(view->pfChooseTool(PFToolStatusUnderline));
        const QColor colour = view->pfColor();
        // From the start of the first line to the end of the second (baselines 700 and 680).
        drag(*view, page, {73, 704}, {200, 684}, 6);
        const QVector<PDFAnnotation> annotations = page.annotations();
        QCOMPARE(annotations.size(), 1);
        const PDFAnnotation markup = annotations.first();
        QCOMPARE(markup.type(), QStringLiteral("Underline"));
        QCOMPARE(markup.color(), std::optional<QColor>(colour));
        const QVector<PDFQuad> quads = markup.quadrilateralPoints();
        QCOMPARE(quads.size(), 2); // eight points
        QVERIFY(quads[0].lowerLeft.y() > quads[1].upperLeft.y());
        QVERIFY(quads[0].upperLeft.y() > quads[0].lowerLeft.y());
        QVERIFY(quads[0].upperRight.x() > quads[0].upperLeft.x());
        // The bounds hold every line.
        for (const PDFQuad &quad : quads)
            QVERIFY(markup.bounds().adjusted(-0.5, -0.5, 0.5, 0.5).contains(quad.boundingRect()));
        QVERIFY(view->currentSelection().isEmpty());
        QVERIFY(view->undoManager()->canUndo());
        // The tool stays, so the next selection makes the next markup.
        QCOMPARE(view->pfCurrentStatus().currentStatus, int(PFToolStatusUnderline));
    }

    void selectionAcrossAPageBreakMakesOneMarkupPerPage()
    {
        auto view = makeView(twoLinePages(2), 0.45, {700, 900});
        QVERIFY(view);
        const PDFPage first = view->document().page(0), second = view->document().page(1);
        QVERIFY(view->pfChooseTool(PFToolStatusHighlight));
        press(*view, first, {73, 684});
        move(*view, first, {150, 684});
        move(*view, second, {100, 720});
        move(*view, second, {120, 703});
        release(*view, second, {120, 703});
        QCOMPARE(first.annotations().size(), 1);
        QCOMPARE(second.annotations().size(), 1);
        const PDFAnnotation a = first.annotations().first(), b = second.annotations().first();
        QCOMPARE(a.type(), QStringLiteral("Highlight"));
        QCOMPARE(a.quadrilateralPoints().size(), 1); // the second line of page 1 only
        QCOMPARE(b.quadrilateralPoints().size(), 1); // the first line of page 2 only
        QVERIFY(a.quadrilateralPoints().first().lowerLeft.y() < 690);
        QVERIFY(b.quadrilateralPoints().first().lowerLeft.y() > 690);
        // Each creation is its own undo step.
        view->pfUndoClick();
        QCOMPARE(first.annotations().size() + second.annotations().size(), 1);
    }

    void emptySelectionMakesNothing()
    {
        auto view = makeView(twoLinePages(1));
        QVERIFY(view);
        const PDFPage page = view->document().page(0);
        QVERIFY(view->pfChooseTool(PFToolStatusStrikeOut));
        // A click selects no text.
        press(*view, page, {100, 684});
        release(*view, page, {100, 684});
        QVERIFY(view->currentSelection().isEmpty());
        QCOMPARE(page.annotations().size(), 0);
        QVERIFY(!view->undoManager()->canUndo());
    }

    void onlyTheHighlightToolColoursTheLiveSelection()
    {
        auto view = makeView(twoLinePages(1));
        QVERIFY(view);
        const PDFPage page = view->document().page(0);
        const QColor plain = view->selectionColor();
        QVERIFY(view->pfChooseTool(PFToolStatusHighlight));
        view->setPfColor(QColor(10, 200, 30));
        view->setCurrentSelection(page.selectionForRect({60, 690, 200, 20}));
        view->selectionChangedNotification();
        QCOMPARE(view->selectionColor(), QColor(10, 200, 30));
        QVERIFY(view->pfChooseTool(PFToolStatusUnderline));
        view->selectionChangedNotification();
        QCOMPARE(view->selectionColor(), plain);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFTextMarkup)
#include "tst_PFTextMarkup.moc"
