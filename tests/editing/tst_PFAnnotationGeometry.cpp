#include "editing/PFBasePDFView.h"
#include "editing/PFContextMenu.h"
#include "editing/PFStyleCommands.h"
#include "editing/PFTextAnnotationController.h"
#include "editing/PFToolStatus.h"
#include "editing/PFUndoManager.h"

#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFPage.h"
#include "support/MenuPicker.h"
#include "support/TestEnvironment.h"
#include "support/TestFolder.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QMenu>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

// An annotation moves as a whole: pasted and centred lines, ink and markups carry their points
// with their bounds, in the view and in the written file. Also the overlays and previews that
// show what is selected and what a markup tool will make.
class TestPFAnnotationGeometry : public QObject {
    Q_OBJECT

    TestFolder m_files;
    MenuPicker m_menu;

    std::unique_ptr<PFBasePDFView> makeView(const QList<TestPdf::Page> &pages)
    {
        const QString path = m_files.writePdf(TestPdf::build(pages));
        if (path.isEmpty())
            return nullptr;
        auto view = std::make_unique<PFBasePDFView>();
        view->resize(700, 900);
        view->setDocument(PDFDocument::open(path));
        view->setScaleFactor(1.0);
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            return nullptr;
        return view;
    }

    std::unique_ptr<PFBasePDFView> makeView() { return makeView({TestPdf::Page{{QStringLiteral("Lorem ipsum dolor")}}}); }

    QPoint viewPointOf(PFBasePDFView &view, const PDFPage &page, QPointF p)
    {
        return view.convertPointFromPage(p, page).toPoint();
    }

    void rightClick(PFBasePDFView &view, QPoint at, int tag) { m_menu.rightClick(view.viewport(), at, tag); }

    // The annotation of `page` added last.
    static PDFAnnotation last(const PDFPage &page) { return page.annotations().last(); }

