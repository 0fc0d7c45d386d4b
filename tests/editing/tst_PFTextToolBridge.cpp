#include "EditingViewFixture.h"

#include "editing/PFFreeTextEditor.h"
#include "editing/PFHandleGeometry.h"
#include "editing/PFNoteTool.h"
#include "editing/PFTextAnnotationController.h"
#include "editing/PFToolStatus.h"

#include "settings/PFManager.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QTextEdit>

using namespace EditingViewFixture;

// The Text and Note tools driven by real clicks and drags on the view's viewport.
class TestPFTextToolBridge : public QObject {
    Q_OBJECT

    static void click(PFBasePDFView &view, QPoint at)
    {
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at);
    }

    static void dragViewport(PFBasePDFView &view, QPoint from, QPoint to)
    {
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, from);
        for (int i = 1; i <= 4; ++i)
            QTest::mouseMove(view.viewport(), from + (to - from) * i / 4);
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, to);
    }

    static QVector<PDFAnnotation> ofType(const PDFPage &page, const QString &type)
    {
        QVector<PDFAnnotation> found;
        for (const PDFAnnotation &annotation : page.annotations())
            if (annotation.type() == type)
                found.append(annotation);
        return found;
    }

    // Opens a box with a click, types into it and commits it with a click elsewhere.
    static PDFAnnotation typeBox(PFBasePDFView &view, QPoint at, const QString &text)
    {
        click(view, at);
        QTextEdit *edit = view.pfTextEditor()->pfTextScrollView();
        if (!edit)
            return {};
        QTest::keyClicks(edit, text);
        click(view, QPoint(650, 850));
        const QVector<PDFAnnotation> boxes = ofType(view.document().page(0), QStringLiteral("FreeText"));
        return boxes.isEmpty() ? PDFAnnotation() : boxes.last();
    }

    // Rows and columns of the page rendering inside `area` (page space) that carry red ink.
    static QRect redInk(PFBasePDFView &view, const QRectF &area)
    {
        const PDFPage page = view.document().page(0);
        const QImage image = page.render(2.0).convertToFormat(QImage::Format_RGB32);
        const QRectF box = page.bounds();
        // Page space (y up) to image pixels (y down) at scale 2.
        const QRect pixels = QRectF(QPointF((area.left() - box.left()) * 2, (box.bottom() - area.bottom()) * 2),
                                    area.size() * 2)
                                 .toAlignedRect()
                                 .intersected(image.rect());
        QRect ink;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 150 && c.green() < 100 && c.blue() < 100)
                    ink |= QRect(x, y, 1, 1);
            }
        }
        return ink;
    }

