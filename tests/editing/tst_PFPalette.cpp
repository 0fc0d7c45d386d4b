#include "settings/PFManager.h"
#include "editing/palette/PFColorButton.h"
#include "editing/palette/PFColorViewController.h"
#include "editing/palette/PFDrawButton.h"
#include "editing/palette/PFDrawMenuView.h"
#include "editing/palette/PFFontViewController.h"
#include "editing/palette/PFRecentFonts.h"
#include "editing/palette/PFWidthViewController.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestPFPalette : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_store = 0;

    // A preference store of its own for each test.
    std::unique_ptr<UserDefaults> freshDefaults()
    {
        return std::make_unique<UserDefaults>(m_dir.filePath(QStringLiteral("prefs-%1.json").arg(++m_store)));
    }

    // A real click on whatever the bar shows at the button's frame.
    static void clickBar(PFDrawMenuView &bar, int tag)
    {
        QWidget *target = bar.childAt(bar.pfRectAtIndex(tag).center());
        QVERIFY(target);
        QTest::mouseClick(target, Qt::LeftButton);
    }

    static QStringList chosenImages(const PFDrawMenuView &bar)
    {
        QStringList chosen;
        for (int tag = 1; tag <= PFDrawMenuView::kButtonCount; ++tag)
            if (bar.buttonWithTag(tag)->isChosen())
                chosen << bar.buttonWithTag(tag)->imageName();
        return chosen;
    }

    // Picks a font entry of the menu the way a user does: the menu reports it as activated.
    static void pickFont(PFFontViewController &popover, const QString &name)
    {
        const int item = popover.fontMenu()->findText(name);
        QVERIFY2(item >= 0, qPrintable(name));
        popover.fontMenu()->setCurrentIndex(item);
        emit popover.fontMenu()->activated(item);
    }