    // The numbers of a key of the annotation at position `index` (from 0) of page 1's /Annots,
    // as another program reads them from the file (its paths count from 1).
    static QList<double> numbersInFile(const QString &path, int index, const QString &key)
    {
        QString out;
        TestPdf::run(QStringLiteral("mutool"),
                     {QStringLiteral("show"), path, QStringLiteral("pages/1/Annots/%1/%2").arg(index + 1).arg(key)},
                     &out);
        QList<double> numbers;
        static const QRegularExpression number(QStringLiteral("-?\\d+(\\.\\d+)?"));
        for (auto it = number.globalMatch(out); it.hasNext();)
            numbers.append(it.next().captured().toDouble());
        return numbers;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_files.isValid());
        PFContextMenu::setPresenter(m_menu.presenter());
    }

    void cleanupTestCase() { PFContextMenu::setPresenter({}); }

    void pastedAnnotationsCarryTheirPoints()
    {
        auto view = makeView();
        QVERIFY(view);
        PDFPage page = view->document().page(0);
        PDFAnnotation arrow = PDFAnnotation::create(view->document(), QStringLiteral("Line"), QRectF(95, 395, 110, 60));
        arrow.setLinePoints(QPointF(100, 400), QPointF(200, 450));
        arrow.setLineStyles(PDFLineStyle::None, PDFLineStyle::OpenArrow);
        PDFAnnotation ink = PDFAnnotation::create(view->document(), QStringLiteral("Ink"), QRectF(300, 300, 50, 40));
        ink.setInkPaths({{QPointF(305, 305), QPointF(320, 330), QPointF(345, 335)}});
        PDFAnnotation highlight = PDFAnnotation::create(view->document(), QStringLiteral("Highlight"), QRectF(70, 690, 80, 16));
        highlight.setQuadrilateralPoints({PDFQuad{{70, 706}, {150, 706}, {70, 690}, {150, 690}}});
        for (PDFAnnotation *a : {&arrow, &ink, &highlight})
            view->pfAddShapeAnnotation(*a, 0);

        const QPointF target(400, 200);
        for (PDFAnnotation *original : {&arrow, &ink, &highlight}) {
            const QRectF before = original->bounds();
            rightClick(*view, viewPointOf(*view, page, before.center()), PFContextMenu::Copy);
            QCOMPARE(view->dragAnnotation(), *original);
            const QPoint at = viewPointOf(*view, page, target);
            rightClick(*view, at, PFContextMenu::Paste);
            const PDFAnnotation pasted = last(page);
            QVERIFY(!(pasted == *original));
            const QPointF shift = pasted.bounds().topLeft() - before.topLeft();
            QVERIFY(shift.manhattanLength() > 100);
            if (original->type() == QLatin1String("Line")) {
                QCOMPARE(pasted.startPoint(), original->startPoint() + shift);
                QCOMPARE(pasted.endPoint(), original->endPoint() + shift);
            } else if (original->type() == QLatin1String("Ink")) {
                QCOMPARE(pasted.inkPaths().first().first(), original->inkPaths().first().first() + shift);
                QCOMPARE(pasted.inkPaths().first().last(), original->inkPaths().first().last() + shift);
            } else {
                QCOMPARE(pasted.quadrilateralPoints().first().upperLeft,
                         original->quadrilateralPoints().first().upperLeft + shift);
                QCOMPARE(pasted.quadrilateralPoints().first().lowerRight,
                         original->quadrilateralPoints().first().lowerRight + shift);
            }
        }

        // Centre moves the arrow's ends with it, and the file says so to another reader.
        PDFAnnotation pastedArrow = page.annotations().at(3);
        view->pfSelectAnnotation(pastedArrow);
        const QPointF startBefore = pastedArrow.startPoint();
        const double xBefore = pastedArrow.bounds().x();
        view->pfContextMenu()->pfmenuItemSubClick(PFContextMenu::Center);
        const double dx = pastedArrow.bounds().x() - xBefore;
        QCOMPARE(pastedArrow.bounds().center().x(), page.bounds().center().x());
        QCOMPARE(pastedArrow.startPoint(), startBefore + QPointF(dx, 0));

        const QString out = m_files.filePath(QStringLiteral("moved.pdf"));
        QVERIFY(view->document().write(out));
        const QList<double> line = numbersInFile(out, 3, QStringLiteral("L"));
        QCOMPARE(line.size(), 4);
        QVERIFY(qAbs(line[0] - pastedArrow.startPoint().x()) < 1e-3);
        QVERIFY(qAbs(line[1] - pastedArrow.startPoint().y()) < 1e-3);
        const QList<double> quads = numbersInFile(out, 5, QStringLiteral("QuadPoints"));
        QCOMPARE(quads.size(), 8);
        const PDFQuad quad = page.annotations().at(5).quadrilateralPoints().first();
        QVERIFY(qAbs(quads[0] - quad.upperLeft.x()) < 1e-3);
        QVERIFY(qAbs(quads[1] - quad.upperLeft.y()) < 1e-3);
    }

    void pasteOntoASmallerPageStaysOnIt()
    {
        auto view = makeView({TestPdf::Page{{QStringLiteral("big")}, QRectF(0, 0, 612, 792)},
                              TestPdf::Page{{QStringLiteral("small")}, QRectF(0, 0, 200, 150)}});
        QVERIFY(view);
        PDFAnnotation square = PDFAnnotation::create(view->document(), QStringLiteral("Square"), QRectF(400, 600, 150, 100));
        view->pfAddShapeAnnotation(square, 0);
        view->pfSelectAnnotation(square);
        view->setPfCopyAnnotation(square.copy(view->document()));
        const PDFPage small = view->document().page(1);
        view->goToPage(small);
        rightClick(*view, viewPointOf(*view, small, QPointF(190, 140)), PFContextMenu::Paste);
        QCOMPARE(small.annotations().size(), 1);
        const QRectF pasted = small.annotations().first().bounds();
        QCOMPARE(pasted.size(), QSizeF(150, 100));
        QVERIFY2(small.bounds().contains(pasted), qPrintable(QStringLiteral("%1 %2").arg(pasted.x()).arg(pasted.y())));
    }

    void rightClickedMarkupShowsItsOutline()
    {
        auto view = makeView();
        QVERIFY(view);
        const PDFPage page = view->document().page(0);
        PDFAnnotation highlight = PDFAnnotation::create(view->document(), QStringLiteral("Highlight"), QRectF(70, 600, 200, 30));
        highlight.setQuadrilateralPoints({PDFQuad{{70, 630}, {270, 630}, {70, 600}, {270, 600}}});
        highlight.setColor(Qt::yellow);
        view->pfAddShapeAnnotation(highlight, 0);
        auto outlinePixels = [&] {
            const QImage image = view->viewport()->grab().toImage();
            const QRect around = view->convertRectFromPage(QRectF(60, 590, 220, 50), page).toAlignedRect();
            int count = 0;
            for (int y = around.top(); y <= around.bottom(); ++y)
                for (int x = around.left(); x <= around.right(); ++x)
                    // The selection blue, or its antialiased blend with the page: bluer than red
                    // by far, which neither the yellow highlight nor the black text is.
                    if (image.rect().contains(x, y) && qBlue(image.pixel(x, y)) - qRed(image.pixel(x, y)) > 60)
                        ++count;
            return count;
        };
        QCOMPARE(outlinePixels(), 0);
        rightClick(*view, viewPointOf(*view, page, QPointF(150, 615)), 0);
        QCOMPARE(view->dragAnnotation(), highlight);
        QTRY_VERIFY(outlinePixels() > 50);
        // The next press clears it.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, viewPointOf(*view, page, QPointF(400, 100)));
        QTRY_COMPARE(outlinePixels(), 0);
    }

    void highlightToolPreviewsItsColourWhileSelecting()
    {
        auto view = makeView();
        QVERIFY(view);
        const PDFPage page = view->document().page(0);
        const QColor plain = view->selectionColor();
        view->pfChooseTool(PFToolStatusHighlight);
        view->setPfColor(QColor(0, 200, 0));
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, viewPointOf(*view, page, QPointF(70, 704)));
        QTest::mouseMove(view->viewport(), viewPointOf(*view, page, QPointF(120, 704)));
        QTest::mouseMove(view->viewport(), viewPointOf(*view, page, QPointF(160, 704)));
        QVERIFY(!view->currentSelection().isEmpty());
        QCOMPARE(view->selectionColor(), QColor(0, 200, 0));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, viewPointOf(*view, page, QPointF(160, 704)));
        QCOMPARE(page.annotations().size(), 1);
        QCOMPARE(view->selectionColor(), plain);

        // Underline shows the ordinary selection colour.
        view->pfChooseTool(PFToolStatusUnderline);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, viewPointOf(*view, page, QPointF(70, 704)));
        QTest::mouseMove(view->viewport(), viewPointOf(*view, page, QPointF(160, 704)));
        QCOMPARE(view->selectionColor(), plain);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, viewPointOf(*view, page, QPointF(160, 704)));
    }

    void resizedShapeKeepsTakingTheStyle()
    {
        auto view = makeView();
        QVERIFY(view);
        const PDFPage page = view->document().page(0);
        PDFAnnotation square = PDFAnnotation::create(view->document(), QStringLiteral("Square"), QRectF(200, 300, 100, 80));
        square.setBorder(PDFBorder{2});
        view->pfAddShapeAnnotation(square, 0);
        // The Circle tool is chosen; the square's bottom-right handle is dragged.
        view->pfChooseTool(PFToolStatusCircle);
        const QPointF handle(200 + 100 + 8, 300 - 8);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, viewPointOf(*view, page, handle));
        QTest::mouseMove(view->viewport(), viewPointOf(*view, page, handle + QPointF(20, -20)));
        QTest::mouseMove(view->viewport(), viewPointOf(*view, page, handle + QPointF(40, -40)));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, viewPointOf(*view, page, handle + QPointF(40, -40)));
        QVERIFY(square.bounds().width() > 120);
        QCOMPARE(view->dragAnnotation(), square);
        QCOMPARE(view->pfCurrentStatus().currentStatus, int(PFToolStatusRectangle));
        view->pfStyleCommands()->pfChangeCurrentWidth(7);
        QCOMPARE(square.border()->lineWidth, 7.0);
        view->pfStyleCommands()->pfChangeAnoColor(Qt::green, 1);
        QCOMPARE(square.color(), std::optional<QColor>(QColor(Qt::green)));
    }

    void noteIconMenuShowsSevenImages()
    {
        PFTextAnnotationController popover;
        const QList<QAction *> items = popover.iconMenu()->actions();
        int images = 0;
        for (QAction *action : items)
            if (!action->isSeparator() && !action->icon().pixmap(16, 16).isNull())
                ++images;
        QCOMPARE(images, 7);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFAnnotationGeometry)
#include "tst_PFAnnotationGeometry.moc"
