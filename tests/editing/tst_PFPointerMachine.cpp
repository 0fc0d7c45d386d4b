#include "EditingViewFixture.h"

#include "editing/PFBaseImageAnnotation.h"
#include "editing/PFHandleGeometry.h"
#include "editing/PFPointerMachine.h"
#include "editing/PFUndoManager.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>

using namespace EditingViewFixture;

// Presses, drags and releases of the editing tools, sent as real mouse events to the view.
class TestPFPointerMachine : public QObject {
    Q_OBJECT

    static void chooseTool(PFBasePDFView &view, int tool) { QVERIFY(view.pfChooseTool(tool)); }

private slots:
    void handleGeometry()
    {
        using namespace PFHandleGeometry;
        const QRectF r(10, 20, 100, 50);
        QCOMPARE(pfDragPointCenter(0, r), QPointF(10, 70));
        QCOMPARE(pfDragPointCenter(4, r), QPointF(110, 45));
        QCOMPARE(pfDragPointCenter(6, r), QPointF(60, 20));
        QCOMPARE(pfDragPointCenter(8, r), QPointF());
        QCOMPARE(pfDragStampPointCenter(1, r), QPointF(110, 70));
        QCOMPARE(pfDragStampPointCenter(2, r), QPointF(10, 20));
        QCOMPARE(pfRectanglePointRect(3, r), QRectF(106, 16, 8, 8));
        QCOMPARE(pfSquarePointRect(-1, r), QRectF(-4, -4, 8, 8));
        QCOMPARE(unitSquareUnion({5, 9}, {2, 3}), QRectF(2, 3, 4, 7));
        QVERIFY(!unitSquareUnion({5, 5}, {5, 5}).isEmpty());
        // Every handle keeps its opposite side; the top middle dragged below the bottom flips.
        QCOMPARE(eightHandleResize(7, r, {200, 0}), QRectF(10, 0, 191, 71));
        QCOMPARE(eightHandleResize(1, r, {500, 5}), QRectF(10, 5, 101, 16));
        QCOMPARE(eightHandleResize(4, r, {0, 500}), QRectF(0, 20, 11, 51));
        // Proportional stamp corners: a 100 x 50 stamp made 200 wide is 100 high.
        const QRectF stamp(100, 300, 100, 50);
        QCOMPARE(stampCornerResize(0, stamp, {1, 380}), QRectF(1, 300, 200, 100));
        QCOMPARE(stampCornerResize(3, stamp, {500, 251}), QRectF(100, 251, 200, 100));
        QCOMPARE(stampCornerResize(2, stamp, {0, 249}), QRectF(-4, 248, 204, 102));
        // Moving rounds halves away from zero.
        QCOMPARE(movedOrigin({10.5, -3.5}, {0, 0}), QPointF(11, -4));
    }

