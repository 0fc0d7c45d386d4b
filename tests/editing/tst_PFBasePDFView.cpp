#include "settings/PFManager.h"
#include "editing/PFBasePDFView.h"
#include "editing/PFUndoManager.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

namespace {

// Distinct stored styles, so a test sees which getter fed which field.
void storeDistinctStyles()
{
    PFManager &m = PFManager::sharedManager();
    m.pfSetHilightColor(QColor(250, 10, 10));
    m.pfSetUnderlineColor(QColor(10, 250, 10));
    m.pfSetStrikeOutColor(QColor(10, 10, 250));
    m.pfSetDrawColor(QColor(20, 30, 40));
    m.pfSetCircleColor(QColor(50, 60, 70));
    m.pfSetCircleFillColor(QColor(80, 90, 100));
    m.pfSetRectangleColor(QColor(110, 120, 130));
    m.pfSetRectangleFillColor(QColor(140, 150, 160));
    m.pfSetArrowColor(QColor(170, 180, 190));
    m.pfSetSegmentColor(QColor(200, 210, 220));
    m.pfSetTextColor(QColor(1, 2, 3));
    m.pfSetTextFillColor(QColor(4, 5, 6));
    m.pfSetDrawLineWidth(3);
    m.pfSetDrawCircleWidth(4);
    m.pfSetDrawRectangleWidth(5);
    m.pfSetDrawArrowWidth(6);
    m.pfSetDrawSegmentWidth(7);
    m.pfSetFillFontSize(19);
}

const QColor kMarker(12, 34, 56);
const QColor kFillMarker(65, 43, 21);
constexpr double kWidthMarker = 9.5;

} // namespace

class TestPFBasePDFView : public QObject {
    Q_OBJECT

    std::unique_ptr<PFBasePDFView> makeView(int pages = 3)
    {
        auto view = std::make_unique<PFBasePDFView>();
        view->resize(500, 400);
        view->setDocument(PDFDocument::openData(TestPdf::simple(pages)));
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            return nullptr;
        return view;
    }

    static PDFAnnotation annotation(const PFBasePDFView &view, const char *subtype)
    {
        return PDFAnnotation::create(view.document(), QString::fromLatin1(subtype), QRectF(100, 100, 80, 40));
    }

    static void markStyle(PFBasePDFView &view)
    {
        view.setPfColor(kMarker);
        view.setPfFillColor(kFillMarker);
        view.setPfLineWidth(kWidthMarker);
    }

private slots:
    void initTestCase() { storeDistinctStyles(); }

    void defaults()
    {
        PFBasePDFView view;
        QCOMPARE(view.pfCurrentStatus().currentStatus, 0);
        QCOMPARE(view.pfCurrentStatus().editStatus, 0);
        QCOMPARE(view.pfColor(), QColor(Qt::red));
        QCOMPARE(view.pfFillColor().alpha(), 0);
        QCOMPARE(view.pfLineWidth(), 2.0);
        QCOMPARE(view.pfFontName(), QStringLiteral("Helvetica"));
        QCOMPARE(view.currentFontSize(), 19);
        QCOMPARE(view.selectStampIndex(), -1);
        QVERIFY(!view.pfHasChangePDF());
        QVERIFY(!view.pfHasUnsavedChanges());
        QVERIFY(!view.pfLineInfo().has_value());
    }

