#include "support/TestEnvironment.h"
#include "widgets/PFHudBKView.h"
#include "widgets/PFHudSpinner.h"
#include "widgets/PFHudView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QtTest>

class TestPFHudView : public QObject {
    Q_OBJECT
private slots:
    void messagesStackAndEachLeavesTwoSecondsAfterItsOwnCall();
    void messageIsDrawnAsADarkBoxWithWhiteText();
    void longMessageStaysOnOneLineWiderThanTheHost();
    void progressOverlayCentresItsBoxAndSpinner();
    void hideRemovesOnlyTheTopmostAndAnswersYesWithoutOne();
    void overlayFollowsTheHostSize();
};

void TestPFHudView::messagesStackAndEachLeavesTwoSecondsAfterItsOwnCall()
{
    QWidget host;
    host.resize(400, 300);
    host.show();
    QElapsedTimer clock;
    clock.start();
    QPointer<PFHudView> first = PFHudView::showHUDAddedTo(&host, QStringLiteral("first"));
    first->hide(true, 2.0);
    QTest::qWait(700);
    QPointer<PFHudView> second = PFHudView::showHUDAddedTo(&host, QStringLiteral("second"));
    second->hide(true, 2.0);
    const qint64 secondShown = clock.elapsed();

    // Both are shown, the later one on top.
    QVERIFY(first && second);
    QCOMPARE(host.children().indexOf(second) > host.children().indexOf(first), true);
    QVERIFY(first->isVisible() && second->isVisible());
    QCOMPARE(first->geometry(), host.rect());

    QTRY_VERIFY_WITH_TIMEOUT(!first, 3000);
    const qint64 firstGone = clock.elapsed();
    QVERIFY2(firstGone >= 1950 && firstGone < 2600, qPrintable(QString::number(firstGone)));
    QVERIFY(second); // its own two seconds are not over yet
    QTRY_VERIFY_WITH_TIMEOUT(!second, 3000);
    const qint64 secondGone = clock.elapsed() - secondShown;
    QVERIFY2(secondGone >= 1950 && secondGone < 2600, qPrintable(QString::number(secondGone)));
}

void TestPFHudView::messageIsDrawnAsADarkBoxWithWhiteText()
{
    QWidget host;
    host.resize(400, 300);
    host.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::white);
    host.setPalette(palette);
    PFHudView *hud = PFHudView::showHUDAddedTo(&host, QStringLiteral("Saved"));
    QCOMPARE(hud->textHint(), QStringLiteral("Saved"));
    const QImage image = host.grab().toImage();
    // The box at the centre is black at 80 % over white; the corners stay clear.
    const QColor centreEdge = image.pixelColor(200 - 30, 150 - 12);
    QVERIFY2(centreEdge.red() < 70 && centreEdge.red() > 35, qPrintable(centreEdge.name()));
    QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));
    bool whiteText = false;
    for (int x = 170; x < 230 && !whiteText; ++x)
        for (int y = 140; y < 160 && !whiteText; ++y)
            whiteText = image.pixelColor(x, y).red() > 200;
    QVERIFY(whiteText);
}

void TestPFHudView::longMessageStaysOnOneLineWiderThanTheHost()
{
    QWidget host;
    host.resize(120, 100);
    host.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::white);
    host.setPalette(palette);
    PFHudView::showHUDAddedTo(&host, QStringLiteral("a message far longer than the host is wide"));
    const QImage image = host.grab().toImage();
    // The box spans the whole width; above and below its one line the host shows through.
    QVERIFY(image.pixelColor(1, 36).red() < 100);
    QVERIFY(image.pixelColor(118, 36).red() < 100);
    QCOMPARE(image.pixelColor(60, 5), QColor(Qt::white));
    QCOMPARE(image.pixelColor(60, 95), QColor(Qt::white));
}

void TestPFHudView::progressOverlayCentresItsBoxAndSpinner()
{
    QWidget host;
    host.resize(500, 400);
    host.show();
    PFHudView *hud = PFHudView::showProgressHUDTo(&host);
    QVERIFY(hud->textHint().isEmpty());
    auto *box = hud->findChild<PFHudBKView *>();
    QVERIFY(box);
    QCOMPARE(box->geometry(), QRect(195, 145, 110, 110));
    QVERIFY(hud->indiCaterT());
    QCOMPARE(hud->indiCaterT()->geometry(), QRect(10, 10, 90, 90));
    QVERIFY(hud->indiCaterT()->isAnimating());
}

void TestPFHudView::hideRemovesOnlyTheTopmostAndAnswersYesWithoutOne()
{
    QWidget host;
    host.resize(200, 200);
    auto *other = new QWidget(&host);
    QVERIFY(PFHudView::hideHUDForView(&host, false));
    QCOMPARE(host.children().size(), 1);

    QPointer<PFHudView> lower = PFHudView::showProgressHUDTo(&host);
    QPointer<PFHudView> upper = PFHudView::showProgressHUDTo(&host);
    PFHudSpinner *spinner = upper->indiCaterT();
    QVERIFY(PFHudView::hideHUDForView(&host, false));
    QVERIFY(!spinner->isAnimating());
    QTRY_VERIFY(!upper);
    QVERIFY(lower);
    QVERIFY(PFHudView::hideHUDForView(&host, false));
    QTRY_VERIFY(!lower);
    QVERIFY(other->parent() == &host);
}

void TestPFHudView::overlayFollowsTheHostSize()
{
    QWidget host;
    host.resize(300, 200);
    host.show();
    PFHudView *hud = PFHudView::showProgressHUDTo(&host);
    host.resize(600, 500);
    QCOMPARE(hud->geometry(), QRect(0, 0, 600, 500));
    QCOMPARE(hud->findChild<PFHudBKView *>()->pos(), QPoint(245, 195));
}

QUIRNA_TEST_MAIN(QApplication, TestPFHudView)
#include "tst_PFHudView.moc"
