#include "editing/PFBasePDFView.h"
#include "editing/PFFreeTextEditor.h"
#include "editing/PFNoteIcons.h"
#include "editing/PFNoteTool.h"
#include "editing/PFTextAnnotationController.h"
#include "editing/PFToolStatus.h"
#include "editing/PFUndoManager.h"

#include "settings/PFManager.h"
#include "platform/pdf/PDFPage.h"
#include "platform/store/Localization.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>
#include <memory>

class TestPFFreeTextEditor : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    std::unique_ptr<PFBasePDFView> makeView(int pages = 2, double scale = 1.0)
    {
        const QString path = m_dir.filePath(QStringLiteral("doc%1.pdf").arg(++m_count));
        if (!TestPdf::write(path, TestPdf::simple(pages)))
            return nullptr;
        auto view = std::make_unique<PFBasePDFView>();
        view->resize(700, 600);
        view->setDocument(PDFDocument::open(path));
        view->setScaleFactor(scale);
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            return nullptr;
        return view;
    }

    // A page point of the first page shown at a viewport point.
    static QPointF pagePoint(PFBasePDFView &view, QPoint viewPoint)
    {
        return view.convertPointToPage(viewPoint, view.document().page(0));
    }

    // Presses and releases the Text tool at a viewport point, as the pointer machine does.
    static void textClick(PFBasePDFView &view, QPoint viewPoint)
    {
        const PDFPage page = view.document().page(0);
        view.pfTextEditor()->pfTextToolPressed(page, pagePoint(view, viewPoint));
        view.pfTextEditor()->pfTextToolReleased(false);
    }

    static QVector<PDFAnnotation> ofType(const PDFPage &page, const QString &type)
    {
        QVector<PDFAnnotation> found;
        for (const PDFAnnotation &annotation : page.annotations()) {
            if (annotation.type() == type)
                found.append(annotation);
        }
        return found;
    }

    // Types a new box at a viewport point and commits it; the box made.
    static PDFAnnotation typeBox(PFBasePDFView &view, QPoint at, const QString &text)
    {
        textClick(view, at);
        QTextEdit *edit = view.pfTextEditor()->pfTextScrollView();
        if (!edit)
            return {};
        QTest::keyClicks(edit, text);
        view.pfTextEditor()->pfResetTextView();
        const QVector<PDFAnnotation> boxes = ofType(view.document().page(0), QStringLiteral("FreeText"));
        return boxes.isEmpty() ? PDFAnnotation() : boxes.last();
    }

    // Text as an input method delivers it: how Chinese is typed.
    static void typeComposed(QWidget *target, const QString &text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(target, &event);
    }

    // Renders page 1 of a file with pdftoppm at 72 dpi.
    QImage popplerRender(const QString &pdf)
    {
        const QString prefix = m_dir.filePath(QStringLiteral("render%1").arg(++m_count));
        if (TestPdf::run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"),
                                                     QStringLiteral("-f"), QStringLiteral("1"),
                                                     QStringLiteral("-l"), QStringLiteral("1"),
                                                     QStringLiteral("-png"), QStringLiteral("-singlefile"),
                                                     pdf, prefix})
            != 0)
            return {};
        return QImage(prefix + QStringLiteral(".png"));
    }

    static int darkPixels(const QImage &image, const QRect &area)
    {
        int count = 0;
        const QRect clipped = area.intersected(image.rect());
        for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
            for (int x = clipped.left(); x <= clipped.right(); ++x) {
                if (qGray(image.pixel(x, y)) < 128)
                    ++count;
            }
        }
        return count;
    }

    int m_count = 0;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        PFManager::sharedManager().pfSetTextColor(Qt::black);
    }

    void secondClickOpensBoxFirstOnlySelects()
    {
        auto view = makeView();
        QVERIFY(view);
        QVERIFY(view->pfChooseTool(PFToolStatusText));
        PDFAnnotation box = typeBox(*view, QPoint(100, 100), QStringLiteral("Box"));
        QVERIFY(!box.isNull());
        const QRectF bounds = box.bounds();
        const QPoint inside = view->convertRectFromPage(bounds, view->document().page(0)).center().toPoint();

        textClick(*view, inside);
        QCOMPARE(view->dragAnnotation(), box);
        QVERIFY(!view->pfTextEditor()->isOpen());
        QCOMPARE(view->pfCurrentStatus().currentStatus, int(PFToolStatusText));

        // A press that moves before its release is a drag, not the opening click.
        view->pfTextEditor()->pfTextToolPressed(view->document().page(0), pagePoint(*view, inside));
        view->pfTextEditor()->pfTextToolReleased(true);
        QVERIFY(!view->pfTextEditor()->isOpen());

        textClick(*view, inside);
        QVERIFY(view->pfTextEditor()->isOpen());
        QVERIFY(view->pfTextEditor()->isEditFreeText());
        QCOMPARE(view->pfTextEditor()->pfTextScrollView()->toPlainText(), QStringLiteral("Box"));
        QVERIFY(box.bounds().x() < -1000); // hidden while edited
        QCOMPARE(box.bounds().size(), bounds.size());

        // A click outside commits and closes, and a click on empty page then drops the selection
        // instead of opening a box.
        textClick(*view, QPoint(600, 500));
        QVERIFY(!view->pfTextEditor()->isOpen());
        QCOMPARE(box.bounds(), bounds);
    }

    void boxTypedAtDoubleZoomKeepsPageFontSize()
    {
        auto view = makeView(1, 2.0);
        QVERIFY(view);
        view->pfChooseTool(PFToolStatusText);
        view->setCurrentFontSize(12);
        textClick(*view, QPoint(120, 150));
        QTextEdit *edit = view->pfTextEditor()->pfTextScrollView();
        QVERIFY(edit);
        QCOMPARE(view->pfTextEditor()->frame().size(), QSizeF(260, 120));
        QVERIFY(edit->hasFocus() || !QApplication::focusWidget());
        // The editor shows the size at the zoom: 24 view units.
        QCOMPARE(qRound(edit->font().pointSizeF() * edit->logicalDpiY() / 72.0), 24);
        const QRectF frame = view->pfTextEditor()->frame();

        QTest::keyClicks(edit, QStringLiteral("Word"));
        QVERIFY(view->pfHasChangePDF());
        QCOMPARE(view->pfTextEditor()->pfGetFontSize(), 12);
        view->pfTextEditor()->pfResetTextView();

        const QVector<PDFAnnotation> boxes = ofType(view->document().page(0), QStringLiteral("FreeText"));
        QCOMPARE(boxes.size(), 1);
        const PDFAnnotation box = boxes.first();
        QCOMPARE(box.fontSize(), 12.0);
        QCOMPARE(box.userName(), QStringLiteral("12,Helvetica"));
        QCOMPARE(box.contents(), QStringLiteral("Word"));
        QVERIFY(box.hasAppearance());
        // 260 x 120 view units at zoom 2 are 130 x 60 on the page.
        QCOMPARE(box.bounds().size(), QSizeF(130, 60));
        const QRectF expected = view->convertRectToPage(frame.translated(4, -6), view->document().page(0)).normalized();
        QCOMPARE(box.bounds(), expected);
        // The new box is one undo step.
        QVERIFY(view->undoManager()->canUndo());
        view->pfUndoClick();
        QVERIFY(ofType(view->document().page(0), QStringLiteral("FreeText")).isEmpty());
    }

    void openingAndCommittingKeepsBounds()
    {
        for (const double scale : {1.0, 1.5, 2.0}) {
            auto view = makeView(1, scale);
            QVERIFY(view);
            PDFDocument document = view->document();
            PDFAnnotation box = PDFAnnotation::create(document, QStringLiteral("FreeText"),
                                                      QRectF(100.3, 400.7, 150.2, 50.1));
            box.setContents(QStringLiteral("Kept"));
            box.setFont(QStringLiteral("Helvetica"), 14);
            box.setUserName(QStringLiteral("14,Helvetica"));
            QVERIFY(document.page(0).addAnnotation(box));
            const QRectF bounds = box.bounds();

            view->pfTextEditor()->pfAddEditTextFromAnnotation(box);
            QVERIFY(view->pfTextEditor()->isOpen());
            QCOMPARE(view->currentFontSize(), 14);
            view->pfTextEditor()->pfResetTextView();
            QVERIFY(qAbs(box.bounds().x() - bounds.x()) < 1e-3);
            QVERIFY(qAbs(box.bounds().y() - bounds.y()) < 1e-3);
            QVERIFY(qAbs(box.bounds().width() - bounds.width()) < 1e-3);
            QVERIFY(qAbs(box.bounds().height() - bounds.height()) < 1e-3);
            QCOMPARE(box.fontSize(), 14.0);
        }
    }

    void boxOfAnotherProgramAndLeavingWithoutCommit()
    {
        auto view = makeView(1);
        QVERIFY(view);
        PDFDocument document = view->document();
        PDFAnnotation foreign = PDFAnnotation::create(document, QStringLiteral("FreeText"), QRectF(50, 500, 100, 40));
        foreign.setContents(QStringLiteral("Foreign"));
        foreign.setFont(QStringLiteral("NoSuchFontFamily"), 10);
        PDFAnnotation other = PDFAnnotation::create(document, QStringLiteral("FreeText"), QRectF(50, 300, 100, 40));
        other.setContents(QStringLiteral("Other"));
        QVERIFY(document.page(0).addAnnotation(foreign));
        QVERIFY(document.page(0).addAnnotation(other));

        view->pfTextEditor()->pfAddEditTextFromAnnotation(foreign);
        // No label: its own size + 2; an unknown family falls back to Helvetica.
        QCOMPARE(view->currentFontSize(), 12);
        QCOMPARE(view->pfFontName(), QStringLiteral("Helvetica"));
        // Opening another box drops the first editor without committing, but the first box
        // goes back where it was rather than staying hidden.
        view->pfTextEditor()->pfAddEditTextFromAnnotation(other);
        QCOMPARE(foreign.bounds(), QRectF(50, 500, 100, 40));
        QCOMPARE(foreign.userName(), QString());

        // Emptying a box and leaving it deletes it, undoably.
        view->pfTextEditor()->pfTextScrollView()->clear();
        view->pfTextEditor()->pfResetTextView();
        QCOMPARE(document.page(0).annotations().size(), 1);
        view->pfUndoClick();
        QCOMPARE(document.page(0).annotations().size(), 2);
        QCOMPARE(other.bounds(), QRectF(50, 300, 100, 40));
    }

    void editorFollowsThePageWhileScrolling()
    {
        auto view = makeView(3);
        QVERIFY(view);
        view->pfChooseTool(PFToolStatusText);
        textClick(*view, QPoint(100, 200));
        QVERIFY(view->pfTextEditor()->isOpen());
        const QRectF onPage = view->pfTextEditor()->pfRectTextScroll();
        const QRectF before = view->pfTextEditor()->frame();
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->value() + 100);
        QCOMPARE(view->pfTextEditor()->frame(), before.translated(0, -100));
        QCOMPARE(view->pfTextEditor()->pfTextScrollView()->geometry().topLeft(), QPoint(100, 100));
        QCOMPARE(view->pfTextEditor()->pfRectTextScroll(), onPage);

        // A resize step moves the page rectangle along.
        view->pfTextEditor()->pfBeginResize();
        QCOMPARE(view->selectTextCount(), 1);
        view->pfTextEditor()->setFrame(QRectF(100, 100, 300, 80));
        QCOMPARE(view->pfTextEditor()->pfTextScrollOriginRect(), before.translated(0, -100));
        QCOMPARE(view->pfTextEditor()->pfRectTextScroll().size(), QSizeF(300, 80));
    }

    void fontPopoverValuesAndChanges()
    {
        auto view = makeView(1);
        QVERIFY(view);
        PFFreeTextEditor *editor = view->pfTextEditor();
        QCOMPARE(editor->pfGetFontTitle(), QStringLiteral("Helvetica"));
        QCOMPARE(editor->pfGetFontSize(), 20);
        QCOMPARE(editor->pfGetFontAlignment(), PDFTextAlignment::Left);

        view->pfChooseTool(PFToolStatusText);
        view->setCurrentFontSize(12);
        textClick(*view, QPoint(100, 100));
        editor->pfChangeFontTitle({}, 18, PDFTextAlignment::Left, 2);
        QCOMPARE(editor->pfGetFontSize(), 18);
        QCOMPARE(PFManager::sharedManager().pfGetFillFontSize(), 18);
        editor->pfChangeFontTitle({}, 0, PDFTextAlignment::Center, 3);
        QCOMPARE(editor->pfGetFontAlignment(), PDFTextAlignment::Center);
        QTest::keyClicks(editor->pfTextScrollView(), QStringLiteral("Centred"));
        editor->pfResetTextView();

        PDFAnnotation box = ofType(view->document().page(0), QStringLiteral("FreeText")).value(0);
        QVERIFY(!box.isNull());
        QCOMPARE(box.alignment(), PDFTextAlignment::Center);
        QCOMPARE(box.userName(), QStringLiteral("18,Helvetica"));

        // Selected, not open: the changes go to the box and its label.
        view->pfSelectAnnotation(box);
        QCOMPARE(editor->pfGetFontSize(), 18);
        editor->pfChangeFontTitle({}, 9, PDFTextAlignment::Left, 2);
        QCOMPARE(box.fontSize(), 9.0);
        QCOMPARE(box.userName(), QStringLiteral("9,Helvetica"));
        editor->pfChangeFontTitle(QStringLiteral("Courier"), 0, PDFTextAlignment::Left, 1);
        QCOMPARE(box.userName().section(QLatin1Char(','), 0, 0), QStringLiteral("9"));
        QCOMPARE(editor->pfGetFontSize(), 9);
        editor->pfChangeFontTitle({}, 0, PDFTextAlignment::Right, 3);
        QCOMPARE(box.alignment(), PDFTextAlignment::Right);
    }

    void chineseFreeTextShowsInOtherViewers()
    {
        auto view = makeView(1);
        QVERIFY(view);
        view->pfChooseTool(PFToolStatusText);
        view->setCurrentFontSize(24);
        view->setPfColor(Qt::black);
        textClick(*view, QPoint(100, 100));
        QVERIFY(view->pfTextEditor()->isOpen());
        typeComposed(view->pfTextEditor()->pfTextScrollView(), QStringLiteral("你好世界"));
        view->pfTextEditor()->pfResetTextView();
        PDFAnnotation first = ofType(view->document().page(0), QStringLiteral("FreeText")).value(0);
        QVERIFY(!first.isNull());
        QCOMPARE(first.contents(), QStringLiteral("你好世界"));
        const QString saved = m_dir.filePath(QStringLiteral("chinese.pdf"));
        QVERIFY(view->document().write(saved));
        QCOMPARE(TestPdf::run(QStringLiteral("qpdf"), {QStringLiteral("--check"), saved}), 0);

        // Our own engine reads the box back with its label.
        const PDFDocument reopened = PDFDocument::open(saved);
        const PDFAnnotation readBack = ofType(reopened.page(0), QStringLiteral("FreeText")).value(0);
        QCOMPARE(readBack.contents(), QStringLiteral("你好世界"));
        QCOMPARE(readBack.userName(), QStringLiteral("24,Helvetica"));

        const QImage image = popplerRender(saved);
        QVERIFY(!image.isNull());
        const QRectF box = readBack.bounds();
        const QRect area(int(box.left()), int(image.height() - box.bottom()), int(box.width()), int(box.height()));
        QVERIFY(darkPixels(image, area) > 200);
        // Different characters draw differently: real glyphs, not the same missing-glyph box.
        view->pfTextEditor()->pfAddEditTextFromAnnotation(first);
        QTextEdit *edit = view->pfTextEditor()->pfTextScrollView();
        edit->selectAll();
        typeComposed(edit, QStringLiteral("中文测试"));
        view->pfTextEditor()->pfResetTextView();
        const QString second = m_dir.filePath(QStringLiteral("chinese2.pdf"));
        QVERIFY(view->document().write(second));
        const QImage other = popplerRender(second);
        QVERIFY(darkPixels(other, area) > 200);
        QVERIFY(image.copy(area) != other.copy(area));
    }

    void helpNoteIconIsTypeThreeAtOnce()
    {
        auto view = makeView(1);
        QVERIFY(view);
        view->pfChooseTool(PFToolStatusNote);
        const PDFPage page = view->document().page(0);
        const QPointF at = pagePoint(*view, QPoint(200, 200));
        QVERIFY(view->pfNoteTool()->pfNoteToolPressed(page, at, 1));
        const QVector<PDFAnnotation> notes = ofType(page, QStringLiteral("Text"));
        QCOMPARE(notes.size(), 1);
        PDFAnnotation note = notes.first();
        // The engine fits a note's rectangle to its icon, around the same centre.
        QCOMPARE(note.bounds().center(), at + QPointF(10, 10));
        QCOMPARE(note.color(), std::optional<QColor>(QColor(254, 233, 116)));
        QCOMPARE(note.iconName(), QStringLiteral("Comment"));

        PFTextAnnotationController *popover = view->pfNoteTool()->pfTextPopUpCon();
        QVERIFY(popover && popover->isVisible());
        QAction *help = popover->iconMenu()->actions().at(3);
        QCOMPARE(help->text(), pfLocalized("帮助"));
        help->trigger();
        QTRY_COMPARE(note.iconName(), QStringLiteral("Help"));
        QCOMPARE(PFNoteIcons::iconType(note.iconName()), 3);
        QCOMPARE(note.contents(), QString());

        QTest::keyClicks(popover->textArea(), QStringLiteral("Remember"));
        popover->close();
        QTRY_COMPARE(note.contents(), QStringLiteral("Remember"));
        QCOMPARE(note.iconName(), QStringLiteral("Help"));
        QCOMPARE(ofType(page, QStringLiteral("Text")).size(), 1);

        // A double click on the note opens it with its icon chosen.
        QVERIFY(view->pfNoteTool()->pfNoteToolPressed(page, at + QPointF(5, 5), 2));
        QVERIFY(view->pfNoteTool()->isEditText());
        QCOMPARE(view->pfNoteTool()->pfTextPopUpCon()->selectedPosition(), 3);
        QCOMPARE(view->pfNoteTool()->pfTextPopUpCon()->text(), QStringLiteral("Remember"));
        view->pfNoteTool()->pfTextPopUpCon()->close();

        // The note was one undo step.
        QTRY_VERIFY(!view->pfNoteTool()->pfTextPopUpCon());
        view->pfUndoClick();
        QVERIFY(ofType(page, QStringLiteral("Text")).isEmpty());
    }

    void iconTableMapsBothWays()
    {
        const int expected[] = {0, 2, 1, 3, 4, 5, 6};
        for (int position = 0; position < PFNoteIcons::kCount; ++position) {
            QCOMPARE(PFNoteIcons::iconTypeForPosition(position), expected[position]);
            QCOMPARE(PFNoteIcons::pfSelectIndex(expected[position]), position);
            QCOMPARE(PFNoteIcons::iconType(PFNoteIcons::iconName(expected[position])), expected[position]);
        }
        QCOMPARE(PFNoteIcons::pfSelectIndex(42), 0);
        QCOMPARE(PFNoteIcons::iconTypeForPosition(7), -1);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFFreeTextEditor)
#include "tst_PFFreeTextEditor.moc"