    void handleToleranceIsSquaredDistanceBelowTen()
    {
        auto view = makeView(TestPdf::simple(1), 10.0);
        QVERIFY(view);
        PDFDocument document = view->document();
        const PDFPage page = document.page(0);
        // Put the square's top-right handle centre exactly under a pixel, so offsets of 31 and
        // 32 pixels are 3.1 and 3.2 page units at this scale.
        view->goToRect(QRectF(150, 400, 100, 100), page);
        const QPoint pixel(300, 400);
        const QPointF centre = view->convertPointToPage(QPointF(pixel), page);
        const QRectF bounds(centre.x() - 8 - 20, centre.y() - 8 - 10, 20, 10);
        const PDFAnnotation square = addAnnotation(document, QStringLiteral("Square"), bounds);
        chooseTool(*view, PFToolStatusRectangle);

        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, pixel + QPoint(31, 0));
        QCOMPARE(view->pfCurrentDirect(), 2);
        QCOMPARE(view->dragAnnotation(), square);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, pixel + QPoint(31, 0));

        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, pixel + QPoint(32, 0));
        QCOMPARE(view->pfCurrentDirect(), -1);
        QVERIFY(view->dragAnnotation().isNull());
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, pixel + QPoint(32, 0));
    }

    void earlierOfOverlappingAnnotationsWins()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        PDFDocument document = view->document();
        const PDFPage page = document.page(0);
        const PDFAnnotation first = addAnnotation(document, QStringLiteral("Circle"), {100, 300, 200, 200});
        addAnnotation(document, QStringLiteral("Square"), {150, 350, 200, 200});
        chooseTool(*view, PFToolStatusRectangle);
        press(*view, page, {200, 400});
        QCOMPARE(view->pfCurrentDirect(), 8);
        QCOMPARE(view->dragAnnotation(), first);
        // The selection's kind becomes the tool in effect; the palette keeps its own.
        QCOMPARE(view->pfCurrentStatus().currentStatus, int(PFToolStatusCircle));
        QCOMPARE(view->pfCurrentStatus().editStatus, int(PFToolStatusRectangle));
        release(*view, page, {200, 400});

        // The None tool selects by the same order.
        chooseTool(*view, PFToolStatusNone);
        press(*view, page, {200, 400});
        QCOMPARE(view->dragAnnotation(), first);
        release(*view, page, {200, 400});
    }

    void lineEndsAndBody()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        PDFDocument document = view->document();
        const PDFPage page = document.page(0);
        PDFAnnotation line = addAnnotation(document, QStringLiteral("Line"), {100, 100, 200, 200});
        line.setLinePoints({100, 100}, {300, 300});
        line.setBorder(PDFBorder{2});
        chooseTool(*view, PFToolStatusLine);

        // The body (inside the bounds, away from both ends) selects the line for moving.
        const QRectF before = line.bounds();
        press(*view, page, {200, 200});
        QCOMPARE(view->pfCurrentDirect(), 8);
        QCOMPARE(view->dragAnnotation(), line);
        move(*view, page, {210, 190});
        move(*view, page, {220, 180});
        release(*view, page, {220, 180});
        const QPointF shift = line.startPoint() - QPointF(100, 100);
        QVERIFY(qAbs(shift.x() - 20) <= 1 && qAbs(shift.y() + 20) <= 1);
        QCOMPARE(line.endPoint() - line.startPoint(), QPointF(200, 200));
        QVERIFY(qAbs(line.bounds().x() - before.x() - shift.x()) < 0.01);
        QVERIFY(view->pfHasChangePDF());

        // Its end is handle 1; dragging it moves only the end, and LinePoints hold start first.
        const QPointF start = line.startPoint();
        press(*view, page, line.endPoint());
        QCOMPARE(view->pfCurrentDirect(), 1);
        move(*view, page, {400, 500});
        release(*view, page, {400, 500});
        QCOMPARE(line.startPoint(), start);
        QVERIFY(QLineF(line.endPoint(), landing(*view, page, {400, 500})).length() < 0.01);
        QCOMPARE(line.endLineStyle(), PDFLineStyle::None);
    }

    void arrowHeadAtStartStaysAtStart()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        PDFDocument document = view->document();
        const PDFPage page = document.page(0);
        PDFAnnotation arrow = addAnnotation(document, QStringLiteral("Line"), {100, 100, 200, 100});
        arrow.setLinePoints({100, 100}, {300, 200});
        arrow.setLineStyles(PDFLineStyle::OpenArrow, PDFLineStyle::None);
        chooseTool(*view, PFToolStatusArrow);
        press(*view, page, {100, 100});
        QCOMPARE(view->pfCurrentDirect(), 0);
        QCOMPARE(view->pfCurrentStatus().currentStatus, int(PFToolStatusArrow));
        move(*view, page, {80, 150});
        move(*view, page, {60, 180});
        release(*view, page, {60, 180});
        QCOMPARE(arrow.startLineStyle(), PDFLineStyle::OpenArrow);
        QCOMPARE(arrow.endLineStyle(), PDFLineStyle::None);
        QVERIFY(QLineF(arrow.startPoint(), landing(*view, page, {60, 180})).length() < 0.01);
        QCOMPARE(arrow.endPoint(), QPointF(300, 200));
    }

    void handleDraggedPastOppositeEdgeFlips()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        PDFDocument document = view->document();
        const PDFPage page = document.page(0);
        const QRectF bounds(200, 400, 100, 50);
        const PDFAnnotation square = addAnnotation(document, QStringLiteral("Square"), bounds);
        chooseTool(*view, PFToolStatusRectangle);
        // The top-middle handle sits 8 above the middle of the top edge.
        const QPointF handle(250, 458);
        press(*view, page, handle);
        QCOMPARE(view->pfCurrentDirect(), 1);
        move(*view, page, {250, 420});
        move(*view, page, {250, 370});
        release(*view, page, {250, 370});
        const QPointF p = landing(*view, page, {250, 370});
        const QRectF after = square.bounds();
        QCOMPARE(after.x(), 200.0);
        QCOMPARE(after.width(), 101.0);
        QVERIFY(qAbs(after.y() - p.y()) < 0.01);
        QVERIFY(qAbs(after.height() - (400 - p.y() + 1)) < 0.01);
        // The release restores the palette tool.
        QCOMPARE(view->pfCurrentStatus().currentStatus, int(PFToolStatusRectangle));
    }

    void stampCornerKeepsProportions()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        PDFDocument document = view->document();
        const PDFPage page = document.page(0);
        const PDFAnnotation stamp = addAnnotation(document, QStringLiteral("Stamp"), {100, 300, 100, 50});
        chooseTool(*view, PFToolStatusImage);
        // Corner 3 (bottom right) sits 8 outside the bounds.
        press(*view, page, {208, 292});
        QCOMPARE(view->pfCurrentDirect(), 3);
        QCOMPARE(view->dragAnnotation(), stamp);
        move(*view, page, {250, 280});
        move(*view, page, {299, 250});
        release(*view, page, {299, 250});
        const QRectF after = stamp.bounds();
        QVERIFY2(qAbs(after.height() * 2 - after.width()) < 0.02,
                 qPrintable(QStringLiteral("%1 x %2").arg(after.width()).arg(after.height())));
        QCOMPARE(after.x(), 100.0);
        QVERIFY(after.width() > 150);
    }

    void moveRoundsAndStopsAtThePageEdge()
    {
        auto view = makeView(TestPdf::simple(1), 1.0, {900, 900});
        QVERIFY(view);
        PDFDocument document = view->document();
        const PDFPage page = document.page(0);
        const PDFAnnotation square = addAnnotation(document, QStringLiteral("Square"), {100.25, 100.25, 100, 50});
        press(*view, page, {150, 125});
        QCOMPARE(view->dragAnnotation(), square);
        move(*view, page, {120, 90});
        move(*view, page, {60, 60});
        const QRectF inside = square.bounds();
        QCOMPARE(inside.size(), QSizeF(100, 50));
        QCOMPARE(inside.x(), std::round(inside.x()));
        QCOMPARE(inside.y(), std::round(inside.y()));
        QVERIFY(inside.x() < 20 && inside.y() < 40);
        // Off the page to the left: the square stays where it last was.
        const QPoint off = toViewport(*view, page, {0, 60}) - QPoint(30, 0);
        QVERIFY(view->pageForPoint(QPointF(off), false).isNull());
        QTest::mouseMove(view->viewport(), off);
        QCOMPARE(square.bounds(), inside);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, off);
        QCOMPARE(square.bounds(), inside);
    }

    void markupIsNeverHitByAPress()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        PDFDocument document = view->document();
        const PDFPage page = document.page(0);
        PDFAnnotation highlight = addAnnotation(document, QStringLiteral("Highlight"), {60, 690, 300, 20});
        const QRectF before = highlight.bounds();
        chooseTool(*view, PFToolStatusRectangle);
        press(*view, page, {100, 700});
        QCOMPARE(view->pfCurrentDirect(), -1);
        QVERIFY(view->dragAnnotation().isNull());
        release(*view, page, {100, 700});

        // With the None tool the press starts a text selection instead, and nothing moves.
        chooseTool(*view, PFToolStatusNone);
        drag(*view, page, {75, 703}, {200, 703});
        QVERIFY(view->dragAnnotation().isNull());
        QVERIFY(!view->currentSelection().isEmpty());
        QCOMPARE(highlight.bounds(), before);
    }

    void penStrokeIsOneUndoStepAndAClickDrawsNothing()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        const PDFPage page = view->document().page(0);
        chooseTool(*view, PFToolStatusPen);
        press(*view, page, {200, 200});
        release(*view, page, {200, 200});
        QCOMPARE(page.annotations().size(), 0);
        QVERIFY(!view->undoManager()->canUndo());

        press(*view, page, {200, 200});
        for (int i = 1; i <= 5; ++i) {
            move(*view, page, {200.0 + 20 * i, 200.0 + 10 * i});
            QCOMPARE(page.annotations().size(), 1); // one provisional stroke follows the pointer
        }
        release(*view, page, {320, 260});
        const QVector<PDFAnnotation> annotations = page.annotations();
        QCOMPARE(annotations.size(), 1);
        const PDFAnnotation ink = annotations.first();
        QCOMPARE(ink.type(), QStringLiteral("Ink"));
        QCOMPARE(ink.inkPaths().size(), 1);
        QCOMPARE(ink.inkPaths().first().size(), 7);
        QCOMPARE(ink.border()->lineWidth, view->pfLineWidth());
        QCOMPARE(ink.color(), std::optional<QColor>(view->pfColor()));
        view->pfUndoClick();
        QCOMPARE(page.annotations().size(), 0);
        QVERIFY(!view->undoManager()->canUndo());
    }

    void circleMadeOnFirstDragStepAndLeftSelected()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        const PDFPage page = view->document().page(0);
        chooseTool(*view, PFToolStatusCircle);
        press(*view, page, {300, 300});
        QCOMPARE(page.annotations().size(), 0);
        move(*view, page, {301, 299});
        QCOMPARE(page.annotations().size(), 1);
        const PDFAnnotation circle = page.annotations().first();
        QCOMPARE(circle.type(), QStringLiteral("Circle"));
        QVERIFY(circle.bounds().width() >= 1 && circle.bounds().height() >= 1);
        QCOMPARE(view->dragAnnotation(), circle);
        move(*view, page, {350, 260});
        release(*view, page, {350, 260});
        const QPointF a = landing(*view, page, {300, 300}), b = landing(*view, page, {350, 260});
        QCOMPARE(circle.bounds(), PFHandleGeometry::unitSquareUnion(a, b));
        QCOMPARE(view->dragAnnotation(), circle);
        QCOMPARE(view->pfCurrentStatus().currentStatus, int(PFToolStatusCircle));
        QCOMPARE(view->pfCurrentStatus().editStatus, int(PFToolStatusCircle));
        QCOMPARE(page.annotations().size(), 1);
        view->pfUndoClick();
        QCOMPARE(page.annotations().size(), 0);
    }

    void lineDrawnKeepsItsPointsStartFirst()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        const PDFPage page = view->document().page(0);
        chooseTool(*view, PFToolStatusArrow);
        drag(*view, page, {100, 500}, {250, 420});
        QCOMPARE(page.annotations().size(), 1);
        const PDFAnnotation arrow = page.annotations().first();
        QCOMPARE(arrow.type(), QStringLiteral("Line"));
        QVERIFY(QLineF(arrow.startPoint(), landing(*view, page, {100, 500})).length() < 0.01);
        QVERIFY(QLineF(arrow.endPoint(), landing(*view, page, {250, 420})).length() < 0.01);
        QCOMPARE(arrow.startLineStyle(), PDFLineStyle::None);
        QCOMPARE(arrow.endLineStyle(), PDFLineStyle::OpenArrow);
        QVERIFY(view->undoManager()->canUndo());
    }

    void selectedShapeShowsHandlesAndFrame()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        PDFDocument document = view->document();
        const PDFPage page = document.page(0);
        addAnnotation(document, QStringLiteral("Square"), {200, 300, 100, 60});
        const QColor selection(74, 150, 230);
        const QPoint handle = toViewport(*view, page, {192, 368}); // top-left handle centre
        QVERIFY(view->viewport()->grab().toImage().pixelColor(handle) != selection);
        press(*view, page, {250, 330});
        release(*view, page, {250, 330});
        const QImage shown = view->viewport()->grab().toImage();
        QCOMPARE(shown.pixelColor(handle), selection);
        // No handle where a line end would be.
        QVERIFY(shown.pixelColor(toViewport(*view, page, {250, 250})) != selection);
        // Dropping the selection removes the overlay.
        press(*view, page, {450, 150});
        release(*view, page, {450, 150});
        QVERIFY(view->viewport()->grab().toImage().pixelColor(handle) != selection);
    }

    void pictureIsPlacedOncePerChoice()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        const PDFPage page = view->document().page(0);
        chooseTool(*view, PFToolStatusImage);
        QImage photo(400, 200, QImage::Format_RGB32);
        photo.fill(Qt::darkCyan);
        view->setPfPhotoImage(PFPicture(photo));
        press(*view, page, {300, 400});
        release(*view, page, {300, 400});
        QCOMPARE(page.annotations().size(), 1);
        const PDFAnnotation picture = page.annotations().first();
        QVERIFY(PFBaseImageAnnotation::isImageAnnotation(picture));
        const QPointF p = landing(*view, page, {300, 400});
        const QRectF bounds = picture.bounds();
        QVERIFY(qAbs(bounds.x() - (p.x() - 70)) < 0.01 && qAbs(bounds.y() - (p.y() - 35)) < 0.01);
        QVERIFY(qAbs(bounds.width() - 140) < 0.01 && qAbs(bounds.height() - 70) < 0.01);
        QVERIFY(view->pfPhotoImage().isNull());
        // A second click on empty page places nothing more.
        press(*view, page, {300, 150});
        release(*view, page, {300, 150});
        QCOMPARE(page.annotations().size(), 1);
        view->pfUndoClick();
        QCOMPARE(page.annotations().size(), 0);
    }

    void linkDragKeepsTheLinkAndAnnouncesIt()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        const PDFPage page = view->document().page(0);
        chooseTool(*view, PFToolStatusLink);
        QSignalSpy drawn(view->pfPointer(), &PFPointerMachine::linkDrawn);
        press(*view, page, {100, 100});
        release(*view, page, {100, 100});
        QCOMPARE(drawn.count(), 0);
        QCOMPARE(page.annotations().size(), 0);
        drag(*view, page, {100, 100}, {200, 150});
        QCOMPARE(drawn.count(), 1);
        QCOMPARE(page.annotations().size(), 1);
        QCOMPARE(page.annotations().first().type(), QStringLiteral("Link"));
        // A press on that link follows it rather than drawing another.
        drag(*view, page, {150, 120}, {300, 300});
        QCOMPARE(page.annotations().size(), 1);
        QCOMPARE(drawn.count(), 1);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFPointerMachine)
#include "tst_PFPointerMachine.moc"
