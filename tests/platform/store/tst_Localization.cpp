#include "platform/store/Localization.h"
#include "platform/store/PersistentContainer.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestLocalization : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Localization::install(QLocale(QLocale::Chinese, QLocale::China)); }

    void languageFollowsTheLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("english");
        QTest::newRow("Simplified Chinese") << QLocale(QLocale::Chinese, QLocale::China) << false;
        QTest::newRow("Traditional Chinese") << QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan) << false;
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedKingdom) << true;
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << true;
        QTest::newRow("C") << QLocale::c() << true;
    }

    void languageFollowsTheLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(bool, english);
        QCOMPARE(Localization::tableSuffix(locale), english ? QStringLiteral("en") : QStringLiteral("zh_CN"));
        // Every area's table is loaded, whichever areas exist.
        const int areas = int(QDir(QStringLiteral(":/i18n")).entryList({QStringLiteral("*_en.qm")}).size());
        QVERIFY(areas > 1);
        QCOMPARE(Localization::install(locale), areas);
        QCOMPARE(pfLocalized("无法保存签名库（%1）。"), english ? QStringLiteral("The signature store could not be saved (%1).")
                                                               : QStringLiteral("无法保存签名库（%1）。"));
        // Chinese shows each key without its disambiguating suffix, never the suffix itself.
        QCOMPARE(pfLocalized("关闭Menu"), english ? QStringLiteral("Close") : QStringLiteral("关闭"));
        QCOMPARE(pfLocalized("页码Num"), english ? QStringLiteral("Page") : QStringLiteral("页码"));
        QCOMPARE(pfLocalized("拖拽PDFL"), english ? QStringLiteral("Drag a PDF file here") : QStringLiteral("拖拽PDF"));
        QCOMPARE(pfLocalized("隐藏Quirna"), english ? QStringLiteral("Hide Quirna") : QStringLiteral("隐藏Quirna"));
        // Keys written in English read as Chinese in the Chinese interface.
        QCOMPARE(pfLocalized("Search"), english ? QStringLiteral("Search") : QStringLiteral("搜索"));
        // Qt's own dialogs and buttons follow: Chinese from Qt's table, else Qt's English.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 english ? QStringLiteral("Cancel") : QStringLiteral("取消"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Open"), english ? QStringLiteral("Open") : QStringLiteral("打开"));
    }

    void keyWithoutTranslationShowsTheKey()
    {
        QVERIFY(Localization::install(QLocale(QLocale::English, QLocale::UnitedStates)) > 0);
        QCOMPARE(pfLocalized("这句话没有译文"), QStringLiteral("这句话没有译文"));
        QVERIFY(Localization::install(QLocale(QLocale::Chinese, QLocale::China)) > 0);
        QCOMPARE(pfLocalized("这句话没有译文"), QStringLiteral("这句话没有译文"));
    }

    void switchingLanguagesReplacesTheTables()
    {
        QVERIFY(Localization::install(QLocale(QLocale::French, QLocale::France)) > 0);
        QCOMPARE(pfLocalized("保存Menu"), QStringLiteral("Save"));
        QVERIFY(Localization::install(QLocale(QLocale::Chinese, QLocale::China)) > 0);
        QCOMPARE(pfLocalized("保存Menu"), QStringLiteral("保存"));
        QCOMPARE(pfLocalized("无法保存签名库（%1）。"), QStringLiteral("无法保存签名库（%1）。"));
    }

    void storeFailureIsShownInTheUsersLanguage()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("a folder"));
        QVERIFY(QDir().mkpath(folder));

        Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
        const QString english = PersistentContainer(folder).lastError();
        QVERIFY2(english.startsWith(QStringLiteral("The signature store could not be opened (") + folder),
                 qPrintable(english));

        Localization::install(QLocale(QLocale::Chinese, QLocale::China));
        QVERIFY(PersistentContainer(folder).lastError().startsWith(QStringLiteral("无法打开签名库（") + folder));
    }
};

QUIRNA_TEST_MAIN(QCoreApplication, TestLocalization)
#include "tst_Localization.moc"