    void styleFollowsTheTool_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QColor>("fill");
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("cursor");
        const int ibeam = Qt::IBeamCursor, cross = Qt::CrossCursor, arrow = Qt::ArrowCursor;
        QTest::newRow("0 none") << 0 << kMarker << kFillMarker << kWidthMarker << arrow;
        QTest::newRow("1 highlight") << 1 << QColor(250, 10, 10) << kFillMarker << kWidthMarker << ibeam;
        QTest::newRow("2 underline") << 2 << QColor(10, 250, 10) << kFillMarker << kWidthMarker << ibeam;
        QTest::newRow("3 strikeout") << 3 << QColor(10, 10, 250) << kFillMarker << kWidthMarker << ibeam;
        QTest::newRow("4 pen") << 4 << QColor(20, 30, 40) << kFillMarker << 3.0 << cross;
        QTest::newRow("5 circle") << 5 << QColor(50, 60, 70) << QColor(80, 90, 100) << 4.0 << cross;
        QTest::newRow("6 rectangle") << 6 << QColor(110, 120, 130) << QColor(140, 150, 160) << 5.0 << cross;
        QTest::newRow("7 arrow") << 7 << QColor(170, 180, 190) << kFillMarker << 6.0 << cross;
        QTest::newRow("8 line") << 8 << QColor(200, 210, 220) << kFillMarker << 7.0 << cross;
        QTest::newRow("9 link") << 9 << kMarker << kFillMarker << kWidthMarker << cross;
        QTest::newRow("10 text") << 10 << QColor(1, 2, 3) << QColor(4, 5, 6) << kWidthMarker << arrow;
        QTest::newRow("11 note") << 11 << kMarker << kFillMarker << kWidthMarker << arrow;
        QTest::newRow("12 image") << 12 << kMarker << kFillMarker << kWidthMarker << arrow;
        QTest::newRow("13 stamp") << 13 << kMarker << kFillMarker << kWidthMarker << arrow;
        QTest::newRow("14 sign") << 14 << kMarker << kFillMarker << kWidthMarker << arrow;
    }

    void styleFollowsTheTool()
    {
        QFETCH(int, tool);
        QFETCH(QColor, color);
        QFETCH(QColor, fill);
        QFETCH(double, width);
        QFETCH(int, cursor);
        auto view = makeView();
        QVERIFY(view);
        markStyle(*view);
        view->setCurrentFontSize(5);
        QVERIFY(view->pfChooseTool(tool));
        QCOMPARE(view->pfCurrentStatus().editStatus, tool);
        QCOMPARE(view->pfCurrentStatus().currentStatus, tool);
        QCOMPARE(view->pfColor(), color);
        QCOMPARE(view->pfFillColor(), fill);
        QCOMPARE(view->pfLineWidth(), width);
        QCOMPARE(int(view->viewport()->cursor().shape()), cursor);
        QCOMPARE(view->currentFontSize(), tool == 10 ? 19 : 5);
        // Choosing a tool is no edit of the document.
        QVERIFY(!view->pfHasUnsavedChanges());
        // Reloading for the same status gives the same style.
        markStyle(*view);
        view->pfResetColor();
        QCOMPARE(view->pfColor(), color);
        QCOMPARE(view->pfFillColor(), fill);
    }

    void paletteButtonsAreNoTools()
    {
        auto view = makeView();
        QVERIFY(view);
        view->pfChooseTool(6);
        const PDFAnnotation square = annotation(*view, "Square");
        view->pfAddShapeAnnotation(square, 0);
        view->pfSelectAnnotation(square);
        markStyle(*view);
        for (int index : {15, 16, 17, -1}) {
            QVERIFY(!view->pfChooseTool(index));
            QCOMPARE(view->pfCurrentStatus().editStatus, 6);
            QCOMPARE(view->pfCurrentStatus().currentStatus, 6);
            QCOMPARE(view->pfColor(), kMarker);
            QCOMPARE(view->dragAnnotation(), square);
        }
        // A real tool change drops the selection.
        QVERIFY(view->pfChooseTool(0));
        QVERIFY(view->dragAnnotation().isNull());
    }

    void selectingTakesOverTheStyle()
    {
        auto view = makeView();
        QVERIFY(view);
        view->pfChooseTool(4);

        // Ink: colour and width taken, status kept.
        PDFAnnotation ink = annotation(*view, "Ink");
        ink.setColor(QColor(0, 128, 255));
        ink.setBorder(PDFBorder{4.5});
        view->pfSelectStatus(ink);
        QCOMPARE(view->pfCurrentStatus().currentStatus, 4);
        QCOMPARE(view->pfColor(), QColor(0, 128, 255));
        QCOMPARE(view->pfLineWidth(), 4.5);

        // Link: nothing changes.
        markStyle(*view);
        view->pfSelectStatus(annotation(*view, "Link"));
        QCOMPARE(view->pfCurrentStatus().currentStatus, 4);
        QCOMPARE(view->pfColor(), kMarker);

        // A line with an arrow only at its start is still an arrow; a plain line is a line.
        PDFAnnotation line = annotation(*view, "Line");
        line.setLinePoints({100, 100}, {180, 140});
        line.setColor(QColor(9, 99, 199));
        line.setLineStyles(PDFLineStyle::ClosedArrow, PDFLineStyle::None);
        view->pfSelectStatus(line);
        QCOMPARE(view->pfCurrentStatus().currentStatus, 7);
        QCOMPARE(view->pfColor(), QColor(9, 99, 199));
        line.setLineStyles(PDFLineStyle::None, PDFLineStyle::None);
        view->pfSelectStatus(line);
        QCOMPARE(view->pfCurrentStatus().currentStatus, 8);

        // Shapes take stroke and interior colour.
        PDFAnnotation circle = annotation(*view, "Circle");
        circle.setColor(QColor(255, 0, 0));
        circle.setInteriorColor(QColor(0, 255, 0));
        view->pfSelectStatus(circle);
        QCOMPARE(view->pfCurrentStatus().currentStatus, 5);
        QCOMPARE(view->pfColor(), QColor(255, 0, 0));
        QCOMPARE(view->pfFillColor(), QColor(0, 255, 0));

        // Free text without an interior colour gives its font colour; with one, that colour.
        PDFAnnotation text = annotation(*view, "FreeText");
        text.setFont(QStringLiteral("Helvetica"), 12);
        text.setFontColor(QColor(0, 0, 255));
        text.setColor(QColor(255, 255, 0));
        view->pfSelectStatus(text);
        QCOMPARE(view->pfCurrentStatus().currentStatus, 10);
        QCOMPARE(view->pfColor(), QColor(0, 0, 255));
        QCOMPARE(view->pfFillColor(), QColor(255, 255, 0));
        text.setInteriorColor(QColor(255, 0, 255));
        view->pfSelectStatus(text);
        QCOMPARE(view->pfColor(), QColor(255, 0, 255));

        // Markups take their colour from the settings, not from the annotation.
        PDFAnnotation strike = annotation(*view, "StrikeOut");
        strike.setColor(QColor(1, 1, 1));
        view->pfSelectStatus(strike);
        QCOMPARE(view->pfCurrentStatus().currentStatus, 3);
        QCOMPARE(view->pfColor(), QColor(10, 10, 250));

        view->pfSelectStatus(annotation(*view, "Text"));
        QCOMPARE(view->pfCurrentStatus().currentStatus, 11);
        view->pfSelectStatus(annotation(*view, "Stamp"));
        QCOMPARE(view->pfCurrentStatus().currentStatus, 13);
        // The palette's tool never follows the selection.
        QCOMPARE(view->pfCurrentStatus().editStatus, 4);
    }

    void resetSameStatus()
    {
        auto view = makeView();
        QVERIFY(view);
        view->pfChooseTool(6);
        // A colour just chosen for the current tool survives.
        view->setPfColor(kMarker);
        view->pfResetSameStatus();
        QCOMPARE(view->pfColor(), kMarker);

        // After a selection of another kind, the tool and its stored style come back.
        PDFAnnotation circle = annotation(*view, "Circle");
        circle.setColor(QColor(255, 0, 0));
        view->pfSelectStatus(circle);
        QCOMPARE(view->pfCurrentStatus().currentStatus, 5);
        view->pfResetSameStatus();
        QCOMPARE(view->pfCurrentStatus().currentStatus, 6);
        QCOMPARE(view->pfColor(), QColor(110, 120, 130));
        QCOMPARE(view->pfFillColor(), QColor(140, 150, 160));
        QCOMPARE(view->pfLineWidth(), 5.0);
    }

    void undoAndRedoOfACreation()
    {
        auto view = makeView();
        QVERIFY(view);
        QSignalSpy changed(view.get(), &PFBasePDFView::pfHasChangeAnnotation);
        QSignalSpy showUndo(view.get(), &PFBasePDFView::pfShowUndoMenuDelegate);
        QSignalSpy hideUndo(view.get(), &PFBasePDFView::pfHideUndoMenuDelegate);
        QSignalSpy showRedo(view.get(), &PFBasePDFView::pfShowRedoMenuDelegate);
        QSignalSpy hideRedo(view.get(), &PFBasePDFView::pfHideRedoMenuDelegate);

        PDFPage page = view->document().page(1);
        const PDFAnnotation square = annotation(*view, "Square");
        view->pfAddShapeAnnotation(square, 1);
        QVERIFY(page.annotations().contains(square));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(showUndo.count(), 1);
        QVERIFY(view->pfHasUnsavedChanges());
        QVERIFY(!view->pfHasChangePDF()); // adding alone sets no flag

        view->pfSelectAnnotation(square);
        view->pfUndoClick();
        QVERIFY(!page.annotations().contains(square));
        QVERIFY(view->dragAnnotation().isNull());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(hideUndo.count(), 1);
        QCOMPARE(showRedo.count(), 1);
        QVERIFY(view->undoManager()->canRedo());
        QVERIFY(!view->pfHasUnsavedChanges());

        view->pfRedoClick();
        const QVector<PDFAnnotation> again = page.annotations();
        QCOMPARE(again.count(square), 1);
        QCOMPARE(square.page(), page);
        QCOMPARE(showUndo.count(), 2);
        QCOMPARE(hideRedo.count(), 1);
        QVERIFY(view->pfHasUnsavedChanges());
        QVERIFY(view->document().page(0).annotations().isEmpty());
        QVERIFY(view->document().page(2).annotations().isEmpty());
    }

    void deletionIsUndoableButLeavesNoRedo()
    {
        auto view = makeView();
        QVERIFY(view);
        QSignalSpy showRedo(view.get(), &PFBasePDFView::pfShowRedoMenuDelegate);
        PDFPage page = view->document().page(0);
        const PDFAnnotation circle = annotation(*view, "Circle");
        view->pfAddShapeAnnotation(circle, 0);
        view->setSelectTextCount(1);
        view->pfRemoveShapeAnnotation(circle, 0);
        QVERIFY(page.annotations().isEmpty());
        QCOMPARE(view->selectTextCount(), 0);
        // The Redo item must not come up: there is nothing to redo after a deletion.
        QVERIFY(!view->undoManager()->canRedo());
        QCOMPARE(showRedo.count(), 0);

        view->pfUndoClick();
        QVERIFY(page.annotations().contains(circle));
        QVERIFY(view->undoManager()->canRedo());
        // Removing from a page it is not on changes nothing and records nothing.
        view->pfRemoveShapeAnnotation(circle, 2);
        QVERIFY(page.annotations().contains(circle));
        QVERIFY(view->undoManager()->canRedo());
        // A page index out of range is ignored.
        view->pfAddShapeAnnotation(annotation(*view, "Square"), 3);
        QVERIFY(view->undoManager()->canRedo());
    }

    void undoFindsThePageAfterPagesMoved()
    {
        auto view = makeView(2);
        QVERIFY(view);
        PDFPage page = view->document().page(1);
        const PDFAnnotation square = annotation(*view, "Square");
        view->pfAddShapeAnnotation(square, 1);
        // A page inserted before it shifts its index; the undo step must still act on it.
        PDFDocument document = view->document();
        QVERIFY(!document.insertNewPage(QRectF(0, 0, 300, 300), 0).isNull());
        view->layoutDocumentView();
        view->pfUndoClick();
        QVERIFY(page.annotations().isEmpty());
        view->pfRedoClick();
        QCOMPARE(page.index(), 2);
        QVERIFY(page.annotations().contains(square));
        QVERIFY(document.page(1).annotations().isEmpty());
    }

    void anotherDocumentStartsAFreshHistory()
    {
        auto view = makeView();
        QVERIFY(view);
        QSignalSpy hideUndo(view.get(), &PFBasePDFView::pfHideUndoMenuDelegate);
        view->pfAddShapeAnnotation(annotation(*view, "Square"), 0);
        view->setPfHasChangePDF(true);
        view->layoutDocumentView(); // the same document laid out again keeps everything
        QVERIFY(view->undoManager()->canUndo());
        QVERIFY(view->pfHasChangePDF());

        view->setDocument(PDFDocument::openData(TestPdf::simple(1)));
        QVERIFY(!view->undoManager()->canUndo());
        QVERIFY(!view->pfHasUnsavedChanges());
        QCOMPARE(hideUndo.count(), 1);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFBasePDFView)
#include "tst_PFBasePDFView.moc"
