#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFDisplayList.h"
#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFDocumentHold.h"
#include "platform/view/PDFDisplayListCache.h"
#include "platform/view/PDFThumbnailView.h"
#include "platform/view/PDFTileRenderer.h"
#include "platform/view/PDFURLOpener.h"
#include "platform/view/PDFView.h"
#include "platform/view/PDFViewLayout.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>
#include <unistd.h>

class TestPDFView : public QObject {
    Q_OBJECT

    std::unique_ptr<PDFView> makeView(const QByteArray &pdf, QSize size = {600, 500})
    {
        auto view = std::make_unique<PDFView>();
        view->resize(size);
        view->setDocument(PDFDocument::openData(pdf));
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            return nullptr;
        return view;
    }

    // Forty upright pages but page 31 (index 30), which lies on its side.
    static QByteArray fortyPagesThirtyFirstLandscape()
    {
        QList<TestPdf::Page> pages;
        for (int i = 0; i < 40; ++i)
            pages << TestPdf::Page{{QStringLiteral("Page %1").arg(i + 1)}, i == 30 ? QRectF(0, 0, 792, 612) : QRectF(0, 0, 612, 792)};
        return TestPdf::build(pages);
    }

    static bool renderIdle(PDFView &view)
    {
        view.viewport()->repaint();
        return view.tileRenderer()->pendingTiles() == 0;
    }

    static void wheel(QWidget *target, QPoint at, int delta, Qt::KeyboardModifiers modifiers)
    {
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }

    // A page with one Link annotation per action, stacked down the page.
    static PDFDocument linkDocument(const QVector<PDFAction> &actions, QVector<QRectF> *boxes)
    {
        PDFDocument document = PDFDocument::openData(TestPdf::simple(3));
        PDFPage page = document.page(0);
        for (int i = 0; i < actions.size(); ++i) {
            const QRectF box(100, 600 - i * 60, 200, 40);
            PDFAnnotation link = PDFAnnotation::create(document, QStringLiteral("Link"), box);
            link.setAction(actions[i]);
            page.addAnnotation(link);
            boxes->append(box);
        }
        return document;
    }

private slots:
    void zoomIsClampedAndSteps()
    {
        auto view = makeView(TestPdf::simple(2));
        QVERIFY(view);
        QSignalSpy scaled(view.get(), &PDFView::scaleChanged);
        view->setScaleFactor(1000);
        QCOMPARE(view->scaleFactor(), 64.0);
        QVERIFY(!view->canZoomIn());
        view->zoomIn();
        QCOMPARE(view->scaleFactor(), 64.0);
        view->setScaleFactor(0.001);
        QCOMPARE(view->scaleFactor(), 0.1);
        QVERIFY(!view->canZoomOut());

        view->setScaleFactor(1);
        view->zoomIn();
        QCOMPARE(view->scaleFactor(), 1.25);
        view->zoomOut();
        view->zoomOut();
        QCOMPARE(view->scaleFactor(), 0.75);
        // Between two steps, zoom moves to the neighbouring step, not by a fixed factor.
        view->setScaleFactor(1.1);
        view->zoomOut();
        QCOMPARE(view->scaleFactor(), 1.0);

        QTest::keyClick(view.get(), Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(view->scaleFactor(), 1.25);
        QTest::keyClick(view.get(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(view->scaleFactor(), 1.0);
        wheel(view->viewport(), QPoint(100, 100), 120, Qt::ControlModifier);
        QCOMPARE(view->scaleFactor(), 1.25);
        wheel(view->viewport(), QPoint(100, 100), -120, Qt::ControlModifier);
        QCOMPARE(view->scaleFactor(), 1.0);
        QVERIFY(scaled.count() >= 8);

        // Fit width: the page fills the width left by the margins and the scroll bar.
        view->setAutoScales(true);
        QVERIFY(qAbs(view->scaleFactor() - view->scaleFactorForSizeToFit()) < 1e-9);
        const QRectF page = view->convertRectFromPage(view->document().page(0).bounds(), view->document().page(0));
        QVERIFY(page.width() <= view->viewport()->width());
        QVERIFY(page.width() > view->viewport()->width() - 4 * PDFViewLayout::kMargin - 20);
    }

    // Fitted, a page-at-a-time mode shows its whole row and no mode needs a horizontal scroll.
    void fitShowsWholePagesWithoutSideways()
    {
        auto view = makeView(TestPdf::simple(4), {701, 500});
        QVERIFY(view);
        view->setAutoScales(true);
        for (PDFDisplayMode mode : {PDFDisplayMode::SinglePage, PDFDisplayMode::TwoUp,
                                    PDFDisplayMode::SinglePageContinuous, PDFDisplayMode::TwoUpContinuous}) {
            view->setDisplayMode(mode);
            QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
            if (!isContinuous(mode)) {
                const PDFPage page = view->currentPage();
                const QRectF shown = view->convertRectFromPage(page.bounds(), page);
                QVERIFY(shown.top() >= 0 && shown.bottom() <= view->viewport()->height());
                QCOMPARE(view->verticalScrollBar()->maximum(), 0);
            }
        }
    }

    void navigationAndHistory()
    {
        auto view = makeView(TestPdf::simple(6));
        QVERIFY(view);
        const PDFDocument document = view->document();
        QSignalSpy changed(view.get(), &PDFView::pageChanged);
        QCOMPARE(view->currentPage(), document.page(0));
        QCOMPARE(view->verticalScrollBar()->value(), 0);
        view->goToPage(document.page(4));
        QCOMPARE(view->currentPage(), document.page(4));
        QVERIFY(changed.count() >= 1);
        QVERIFY(view->pageForPoint(QPointF(view->viewport()->width() / 2.0, 40), false) == document.page(4));
        view->goToPage(document.page(2));
        QVERIFY(view->canGoBack());
        QVERIFY(!view->canGoForward());
        view->goBack();
        QCOMPARE(view->currentPage(), document.page(4));
        view->goBack();
        QCOMPARE(view->currentPage(), document.page(0));
        QVERIFY(!view->canGoBack());
        view->goForward();
        QCOMPARE(view->currentPage(), document.page(4));
        view->goForward();
        QCOMPARE(view->currentPage(), document.page(2));
        QVERIFY(!view->canGoForward());

        QTest::keyClick(view.get(), Qt::Key_End);
        QCOMPARE(view->currentPage(), document.page(5));
        QTest::keyClick(view.get(), Qt::Key_Home);
        QCOMPARE(view->currentPage(), document.page(0));
        // Scrolling by hand moves the current page along.
        for (int i = 0; i < 30; ++i)
            QTest::keyClick(view.get(), Qt::Key_PageDown);
        QVERIFY(view->currentPage().index() > 0);

        // Single page: only one page is laid out; moving past its end turns the page.
        view->setDisplayMode(PDFDisplayMode::SinglePage);
        view->goToPage(document.page(2));
        QVERIFY(view->pageForPoint(QPointF(5, 5), true) == document.page(2));
        QTest::keyClick(view.get(), Qt::Key_End);
        QTest::keyClick(view.get(), Qt::Key_Home);
        QCOMPARE(view->currentPage(), document.page(0));
        for (int i = 0; i < 40 && view->currentPage().index() == 0; ++i)
            QTest::keyClick(view.get(), Qt::Key_Down);
        QCOMPARE(view->currentPage(), document.page(1));

        // Two-up: pages side by side, page turns move by two.
        view->setDisplayMode(PDFDisplayMode::TwoUpContinuous);
        view->setScaleFactor(0.3);
        view->goToPage(document.page(2));
        const QRectF left = view->convertRectFromPage(document.page(2).bounds(), document.page(2));
        const QRectF right = view->convertRectFromPage(document.page(3).bounds(), document.page(3));
        QCOMPARE(left.top(), right.top());
        QVERIFY(left.right() < right.left());
        view->goToNextPage();
        QCOMPARE(view->currentPage(), document.page(4));
    }

    void pageGeometryOnRotatedPage()
    {
        TestPdf::Page rotated;
        rotated.lines = {QStringLiteral("Sideways")};
        rotated.rotate = 90;
        rotated.mediaBox = QRectF(0, 0, 400, 300);
        auto view = makeView(TestPdf::build({rotated, rotated}));
        QVERIFY(view);
        view->setScaleFactor(1.5);
        const PDFPage page = view->document().page(0);
        const QRectF shown = view->convertRectFromPage(page.bounds(), page);
        // Rotated a quarter turn: 300 wide and 400 high on screen, at 1.5 times.
        QVERIFY(qAbs(shown.width() - 450) < 1 && qAbs(shown.height() - 600) < 1);
        // The page's top-left corner turns to the top right.
        const QPointF corner = view->convertPointFromPage(QPointF(0, 300), page);
        QVERIFY(qAbs(corner.x() - shown.right()) < 1 && qAbs(corner.y() - shown.top()) < 1);

        for (const QPointF viewPoint : {QPointF(shown.left() + 30, shown.top() + 50), shown.center()}) {
            QCOMPARE(view->pageForPoint(viewPoint, false), page);
            const QPointF onPage = view->convertPointToPage(viewPoint, page);
            QVERIFY(page.bounds().contains(onPage));
            const QPointF back = view->convertPointFromPage(onPage, page);
            QVERIFY(qAbs(back.x() - viewPoint.x()) < 1e-6 && qAbs(back.y() - viewPoint.y()) < 1e-6);
        }
        // In the margin beside the page there is no page, but there is a nearest one.
        const QPointF beside(shown.left() - 3, shown.center().y());
        QVERIFY(view->pageForPoint(beside, false).isNull());
        QCOMPARE(view->pageForPoint(beside, true), page);

        // Turned back upright, the page the view has already drawn maps anew.
        PDFPage turned = page;
        turned.setRotation(0);
        view->pagesResized({0});
        const QRectF upright = view->convertRectFromPage(page.bounds(), page);
        QVERIFY(qAbs(upright.width() - 600) < 1 && qAbs(upright.height() - 450) < 1);
        const QPointF topLeft = view->convertPointFromPage(QPointF(0, 300), page);
        QVERIFY(qAbs(topLeft.x() - upright.left()) < 1 && qAbs(topLeft.y() - upright.top()) < 1);
    }

    // Workers build pages while holding the document. Drawing, zooming and scrolling the view,
    // and the page check that follows a deferred opening, never wait for one.
    void viewNeverWaitsForAWorkerHoldingTheDocument()
    {
        auto view = std::make_unique<PDFView>();
        view->resize(600, 500);
        const PDFDocument document = PDFDocument::openData(fortyPagesThirtyFirstLandscape(), PDFPageCheck::Deferred);
        view->setDocument(document);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));

        // Another thread takes the document and keeps it until told, or for ten seconds at most:
        // a view that waited for it would only go on once it had let go.
        std::mutex mutex;
        std::condition_variable changed;
        bool held = false, release = false, timedOut = false;
        std::thread worker([&] {
            std::unique_lock lock(mutex);
            for (;;) {
                const PDFDocumentHold hold = PDFDocumentHold::tryHold(document);
                if (!hold.isHeld()) {
                    lock.unlock();
                    std::this_thread::yield();
                    lock.lock();
                    continue;
                }
                held = true;
                changed.notify_all();
                timedOut = !changed.wait_for(lock, std::chrono::seconds(10), [&] { return release; });
                return;
            }
        });
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return held; });
        }
        QVERIFY(!PDFDocumentHold::tryHold(document).isHeld());
        view->viewport()->repaint();
        view->zoomIn();
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->value() + 200);
        view->viewport()->repaint();
        QTest::qWait(300); // the page check's slices come due meanwhile
        const QSizeF estimated = view->pageSizes().value(30);
        {
            std::lock_guard lock(mutex);
            release = true;
        }
        changed.notify_all();
        worker.join();
        QVERIFY(!timedOut);
        QCOMPARE(estimated, QSizeF(612, 792)); // nothing could be read while the document was held
        // Let go of, the document is checked and the page gets its own size.
        QTRY_COMPARE(view->pageSizes().value(30), QSizeF(792, 612));
    }

    void dragSelectsTextAndCopyPutsItOnTheClipboard()
    {
        TestPdf::Page page;
        page.lines = {QStringLiteral("Hello selection world"), QStringLiteral("Second line here")};
        auto view = makeView(TestPdf::build({page}));
        QVERIFY(view);
        const PDFPage first = view->document().page(0);
        QSignalSpy selected(view.get(), &PDFView::selectionChanged);
        const QPoint from = view->convertPointFromPage(QPointF(66, 704), first).toPoint();
        const QPoint to = view->convertPointFromPage(QPointF(400, 704), first).toPoint();
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(view->viewport(), (from + to) / 2);
        QTest::mouseMove(view->viewport(), to);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
        QVERIFY(selected.count() > 0);
        QCOMPARE(view->currentSelection().string().trimmed(), QStringLiteral("Hello selection world"));

        QApplication::clipboard()->clear();
        QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text().trimmed(), QStringLiteral("Hello selection world"));

        // The selected line is painted in the selection colour; the line below is not.
        QTRY_VERIFY(renderIdle(*view));
        const QImage shot = view->viewport()->grab().toImage();
        const QRectF line = view->convertRectFromPage(view->currentSelection().boundsForPage(first), first);
        const QRectF below = line.translated(0, 2 * line.height() + 10);
        auto tinted = [&](const QRectF &area) {
            int count = 0;
            for (int y = int(area.top()) + 1; y < int(area.bottom()); ++y)
                for (int x = int(area.left()) + 1; x < int(area.right()); ++x)
                    count += shot.pixelColor(x, y) == view->selectionColor();
            return count;
        };
        QVERIFY(tinted(line) > line.width() * line.height() / 4);
        QCOMPARE(tinted(below), 0);

        // A click without a drag clears the selection.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, to + QPoint(0, 100));
        QVERIFY(view->currentSelection().isEmpty());
    }

    void linksFollowOnlySafeAddresses()
    {
        QVector<QUrl> opened;
        PDFURLOpener::setOpener([&](const QUrl &url) {
            opened.append(url);
            return true;
        });
        QVector<QRectF> boxes;
        PDFDocument document = linkDocument({PDFActionURL{QStringLiteral("file:///etc/passwd")},
                                             PDFActionURL{QStringLiteral("javascript:app.alert(1)")},
                                             PDFActionURL{QStringLiteral("/usr/bin/xterm")},
                                             PDFActionURL{QStringLiteral("https://example.org/docs")}},
                                            &boxes);
        auto view = std::make_unique<PDFView>();
        view->resize(700, 900);
        view->setDocument(document);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        const PDFPage page = document.page(0);
        QSignalSpy refused(view.get(), &PDFView::linkRefused);
        auto click = [&](int i) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                              view->convertPointFromPage(boxes[i].center(), page).toPoint());
        };
        for (int i = 0; i < 3; ++i)
            click(i);
        QCOMPARE(refused.count(), 3);
        QCOMPARE(refused.at(0).at(0).toString(), QStringLiteral("file:///etc/passwd"));
        QVERIFY(!refused.at(0).at(1).toString().isEmpty());
        QVERIFY(opened.isEmpty());
        click(3);
        QCOMPARE(opened, QVector<QUrl>{QUrl(QStringLiteral("https://example.org/docs"))});
        QCOMPARE(refused.count(), 3);

        QVERIFY(PDFURLOpener::isAllowed(QUrl(QStringLiteral("mailto:someone@example.org"))));
        QVERIFY(!PDFURLOpener::isAllowed(QUrl(QStringLiteral("http:/no-host"))));
        QVERIFY(!PDFURLOpener::open(QStringLiteral("smb://server/share")));
        QCOMPARE(opened.size(), 1);
        PDFURLOpener::setOpener([](const QUrl &) { return false; });
    }

    void goToLinkScrollsToItsPage()
    {
        QVector<QRectF> boxes;
        PDFDocument document = linkDocument({}, &boxes);
        PDFAnnotation link = PDFAnnotation::create(document, QStringLiteral("Link"), QRectF(100, 600, 200, 40));
        link.setAction(PDFActionGoTo{PDFDestination(document.page(2), QPointF(0, 792))});
        document.page(0).addAnnotation(link);
        auto view = std::make_unique<PDFView>();
        view->resize(700, 900);
        view->setDocument(document);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->convertPointFromPage(QPointF(200, 620), document.page(0)).toPoint());
        QCOMPARE(view->currentPage(), document.page(2));
        view->goBack();
        QCOMPARE(view->currentPage(), document.page(0));
    }

    void invalidatedPageIsRenderedAgain()
    {
        auto view = makeView(TestPdf::simple(1), {500, 500});
        QVERIFY(view);
        view->setScaleFactor(0.5);
        PDFPage page = view->document().page(0);
        QTRY_VERIFY(renderIdle(*view));
        const QRectF box(300, 100, 200, 200);
        const QPoint probe = view->convertPointFromPage(box.center(), page).toPoint();
        QCOMPARE(view->viewport()->grab().toImage().pixelColor(probe), QColor(Qt::white));

        PDFAnnotation square = PDFAnnotation::create(view->document(), QStringLiteral("Square"), box);
        square.setColor(Qt::red);
        square.setInteriorColor(Qt::red);
        QVERIFY(page.addAnnotation(square));
        const int before = view->tileRenderer()->renderedTiles();
        view->invalidatePage(page);
        // Until the fresh tile arrives the stale one stands in: never a blank page.
        QCOMPARE(view->viewport()->grab().toImage().pixelColor(probe), QColor(Qt::white));
        QTRY_VERIFY(renderIdle(*view) && view->tileRenderer()->renderedTiles() > before);
        QTRY_COMPARE(view->viewport()->grab().toImage().pixelColor(probe), QColor(Qt::red));
    }

    // The nice value of each of this process's threads, by thread id.
    static QMap<QString, int> threadNiceness()
    {
        QMap<QString, int> niceness;
        for (const QString &tid : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(tid));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray line = stat.readAll();
            // After the name in parentheses come the state (field 3) and on to nice (field 19).
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            niceness.insert(tid, fields.value(16).toInt());
        }
        return niceness;
    }

    void tilesRenderBelowTheGuiThreadAndThumbnailsBelowTheView()
    {
        auto view = makeView(TestPdf::simple(2));
        QVERIFY(view);
        QTRY_VERIFY(view->tileRenderer()->renderedTiles() > 0 && renderIdle(*view));
        const QMap<QString, int> withView = threadNiceness();
        const int gui = withView.value(QString::number(getpid()));
        // Only the workers were lowered, not the whole process.
        int viewWorkers = 0;
        for (int nice : withView)
            viewWorkers = std::max(viewWorkers, nice);
        QVERIFY(viewWorkers > gui);

        PDFThumbnailView thumbnails;
        thumbnails.resize(200, 400);
        thumbnails.setPDFView(view.get());
        thumbnails.show();
        QTRY_VERIFY(thumbnails.tileRenderer()->renderedTiles() > 0 && thumbnails.tileRenderer()->pendingTiles() == 0);
        int thumbnailWorkers = 0;
        const QMap<QString, int> withBoth = threadNiceness();
        for (auto it = withBoth.cbegin(); it != withBoth.cend(); ++it)
            if (!withView.contains(it.key()) && it.value() > gui)
                thumbnailWorkers = std::max(thumbnailWorkers, it.value());
        QVERIFY2(thumbnailWorkers > viewWorkers, qPrintable(QStringLiteral("%1 %2").arg(thumbnailWorkers).arg(viewWorkers)));
    }

    void deepZoomRendersOnlyVisibleTiles()
    {
        auto view = makeView(TestPdf::simple(2), {400, 300});
        QVERIFY(view);
        QTRY_VERIFY(renderIdle(*view));
        const int before = view->tileRenderer()->renderedTiles();
        view->setScaleFactor(1000);
        QTRY_VERIFY(renderIdle(*view));
        const int rendered = view->tileRenderer()->renderedTiles() - before;
        const QSize area = view->viewport()->size();
        const int visibleTiles = (area.width() / PDFTileRenderer::kTileSize + 2) *
                                 (area.height() / PDFTileRenderer::kTileSize + 2);
        QVERIFY(rendered > 0);
        QVERIFY2(rendered <= visibleTiles, qPrintable(QString::number(rendered)));
    }

    void tileCacheStaysWithinItsBytes()
    {
        PDFTileCache cache(3 * 256 * 256 * 4);
        QImage tile(256, 256, QImage::Format_RGB32);
        for (int i = 0; i < 5; ++i)
            cache.insert(PDFTileKey{0, 0, 1.0, i, 0}, tile);
        QCOMPARE(cache.count(), 3);
        QVERIFY(cache.bytes() <= cache.capacity());
        QVERIFY(cache.find(PDFTileKey{0, 0, 1.0, 0, 0}).isNull()); // least recently used went first
        QVERIFY(!cache.find(PDFTileKey{0, 0, 1.0, 2, 0}).isNull());
        cache.insert(PDFTileKey{0, 0, 1.0, 5, 0}, tile);
        QVERIFY(!cache.find(PDFTileKey{0, 0, 1.0, 2, 0}).isNull()); // touched, so kept
        QVERIFY(cache.find(PDFTileKey{0, 0, 1.0, 3, 0}).isNull());
    }

    void tileCacheIsSizedByTheScreen()
    {
        auto view = makeView(TestPdf::simple(2), {400, 300});
        QVERIFY(view);
        PDFTileCache &cache = view->tileRenderer()->cache();
        QCOMPARE(cache.capacity(), PDFTileRenderer::kDefaultCacheBytes); // a small window: the floor
        view->resize(3000, 2000);
        const QSize pixels = view->viewport()->size() * view->viewport()->devicePixelRatioF();
        QCOMPARE(cache.capacity(), qint64(pixels.width()) * pixels.height() * 4 * PDFTileRenderer::kCachedScreens);
    }

    void tileCacheDropsTheFarthestPagesFirst()
    {
        const qint64 tileBytes = 256 * 256 * 4;
        PDFTileCache cache(4 * tileBytes);
        QImage tile(256, 256, QImage::Format_RGB32);
        cache.setShownPages(10, 11);
        for (int page : {10, 30, 11, 2})
            cache.insert(PDFTileKey{page, 0, 1.0, 0, 0}, tile);
        QVERIFY(!cache.find(PDFTileKey{30, 0, 1.0, 0, 0}).isNull()); // most recently used, yet far
        cache.insert(PDFTileKey{12, 0, 1.0, 0, 0}, tile);
        QCOMPARE(cache.count(), 4);
        QVERIFY(cache.find(PDFTileKey{30, 0, 1.0, 0, 0}).isNull()); // farthest from 10-11
        cache.insert(PDFTileKey{9, 0, 1.0, 0, 0}, tile);
        QVERIFY(cache.find(PDFTileKey{2, 0, 1.0, 0, 0}).isNull());
        for (int page : {9, 10, 11, 12})
            QVERIFY(!cache.find(PDFTileKey{page, 0, 1.0, 0, 0}).isNull());
        // Shrinking the capacity evicts at once, the far side first.
        cache.setShownPages(12, 12);
        cache.setCapacity(2 * tileBytes);
        QCOMPARE(cache.count(), 2);
        QVERIFY(!cache.find(PDFTileKey{11, 0, 1.0, 0, 0}).isNull());
        QVERIFY(!cache.find(PDFTileKey{12, 0, 1.0, 0, 0}).isNull());
    }

    void scrollingKeepsTilesWithinTheCacheNearTheScreen()
    {
        auto view = makeView(TestPdf::simple(40), {400, 300});
        QVERIFY(view);
        PDFTileCache &cache = view->tileRenderer()->cache();
        QTRY_VERIFY(renderIdle(*view));
        // About two screens of tiles.
        cache.setCapacity(qint64(view->viewport()->width()) * view->viewport()->height() * 4 * 2 +
                          4 * PDFTileRenderer::kTileSize * PDFTileRenderer::kTileSize * 4);
        QScrollBar *bar = view->verticalScrollBar();
        int evictedFrom = -1;
        while (bar->value() < bar->maximum()) {
            wheel(view->viewport(), QPoint(200, 150), -120 * 4, Qt::NoModifier);
            QTRY_VERIFY(renderIdle(*view));
            QVERIFY(cache.bytes() <= cache.capacity());
            if (evictedFrom < 0 && cache.tilesOfPage(0).isEmpty())
                evictedFrom = view->currentPage().index();
        }
        QVERIFY2(evictedFrom > 0, "the first page's tiles were never evicted");
        const int last = view->currentPage().index();
        QCOMPARE(last, 39);
        QVERIFY(!cache.tilesOfPage(last).isEmpty());
        for (int page = 0; page < last - 6; ++page)
            QVERIFY2(cache.tilesOfPage(page).isEmpty(), qPrintable(QString::number(page)));
    }

    void displayListCacheStaysWithinItsBytesFarthestFirst()
    {
        const PDFDocument document = PDFDocument::openData(TestPdf::simple(12));
        QVERIFY(!document.isNull());
        QVector<std::shared_ptr<PDFDisplayList>> lists;
        qint64 smallest = std::numeric_limits<qint64>::max();
        for (int page = 0; page < 12; ++page) {
            lists.append(document.page(page).displayList());
            QVERIFY(lists.last() && lists.last()->bytes() >= PDFDisplayList::kMinimumBytes);
            smallest = std::min(smallest, lists.last()->bytes());
        }
        // Room for pages 4 to 7 and not one more.
        const qint64 capacity = lists[4]->bytes() + lists[5]->bytes() + lists[6]->bytes() + lists[7]->bytes() + smallest - 1;
        PDFDisplayListCache cache(capacity);
        cache.setShownPages(5, 6);
        for (int page : {0, 5, 11, 6, 7, 4})
            cache.insert(page, 0, lists[page]);
        QVERIFY(cache.bytes() <= capacity);
        QCOMPARE(cache.count(), 4);
        QVERIFY(!cache.contains(11) && !cache.contains(0)); // the two farthest went
        for (int page : {4, 5, 6, 7})
            QVERIFY(cache.contains(page));
        // A page's new look replaces its old recording; an older one never replaces a newer.
        const auto fresh = cache.get(document.page(5), 5, 1);
        QVERIFY(fresh && fresh != lists[5]);
        QCOMPARE(cache.get(document.page(5), 5, 1), fresh);
        cache.insert(5, 0, lists[5]);
        QCOMPARE(cache.get(document.page(5), 5, 1), fresh);
        cache.remove(5);
        QVERIFY(!cache.contains(5));
        QVERIFY(cache.bytes() <= capacity);
    }

    void thumbnailsFollowAndSetTheCurrentPage()
    {
        auto view = makeView(TestPdf::simple(8));
        QVERIFY(view);
        PDFThumbnailView thumbnails;
        thumbnails.resize(200, 400);
        thumbnails.setPDFView(view.get());
        thumbnails.show();
        QVERIFY(QTest::qWaitForWindowExposed(&thumbnails));
        QTRY_VERIFY(thumbnails.tileRenderer()->renderedTiles() > 0);

        view->goToPage(view->document().page(6));
        const QRect seventh = thumbnails.thumbnailRect(6);
        QVERIFY(thumbnails.viewport()->rect().contains(seventh));
        QTest::mouseClick(thumbnails.viewport(), Qt::LeftButton, {}, thumbnails.thumbnailRect(5).center());
        QCOMPARE(view->currentPage(), view->document().page(5));
        view->goBack();
        QCOMPARE(view->currentPage(), view->document().page(6));
    }

    // A document whose pages are checked after opening is laid out at the first page's size at
    // first; the view and its thumbnails take each page's own size, or the real page list of a
    // tree that proves damaged, as the check reads them between events.
    void pagesCheckedAfterOpeningGetTheirOwnSizes()
    {
        auto view = std::make_unique<PDFView>();
        view->resize(600, 500);
        QSignalSpy resized(view.get(), &PDFView::pageSizesChanged);
        view->setDocument(PDFDocument::openData(fortyPagesThirtyFirstLandscape(), PDFPageCheck::Deferred));
        PDFThumbnailView thumbnails;
        thumbnails.resize(200, 400);
        thumbnails.setPDFView(view.get());
        view->show();
        thumbnails.show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QTRY_COMPARE(view->pageSizes().value(30), QSizeF(792, 612));
        QCOMPARE(view->pageSizes().value(31), QSizeF(612, 792));
        QVERIFY(resized.size() >= 1);
        QVERIFY(thumbnails.thumbnailRect(30).width() > thumbnails.thumbnailRect(30).height());
        QVERIFY(thumbnails.thumbnailRect(29).width() < thumbnails.thumbnailRect(29).height());
        view->goToPage(view->document().page(30));
        QCOMPARE(view->currentPage().index(), 30);

        const QByteArray damaged = TestPdf::fromObjects({
            "<< /Type /Catalog /Pages 2 0 R >>",
            "<< /Type /Pages /Kids [3 0 R 4 0 R 5 0 R] /Count 3 >>",
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] >>",
            "(not a page)",
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 300] >>",
        });
        QSignalSpy relaid(view.get(), &PDFView::documentChanged);
        view->setDocument(PDFDocument::openData(damaged, PDFPageCheck::Deferred));
        QTRY_COMPARE(view->pageSizes().size(), 2);
        QCOMPARE(view->pageSizes().value(1), QSizeF(200, 300));
        QCOMPARE(view->document().pageCount(), 2);
        QVERIFY(relaid.size() >= 2);
        QCOMPARE(thumbnails.thumbnailRect(2), QRect());
    }

    // Each page's rect in document coordinates, and that it is the page the view shows there.
    static QVector<QRect> documentRects(PDFView &view)
    {
        QVector<QRect> rects;
        const QPoint scroll(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
        for (int i = 0; i < view.document().pageCount(); ++i) {
            const PDFPage page = view.document().page(i);
            const QRectF shown = view.convertRectFromPage(page.bounds(), page);
            if (!(view.pageForPoint(shown.center(), false) == page))
                return {};
            rects.append(shown.toAlignedRect().translated(scroll));
        }
        return rects;
    }

    void layoutFindsPagesByPositionAcrossUnevenRows()
    {
        // One wide page above many small ones: the page nearest a point far to the right lies
        // several rows up, and every laid-out page an area meets is found.
        QVector<QSizeF> sizes{QSizeF(1000, 10)};
        for (int i = 0; i < 40; ++i)
            sizes.append(QSizeF(10 + i % 7, 10 + i % 5));
        for (const PDFDisplayMode mode : {PDFDisplayMode::SinglePageContinuous, PDFDisplayMode::TwoUpContinuous}) {
            PDFViewLayout layout;
            layout.setPageSizes(sizes);
            layout.update(mode, 1.0, 1100, 0);
            const QRect wide = layout.pageRect(0);
            QCOMPARE(layout.nearestPage(QPoint(wide.right() - 5, layout.pageRect(4).bottom() + 3)), 0);
            for (int i = 1; i < sizes.size(); i += 3)
                QCOMPARE(layout.nearestPage(layout.pageRect(i).center()), i);

            const QRect area(0, layout.pageRect(9).top() - 2, 1100, 60);
            QVector<int> expected;
            for (int i = 0; i < sizes.size(); ++i)
                if (layout.pageRect(i).intersects(area))
                    expected.append(i);
            QVERIFY(!expected.isEmpty());
            QCOMPARE(layout.pagesIn(area), expected);
        }
    }

    void selectedTextFollowsItsPageWhenPagesMove()
    {
        auto view = makeView(TestPdf::simple(3));
        QVERIFY(view);
        PDFDocument document = view->document();
        view->setScaleFactor(0.5);
        const PDFPage first = document.page(0);
        view->setCurrentSelection(PDFSelection::fromPoints(first, QPointF(60, 710), first, QPointF(400, 690)));
        QVERIFY(!view->currentSelection().isEmpty());
        bool rendered = true;
        const auto tinted = [&](const PDFPage &page) {
            rendered &= QTest::qWaitFor([&] { return renderIdle(*view); }, 10000);
            const QImage shot = view->viewport()->grab().toImage();
            const QRectF line = view->convertRectFromPage(view->currentSelection().boundsForPage(first), page);
            int count = 0;
            for (int y = int(line.top()) + 1; y < int(line.bottom()); ++y)
                for (int x = int(line.left()) + 1; x < int(line.right()); ++x)
                    count += shot.pixelColor(x, y) == view->selectionColor();
            return count;
        };
        const auto shows = [&](const PDFPage &page) { return tinted(page) > 0; };

        // The selected page moves to the end: the highlight goes with it and leaves the page
        // that now comes first.
        QVERIFY(document.movePage(0, 2));
        view->pagesMoved({{0, 2}});
        view->goToPage(document.page(0));
        QVERIFY(!shows(document.page(0)));
        view->goToPage(first);
        QVERIFY(shows(first));
        QCOMPARE(view->currentSelection().pages(), QVector<PDFPage>({first}));
        QVERIFY(rendered);

        // The page goes: so does its selection, and there is nothing left to copy.
        document.removePages({2});
        view->pagesRemoved({2});
        QVERIFY(view->currentSelection().isEmpty());
    }

    void pageChangesToldToTheViewLayOutAsAFreshView()
    {
        QVector<TestPdf::Page> pages(7);
        for (int i = 0; i < pages.size(); ++i)
            pages[i].mediaBox = QRectF(0, 0, 300 + 40 * i, 400 + 30 * (i % 3));
        for (const PDFDisplayMode mode : {PDFDisplayMode::SinglePageContinuous, PDFDisplayMode::TwoUpContinuous}) {
            auto view = makeView(TestPdf::build(pages));
            QVERIFY(view);
            view->setDisplayMode(mode);
            view->setScaleFactor(0.5);
            PDFDocument document = view->document();
            const PDFPage shown = document.page(5);
            view->goToPage(shown);

            const auto sameAsFresh = [&] {
                PDFView fresh;
                fresh.resize(view->size());
                fresh.setDisplayMode(mode);
                fresh.setScaleFactor(0.5);
                fresh.setDocument(document);
                fresh.show();
                const QVector<QRect> told = documentRects(*view);
                return !told.isEmpty() && told == documentRects(fresh) && view->pageSizes() == fresh.pageSizes();
            };
            document.removePages({1, 4});
            view->pagesRemoved({1, 4});
            QVERIFY(sameAsFresh());
            QCOMPARE(view->currentPage(), shown);

            document.insertNewPage(QRectF(0, 0, 500, 200), 2);
            document.insertNewPage(QRectF(0, 0, 200, 500), 4);
            view->pagesInserted({2, 4});
            QVERIFY(sameAsFresh());
            QCOMPARE(view->currentPage(), shown);

            QVERIFY(document.movePage(0, 3) && document.movePage(5, 1));
            view->pagesMoved({{0, 3}, {5, 1}});
            QVERIFY(sameAsFresh());
            QCOMPARE(view->currentPage(), shown);

            PDFPage turned = document.page(2);
            turned.setRotation(90);
            view->pagesResized({2});
            QVERIFY(sameAsFresh());

            // Told something that does not match the document, the view measures it all again.
            document.removePage(0);
            view->pagesInserted({0});
            QVERIFY(sameAsFresh());
        }
    }

    void droppedFilesAreReported()
    {
        auto view = makeView(TestPdf::simple(1));
        QVERIFY(view);
        view->setAcceptsDrops(true);
        QSignalSpy dropped(view.get(), &PDFView::filesDropped);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.pdf")), QUrl(QStringLiteral("https://x.org/b.pdf"))});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(view->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QApplication::sendEvent(view->viewport(), &drop);
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.at(0).at(0).toStringList(), QStringList{QStringLiteral("/tmp/a.pdf")});
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPDFView)
#include "tst_PDFView.moc"