private slots:
    void initTestCase()
    {
        PFManager::sharedManager().pfSetTextColor(Qt::red);
        PFManager::sharedManager().pfSetTextFillColor(Qt::transparent);
    }

    void firstClickSelectsSecondOpens()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        QVERIFY(view->pfChooseTool(PFToolStatusText));
        const PDFAnnotation box = typeBox(*view, QPoint(100, 100), QStringLiteral("Hello"));
        QVERIFY(!box.isNull());
        QCOMPARE(box.contents(), QStringLiteral("Hello"));
        QVERIFY(!view->pfTextEditor()->isOpen());
        QCOMPARE(ofType(view->document().page(0), QStringLiteral("FreeText")).size(), 1);
        // The box lies where it was opened: top-left corner under the click.
        const QPointF topLeft = view->convertPointToPage(QPointF(100, 100), view->document().page(0));
        QVERIFY(qAbs(box.bounds().left() - topLeft.x()) < 4);
        QVERIFY(qAbs(box.bounds().bottom() - topLeft.y()) < 5);
        QVERIFY(view->undoManager()->canUndo());

        const QPoint inside = view->convertRectFromPage(box.bounds(), view->document().page(0)).center().toPoint();
        click(*view, inside);
        QCOMPARE(view->dragAnnotation(), box);
        QVERIFY(!view->pfTextEditor()->isOpen());

        click(*view, inside);
        QVERIFY(view->pfTextEditor()->isOpen());
        QVERIFY(view->pfTextEditor()->isEditFreeText());
        QCOMPARE(view->pfTextEditor()->pfTextScrollView()->toPlainText(), QStringLiteral("Hello"));

        // Typing more and clicking away writes the new text into the same box.
        QTest::keyClicks(view->pfTextEditor()->pfTextScrollView(), QStringLiteral(" world"));
        click(*view, QPoint(650, 850));
        QVERIFY(!view->pfTextEditor()->isOpen());
        QCOMPARE(ofType(view->document().page(0), QStringLiteral("FreeText")).size(), 1);
        QCOMPARE(box.contents(), QStringLiteral("Hello world"));
        QVERIFY(box.bounds().x() > 0); // back on the page
    }

    void clickingElsewhereWithoutTextMakesNothing()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        QVERIFY(view->pfChooseTool(PFToolStatusText));
        click(*view, QPoint(120, 200));
        QVERIFY(view->pfTextEditor()->isOpen());
        click(*view, QPoint(500, 700));
        QVERIFY(!view->pfTextEditor()->isOpen());
        QVERIFY(ofType(view->document().page(0), QStringLiteral("FreeText")).isEmpty());
    }

    void draggingAnEditorHandleResizesIt()
    {
        using namespace PFHandleGeometry;
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        QVERIFY(view->pfChooseTool(PFToolStatusText));
        PFFreeTextEditor *editor = view->pfTextEditor();
        click(*view, QPoint(100, 150));
        QVERIFY(editor->isOpen());
        QTest::keyClicks(editor->pfTextScrollView(), QStringLiteral("Resize me"));
        const PDFPage page = editor->page();
        const QRectF origin = editor->pfRectTextScroll();

        // Bottom right: the top-left corner stays, the box grows to the pointer.
        const QPointF handle = pfDragPointCenter(7, handleFrame(origin));
        const QPointF target = handle + QPointF(60, -40);
        drag(*view, page, handle, target);
        QVERIFY(editor->isOpen()); // a handle drag does not commit
        QCOMPARE(editor->pfTextScrollView()->toPlainText(), QStringLiteral("Resize me"));
        const QRectF grown = editor->pfRectTextScroll();
        const QRectF expected = eightHandleResize(7, origin, landing(*view, page, target));
        QVERIFY2(qAbs(grown.left() - expected.left()) < 1.5 && qAbs(grown.right() - expected.right()) < 1.5
                     && qAbs(grown.top() - expected.top()) < 1.5 && qAbs(grown.bottom() - expected.bottom()) < 1.5,
                 qPrintable(QStringLiteral("got %1,%2 %3x%4").arg(grown.x()).arg(grown.y()).arg(grown.width()).arg(grown.height())));
        QVERIFY(grown.width() > origin.width() + 50);
        QVERIFY(qAbs(grown.bottom() - origin.bottom()) < 1.5); // the top edge stayed
        // The widget follows the frame.
        QCOMPARE(editor->pfTextScrollView()->geometry(), editor->frame().toAlignedRect());

        // Top middle dragged up: only the height changes, the bottom stays.
        const QPointF top = pfDragPointCenter(1, handleFrame(grown));
        drag(*view, page, top, top + QPointF(30, 25));
        const QRectF taller = editor->pfRectTextScroll();
        QVERIFY(qAbs(taller.left() - grown.left()) < 1.5 && qAbs(taller.width() - grown.width()) < 1.5);
        QVERIFY(qAbs(taller.top() - grown.top()) < 1.5); // the lower edge, y upwards
        QVERIFY(taller.height() > grown.height() + 20);

        // Committed, the box has the resized frame.
        click(*view, QPoint(650, 850));
        const QVector<PDFAnnotation> boxes = ofType(view->document().page(0), QStringLiteral("FreeText"));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(qAbs(boxes[0].bounds().width() - taller.width()) < 1.5);
        QVERIFY(qAbs(boxes[0].bounds().height() - taller.height()) < 1.5);
    }

    void resizedOrMovedBoxIsDrawnAnewNotStretched()
    {
        using namespace PFHandleGeometry;
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        QVERIFY(view->pfChooseTool(PFToolStatusText));
        PDFAnnotation box = typeBox(*view, QPoint(100, 100), QStringLiteral("Tall"));
        QVERIFY(!box.isNull());
        const PDFPage page = view->document().page(0);
        const QRectF before = box.bounds();
        const QRect inkBefore = redInk(*view, before);
        QVERIFY(inkBefore.height() > 10);

        // Select it with a click, then drag its bottom-middle handle down: twice as tall.
        const QPoint inside = view->convertRectFromPage(before, page).center().toPoint();
        click(*view, inside);
        QCOMPARE(view->dragAnnotation(), box);
        const QPointF bottom = pfDragPointCenter(6, handleFrame(before));
        drag(*view, page, bottom, bottom - QPointF(0, before.height()));
        const QRectF resized = box.bounds();
        QVERIFY(resized.height() > before.height() * 1.8);
        QVERIFY(qAbs(resized.bottom() - before.bottom()) < 1.5);
        QVERIFY(!view->pfTextEditor()->isOpen());
        // The glyphs keep their size and stay at the top of the box.
        const QRect inkResized = redInk(*view, resized);
        QVERIFY2(qAbs(inkResized.height() - inkBefore.height()) <= 2,
                 qPrintable(QStringLiteral("%1 vs %2").arg(inkResized.height()).arg(inkBefore.height())));
        QVERIFY(qAbs(inkResized.top() - inkBefore.top()) <= 2);
        QVERIFY(qAbs(inkResized.width() - inkBefore.width()) <= 2);

        // Moved with the pointer by its body, the text goes with it unchanged.
        QVERIFY(view->pfChooseTool(PFToolStatusNone));
        const QPointF grab = resized.center();
        drag(*view, page, grab, grab + QPointF(150, -200));
        const QRectF moved = box.bounds();
        QVERIFY(qAbs(moved.left() - resized.left() - 150) < 1.5);
        QCOMPARE(moved.size(), resized.size());
        QVERIFY(redInk(*view, resized).isEmpty() || !redInk(*view, resized).intersects(inkResized));
        // Whole-point moves land on other pixel phases: a pixel of antialiasing either way.
        const QRect inkMoved = redInk(*view, moved);
        QVERIFY(qAbs(inkMoved.width() - inkResized.width()) <= 1);
        QVERIFY(qAbs(inkMoved.height() - inkResized.height()) <= 1);
    }

    void textToolDragsTheSelectedBoxWithoutOpeningIt()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        QVERIFY(view->pfChooseTool(PFToolStatusText));
        PDFAnnotation box = typeBox(*view, QPoint(100, 100), QStringLiteral("Move me"));
        QVERIFY(!box.isNull());
        const PDFPage page = view->document().page(0);
        const QRectF before = box.bounds();
        click(*view, view->convertRectFromPage(before, page).center().toPoint());
        QCOMPARE(view->dragAnnotation(), box);

        // A drag from the body of the selected box moves it; the press was no opening click.
        drag(*view, page, before.center(), before.center() + QPointF(40, -60));
        QVERIFY(!view->pfTextEditor()->isOpen());
        QVERIFY(qAbs(box.bounds().left() - before.left() - 40) < 1.5);
        QVERIFY(qAbs(box.bounds().top() - before.top() + 60) < 1.5);
        QCOMPARE(box.bounds().size(), before.size());
        QCOMPARE(ofType(page, QStringLiteral("FreeText")).size(), 1);
    }

    void noteClickPlacesANote()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        QVERIFY(view->pfChooseTool(PFToolStatusNote));
        const PDFPage page = view->document().page(0);
        const QPointF at(200, 500);
        click(*view, toViewport(*view, page, at));
        const QVector<PDFAnnotation> notes = ofType(page, QStringLiteral("Text"));
        QCOMPARE(notes.size(), 1);
        const QPointF landed = landing(*view, page, at);
        // Centred on the 20 x 20 square at the click; the engine draws the icon a point inside it.
        const QRectF bounds = notes[0].bounds();
        QVERIFY(qAbs(bounds.center().x() - landed.x() - 10) < 0.01 && qAbs(bounds.center().y() - landed.y() - 10) < 0.01);
        QVERIFY(bounds.width() >= 18 && bounds.width() <= 20 && bounds.height() >= 18 && bounds.height() <= 20);
        QCOMPARE(notes[0].color().value_or(QColor()), QColor(254, 233, 116));
        QCOMPARE(notes[0].iconName(), QStringLiteral("Comment"));
        QVERIFY(view->undoManager()->canUndo());
        PFTextAnnotationController *popover = view->pfNoteTool()->pfTextPopUpCon();
        QVERIFY(popover && popover->isVisible());

        // A press elsewhere while the popover is open only closes it.
        click(*view, toViewport(*view, page, QPointF(400, 300)));
        QTRY_VERIFY(!popover || !popover->isVisible());
        QCOMPARE(ofType(page, QStringLiteral("Text")).size(), 1);

        // With the popover closed, a double click on the note opens it for that note.
        const QPoint onNote = toViewport(*view, page, notes[0].bounds().center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, onNote);
        QCOMPARE(ofType(page, QStringLiteral("Text")).size(), 1);
        QVERIFY(view->pfNoteTool()->pfTextPopUpCon() && view->pfNoteTool()->pfTextPopUpCon()->isVisible());
        QCOMPARE(view->pfNoteTool()->textAnnotation(), notes[0]);
        QVERIFY(view->pfNoteTool()->isEditText());
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFTextToolBridge)
#include "tst_PFTextToolBridge.moc"