private slots:
    void toolButtonsShowOneChosenImageAndReportTheirIndex()
    {
        PFDrawMenuView bar;
        bar.resize(600, PFDrawMenuView::kHeight);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QList<int> reported;
        bar.pfToolClick = [&](int index) { reported << index; };

        QCOMPARE(chosenImages(bar), QStringList{"noneT"});

        // Real clicks at the buttons' frames.
        clickBar(bar, 7); // rectangle
        QCOMPARE(chosenImages(bar), QStringList{"squareDS"});
        clickBar(bar, 17); // colour
        clickBar(bar, 16); // width
        clickBar(bar, 18); // font
        // The popover buttons leave the chosen tool as it was.
        QCOMPARE(chosenImages(bar), QStringList{"squareDS"});
        clickBar(bar, 2); // highlight
        QCOMPARE(chosenImages(bar), QStringList{"HTS"});
        QCOMPARE(reported, (QList<int>{6, 16, 15, 17, 1}));

        QCOMPARE(bar.pfRectAtIndex(1), QRect(12, 8, 18, 18));
        QCOMPARE(bar.pfRectAtIndex(18), QRect(12 + 30 * 17, 8, 18, 18));
        QVERIFY(bar.pfRectAtIndex(19).isNull());
        QCOMPARE(bar.palette().color(QPalette::Window), QColor(214, 226, 230));
    }

    void everyImageExists()
    {
        PFDrawMenuView bar;
        for (const QStringList &names : {bar.titles(), bar.titlesSelect()})
            for (const QString &name : names)
                QVERIFY2(QFile::exists(QStringLiteral(":/resources/icons/%1.svg").arg(name)), qPrintable(name));
    }

    void tooltipsAreLocalised()
    {
        {
            PFDrawMenuView bar; // no table installed: the keys themselves
            QCOMPARE(bar.buttonWithTag(1)->toolTip(), QStringLiteral("NoneTo"));
            QCOMPARE(bar.buttonWithTag(18)->toolTip(), QStringLiteral("FontTo"));
        }
        QVERIFY(Localization::install(QLocale(QLocale::English)) > 0);
        PFDrawMenuView bar;
        QStringList tips;
        for (int tag = 1; tag <= PFDrawMenuView::kButtonCount; ++tag) {
            const QString tip = bar.buttonWithTag(tag)->toolTip();
            QVERIFY2(!PFDrawMenuView::tooltipKeys().contains(tip), qPrintable(tip)); // every key is glossed
            tips << tip;
        }
        QCOMPARE(tips[1], QStringLiteral("Highlight"));
        QCOMPARE(tips[16], QStringLiteral("Colour"));
        QCOMPARE(QSet<QString>(tips.begin(), tips.end()).size(), PFDrawMenuView::kButtonCount);
        Localization::install(QLocale(QLocale::Chinese, QLocale::China));
    }

    void widthPopoverShowsAndReportsWholeWidths()
    {
        PFWidthViewController popover;
        QCOMPARE(popover.size(), QSize(240, 60));
        QVERIFY(popover.windowFlags().testFlag(Qt::Popup));
        QList<int> reported;
        popover.pfDoneEdit = [&](int width) { reported << width; };
        popover.pfSetLineWidth(3.0);
        QCOMPARE(popover.slider()->value(), 3);
        QCOMPARE(popover.field()->text(), QStringLiteral("3"));
        QVERIFY(reported.isEmpty()); // presetting is no change

        popover.slider()->setFocus();
        QTest::keyClick(popover.slider(), Qt::Key_Right);
        QCOMPARE(popover.field()->text(), QStringLiteral("4"));
        QCOMPARE(reported, QList<int>{4});
    }

    void colourPopoverRemembersEachRow()
    {
        auto defaults = freshDefaults();
        PFManager manager(*defaults);
        PFColorViewController popover(manager);
        QCOMPARE(popover.size(), QSize(366, 110));
        QList<QPair<QColor, int>> reported;
        popover.pfDoneEdit = [&](const QColor &color, int row) { reported.append({color, row}); };
        QWidget anchor;
        anchor.show();
        popover.pfShowRelativeTo(&anchor, QRect(10, 10, 18, 18));
        QVERIFY(QTest::qWaitForWindowExposed(&popover));

        // A preset of the border row: reported as row 2, remembered, shown on the custom button.
        PFColorButton *red = popover.presetButtons(2).at(1);
        QTest::mouseClick(red, Qt::LeftButton);
        QCOMPARE(reported.size(), 1);
        QCOMPARE(reported.last().first, red->pfInputColor());
        QCOMPARE(reported.last().second, 2);
        QCOMPARE(manager.pfGetBorderMenuColor().rgb(), red->pfInputColor().rgb());
        QCOMPARE(popover.customColorButton(2)->pfInputColor(), red->pfInputColor());

        // The well of the text row, through the colour question.
        popover.pfPickColor = [](const QColor &) { return QColor(10, 20, 30); };
        QTest::mouseClick(popover.colorWell(1), Qt::LeftButton);
        QCOMPARE(reported.last().second, 1);
        QCOMPARE(manager.pfGetFontMenuColor().rgb(), QColor(10, 20, 30).rgb());
        // A cancelled question changes nothing.
        popover.pfPickColor = [](const QColor &) { return QColor(); };
        QTest::mouseClick(popover.colorWell(1), Qt::LeftButton);
        QCOMPARE(reported.size(), 2);

        // No colour for the fill row: clear, remembered, shown as the empty image.
        QTest::mouseClick(popover.noColorButton(3), Qt::LeftButton);
        QCOMPARE(reported.last().second, 3);
        QCOMPARE(reported.last().first.alpha(), 0);
        QCOMPARE(manager.pfGetFillMenuColor().alpha(), 0);
        QVERIFY(popover.customColorButton(3)->showsEmptyColor());

        // The custom button reports its own colour.
        QTest::mouseClick(popover.customColorButton(2), Qt::LeftButton);
        QCOMPARE(reported.last().first.rgb(), red->pfInputColor().rgb());
        QCOMPARE(reported.last().second, 2);

        // A new popover over the same store shows what each row remembers.
        popover.hide();
        PFColorViewController reopened(manager);
        reopened.pfShowRelativeTo(&anchor, QRect(10, 10, 18, 18));
        QCOMPARE(reopened.customColorButton(1)->pfInputColor().rgb(), QColor(10, 20, 30).rgb());
        QCOMPARE(reopened.customColorButton(2)->pfInputColor().rgb(), red->pfInputColor().rgb());
        QVERIFY(reopened.customColorButton(3)->showsEmptyColor());
        QVERIFY(!reopened.customColorButton(2)->showsEmptyColor());
    }

    void recentFontsKeepSixMostRecentFirst()
    {
        auto defaults = freshDefaults();
        PFRecentFonts recent(*defaults);
        // The first opening stores the current font alone.
        QCOMPARE(recent.pfOpeningOrder("Helvetica"), QStringList{"Helvetica"});
        QCOMPARE(recent.stored(), QStringList{"Helvetica"});
        for (const char *name : {"A", "B", "C", "D", "E"})
            recent.pfPick(name);
        QCOMPARE(recent.stored(), (QStringList{"E", "D", "C", "B", "A", "Helvetica"}));
        // A seventh distinct pick drops the oldest.
        QCOMPARE(recent.pfPick("F"), (QStringList{"F", "E", "D", "C", "B", "A"}));
        QCOMPARE(recent.stored().size(), PFRecentFonts::kStoredLimit);
        // Picking a listed name moves it to the front without dropping another.
        QCOMPARE(recent.pfPick("B"), (QStringList{"B", "F", "E", "D", "C", "A"}));
        // Opening on a listed font puts it in front; on another font adds it; neither is stored.
        QCOMPARE(recent.pfOpeningOrder("C"), (QStringList{"C", "B", "F", "E", "D", "A"}));
        QCOMPARE(recent.pfOpeningOrder("Z").first(), QStringLiteral("Z"));
        QCOMPARE(recent.pfOpeningOrder("Z").size(), 7);
        QCOMPARE(recent.stored(), (QStringList{"B", "F", "E", "D", "C", "A"}));
    }

    void fontPopoverReportsFontSizeAndAlignment()
    {
        auto defaults = freshDefaults();
        PFFontViewController popover(*defaults);
        QCOMPARE(popover.size(), QSize(240, 80));
        struct Report {
            QString name;
            int size, alignment, which;
        };
        QList<Report> reports;
        popover.pfDoneEndEdit = [&](const QString &name, int size, int alignment, int which) {
            reports.append({name, size, alignment, which});
        };
        const QStringList families = QFontDatabase::families();
        QVERIFY(families.size() >= 1);
        popover.pfSetFont(QStringLiteral("Helvetica"), 12, PFFontViewController::Right);
        QCOMPARE(popover.recentNames(), QStringList{"Helvetica"});
        QCOMPARE(popover.fontMenu()->currentText(), QStringLiteral("Helvetica"));
        QCOMPARE(popover.sizeBox()->currentText(), QStringLiteral("12"));
        QCOMPARE(popover.alignmentControl()->checkedId(), 2); // right is the last segment

        pickFont(popover, families.first());
        QCOMPARE(reports.size(), 1);
        QCOMPARE(reports.last().name, families.first());
        QCOMPARE(reports.last().size, PFFontViewController::kReportedSize);
        QCOMPARE(reports.last().alignment, int(PFFontViewController::Right));
        QCOMPARE(reports.last().which, 1);
        QCOMPARE(popover.recentNames().first(), families.first());
        QCOMPARE(PFRecentFonts(*defaults).stored().first(), families.first());

        // Typed sizes: letters change nothing, a number is reported.
        popover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popover));
        QLineEdit *sizeField = popover.sizeBox()->lineEdit();
        sizeField->selectAll();
        QTest::keyClicks(sizeField, QStringLiteral("ab"));
        QTest::keyClick(sizeField, Qt::Key_Return);
        QCOMPARE(reports.size(), 1);
        sizeField->selectAll();
        QTest::keyClicks(sizeField, QStringLiteral("22"));
        QTest::keyClick(sizeField, Qt::Key_Return);
        QCOMPARE(reports.size(), 2);
        QVERIFY(reports.last().name.isEmpty());
        QCOMPARE(reports.last().size, 22);
        QCOMPARE(reports.last().which, 2);
        // The size it already has is no change.
        sizeField->selectAll();
        QTest::keyClicks(sizeField, QStringLiteral("22"));
        QTest::keyClick(sizeField, Qt::Key_Return);
        QCOMPARE(reports.size(), 2);

        // The middle segment centres (2), the last one right-aligns (1).
        QTest::mouseClick(popover.alignmentControl()->button(1), Qt::LeftButton);
        QCOMPARE(reports.last().alignment, int(PFFontViewController::Centered));
        QCOMPARE(reports.last().alignment, 2);
        QCOMPARE(reports.last().which, 3);
        QTest::mouseClick(popover.alignmentControl()->button(2), Qt::LeftButton);
        QCOMPARE(reports.last().alignment, 1);
        // Later font picks carry the alignment now chosen.
        pickFont(popover, QStringLiteral("Helvetica"));
        QCOMPARE(reports.last().alignment, 1);
        QCOMPARE(popover.recentNames().mid(0, 2), (QStringList{"Helvetica", families.first()}));
    }

    void seventhFontPickedInThePopoverDropsTheOldest()
    {
        const QStringList families = QFontDatabase::families();
        if (families.size() < 7)
            QSKIP("fewer than seven font families installed");
        auto defaults = freshDefaults();
        PFFontViewController popover(*defaults);
        popover.pfSetFont(families[0], 12, PFFontViewController::Left);
        for (int i = 1; i <= 6; ++i)
            pickFont(popover, families[i]);
        const QStringList stored = PFRecentFonts(*defaults).stored();
        QCOMPARE(stored.size(), 6);
        QCOMPARE(stored.first(), families[6]);
        QVERIFY(!stored.contains(families[0])); // the first font, the oldest, is gone
        QCOMPARE(popover.recentNames(), stored);
    }
};

QUIRNA_TEST_MAIN(QApplication, TestPFPalette)
#include "tst_PFPalette.moc"
