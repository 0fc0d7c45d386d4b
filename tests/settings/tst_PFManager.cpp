#include "settings/PFManager.h"
#include "platform/store/UserDefaults.h"
#include "platform/system/DateFormatter.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

using ColorGetter = QColor (PFManager::*)() const;
using ColorSetter = void (PFManager::*)(const QColor &);
using IntegerGetter = int (PFManager::*)() const;
using IntegerSetter = void (PFManager::*)(int);
Q_DECLARE_METATYPE(ColorGetter)
Q_DECLARE_METATYPE(ColorSetter)
Q_DECLARE_METATYPE(IntegerGetter)
Q_DECLARE_METATYPE(IntegerSetter)

namespace {

const QColor toolRed = QColor::fromRgbF(244 / 255.0, 92 / 255.0, 89 / 255.0, 1);
const QColor clear = QColor::fromRgbF(0, 0, 0, 0);
const QColor black = QColor::fromRgbF(0, 0, 0, 1);

struct ColorKey {
    const char *key;
    ColorGetter get;
    ColorSetter set;
    QColor fallback;
};

const ColorKey colorKeys[] = {
    {"HilightColor", &PFManager::pfGetHilightColor, &PFManager::pfSetHilightColor, toolRed},
    {"UnderlineColor", &PFManager::pfGetUnderlineColor, &PFManager::pfSetUnderlineColor, toolRed},
    {"StrikeOutColor", &PFManager::pfGetStrikeOutColor, &PFManager::pfSetStrikeOutColor, toolRed},
    {"DrawColor", &PFManager::pfGetDrawColor, &PFManager::pfSetDrawColor, toolRed},
    {"CircleColor", &PFManager::pfGetCircleColor, &PFManager::pfSetCircleColor, toolRed},
    {"CircleFillColor", &PFManager::pfGetCircleFillColor, &PFManager::pfSetCircleFillColor, clear},
    {"RectangleColor", &PFManager::pfGetRectangleColor, &PFManager::pfSetRectangleColor, toolRed},
    {"RectangleFillColor", &PFManager::pfGetRectangleFillColor, &PFManager::pfSetRectangleFillColor, clear},
    {"ArrowColor", &PFManager::pfGetArrowColor, &PFManager::pfSetArrowColor, toolRed},
    {"SegmentColor", &PFManager::pfGetSegmentColor, &PFManager::pfSetSegmentColor, toolRed},
    {"TextColor", &PFManager::pfGetTextColor, &PFManager::pfSetTextColor, black},
    {"TextFillColor", &PFManager::pfGetTextFillColor, &PFManager::pfSetTextFillColor, clear},
    {"FontMenuColor", &PFManager::pfGetFontMenuColor, &PFManager::pfSetFontMenuColor, black},
    {"BorderMenuColor", &PFManager::pfGetBorderMenuColor, &PFManager::pfSetBorderMenuColor, black},
    {"FillMenuColor", &PFManager::pfGetFillMenuColor, &PFManager::pfSetFillMenuColor, black},
};

struct IntegerKey {
    const char *key;
    IntegerGetter get;
    IntegerSetter set;
    int fallback;
};

const IntegerKey integerKeys[] = {
    {"DrawLineWidth", &PFManager::pfGetDrawLineWidth, &PFManager::pfSetDrawLineWidth, 4},
    {"DrawCircleWidth", &PFManager::pfGetDrawCircleWidth, &PFManager::pfSetDrawCircleWidth, 4},
    {"DrawRectangleWidth", &PFManager::pfGetDrawRectangleWidth, &PFManager::pfSetDrawRectangleWidth, 4},
    {"DrawArrowWidth", &PFManager::pfGetDrawArrowWidth, &PFManager::pfSetDrawArrowWidth, 4},
    {"DrawSegmentWidth", &PFManager::pfGetDrawSegmentWidth, &PFManager::pfSetDrawSegmentWidth, 4},
    {"FillFontSize", &PFManager::pfGetFillFontSize, &PFManager::pfSetFillFontSize, 20},
    {"SetNewBlankSize", &PFManager::pfGetNewBlankSize, &PFManager::pfSetNewBlankSize, 7},
};

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

} // namespace

class TestPFManager : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<UserDefaults> m_store;
    std::unique_ptr<PFManager> m_manager;
    int m_serial = 0;

    QString storePath() const { return m_dir.filePath(QStringLiteral("prefs-%1.json").arg(m_serial)); }
    // A folder of its own for each test row.
    QString scratch() const { return m_dir.filePath(QStringLiteral("files-%1").arg(m_serial)); }

    // Makes each name in the scratch folder: a folder when it ends with '/', else an empty file.
    void populate(const QStringList &names)
    {
        for (const QString &name : names) {
            if (name.endsWith(QLatin1Char('/')))
                QDir().mkpath(scratch() + QLatin1Char('/') + name);
            else
                touch(scratch() + QLatin1Char('/') + name);
        }
    }

private slots:
    void initTestCase()
    {
        // Only the palette decides the appearance here, not the desktop this test runs on.
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }

    void init()
    {
        ++m_serial;
        m_store = std::make_unique<UserDefaults>(storePath());
        m_manager = std::make_unique<PFManager>(*m_store);
        QDir().mkpath(scratch());
    }

    void freshInstallHasTheDefaultStyle_data()
    {
        QTest::addColumn<ColorGetter>("get");
        QTest::addColumn<QColor>("fallback");
        for (const ColorKey &entry : colorKeys)
            QTest::newRow(entry.key) << entry.get << entry.fallback;
    }

    void freshInstallHasTheDefaultStyle()
    {
        QFETCH(ColorGetter, get);
        QFETCH(QColor, fallback);
        QCOMPARE((m_manager.get()->*get)(), fallback);
    }

    void freshInstallHasTheDefaultSizes()
    {
        for (const IntegerKey &entry : integerKeys)
            QCOMPARE((m_manager.get()->*entry.get)(), entry.fallback);
    }

    void eachColourHasItsOwnDurableKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<ColorGetter>("get");
        QTest::addColumn<ColorSetter>("set");
        for (const ColorKey &entry : colorKeys)
            QTest::newRow(entry.key) << QString::fromLatin1(entry.key) << entry.get << entry.set;
    }

    void eachColourHasItsOwnDurableKey()
    {
        QFETCH(QString, key);
        QFETCH(ColorGetter, get);
        QFETCH(ColorSetter, set);
        const QColor teal = QColor::fromRgbF(0.1, 0.6, 0.55, 0.75);
        (m_manager.get()->*set)(teal);
        QCOMPARE((m_manager.get()->*get)(), teal);

        // It is on disk, under its own key, as the record with all eight fields.
        UserDefaults reread(storePath());
        const QVariantMap stored = reread.value(key).toMap();
        QCOMPARE(stored.size(), 8);
        QCOMPARE(stored.value(QStringLiteral("isHue")).toDouble(), 1.0);
        QCOMPARE(stored.value(QStringLiteral("greenValue")).toFloat(), teal.greenF());
        QCOMPARE(stored.value(QStringLiteral("hue")).toDouble(), 0.0);
        QCOMPARE((PFManager(reread).*get)(), teal);
        for (const ColorKey &other : colorKeys)
            if (QLatin1String(other.key) != key)
                QCOMPARE((m_manager.get()->*other.get)(), other.fallback);
    }

    void eachSizeIsStoredAsDecimalText()
    {
        for (const IntegerKey &entry : integerKeys) {
            (m_manager.get()->*entry.set)(0);
            QCOMPARE((m_manager.get()->*entry.get)(), 0); // a stored 0 is not "absent"
            (m_manager.get()->*entry.set)(12);
        }
        UserDefaults reread(storePath());
        for (const IntegerKey &entry : integerKeys) {
            QCOMPARE(reread.value(QLatin1String(entry.key)), QVariant(QStringLiteral("12")));
            QCOMPARE((PFManager(reread).*entry.get)(), 12);
        }
    }

    void storedSizesReadAsTheirLeadingInteger_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("not a number") << QVariant(QStringLiteral("wide")) << 0;
        QTest::newRow("empty") << QVariant(QString()) << 0;
        QTest::newRow("unit after the digits") << QVariant(QStringLiteral("12px")) << 12;
        QTest::newRow("negative with a blank") << QVariant(QStringLiteral(" -3")) << -3;
        QTest::newRow("too large") << QVariant(QStringLiteral("99999999999999999999")) << std::numeric_limits<int>::max();
        QTest::newRow("a number, not text") << QVariant(9) << 9;
    }

    void storedSizesReadAsTheirLeadingInteger()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, expected);
        m_store->setValue(QStringLiteral("DrawArrowWidth"), stored);
        QCOMPARE(m_manager->pfGetDrawArrowWidth(), expected);
    }

    void greysAreStoredAsBrightnessOthersAsRGB_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<double>("isHue");
        QTest::newRow("black") << QColor(Qt::black) << 2.0;
        QTest::newRow("white") << QColor(Qt::white) << 2.0;
        QTest::newRow("transparent") << QColor(Qt::transparent) << 2.0;
        QTest::newRow("translucent grey") << QColor::fromRgbF(0.5, 0.5, 0.5, 0.3) << 2.0;
        QTest::newRow("grey given as HSV") << QColor::fromHsvF(0.7, 0, 0.25) << 2.0;
        QTest::newRow("tool red") << toolRed << 1.0;
        QTest::newRow("nearly grey") << QColor(128, 128, 129) << 1.0;
        QTest::newRow("cyan given as HSV") << QColor::fromHsvF(0.5, 1, 1, 0.5) << 1.0;
        QTest::newRow("orange given as CMYK") << QColor::fromCmykF(0, 0.5, 1, 0) << 1.0;
    }

    void greysAreStoredAsBrightnessOthersAsRGB()
    {
        QFETCH(QColor, color);
        QFETCH(double, isHue);
        const PFSignColorModel model = PFManager::pfConvertColorToModel(color);
        QCOMPARE(model.isHue, isHue);
        const QColor rgb = color.toRgb();
        QCOMPARE(float(model.alpha), rgb.alphaF());
        if (isHue == 2) {
            QCOMPARE(model.saturation, 0.0);
            QCOMPARE(float(model.brightness), rgb.redF());
            QCOMPARE(model.redValue + model.greenValue + model.blueValue, 0.0);
        } else {
            QCOMPARE(float(model.redValue), rgb.redF());
            QCOMPARE(float(model.greenValue), rgb.greenF());
            QCOMPARE(float(model.blueValue), rgb.blueF());
            QCOMPARE(model.hue + model.saturation + model.brightness, 0.0);
        }
        // Back as the same colour, in RGB, through the dictionary and its JSON text as well.
        QCOMPARE(PFManager::pfColorFromModel(model), rgb);
        const auto fromJson = PFSignColorModel::fromJson(model.toJson());
        QVERIFY(fromJson.has_value());
        QCOMPARE(PFManager::pfColorFromModel(*fromJson), rgb);
    }

    void recordsInEitherFormGiveAnRGBColour()
    {
        PFSignColorModel hsb;
        hsb.isHue = 2;
        hsb.hue = 0.5;
        hsb.saturation = 1;
        hsb.brightness = 1;
        hsb.alpha = 1;
        const QColor cyan = PFManager::pfColorFromModel(hsb);
        QCOMPARE(cyan.spec(), QColor::Rgb);
        QCOMPARE(cyan, QColor(Qt::cyan));

        PFSignColorModel other = hsb; // any isHue but 2 means red/green/blue
        other.isHue = 0;
        other.redValue = 1;
        QCOMPARE(PFManager::pfColorFromModel(other), QColor(Qt::red));

        PFSignColorModel outOfRange;
        outOfRange.isHue = 1;
        outOfRange.redValue = 3;
        outOfRange.blueValue = -1;
        outOfRange.alpha = 2;
        QCOMPARE(PFManager::pfColorFromModel(outOfRange), QColor(Qt::red));
    }

    void damagedColourRecordFallsBackToTheDefault_data()
    {
        QTest::addColumn<QVariant>("stored");
        QVariantMap missingAlpha = PFManager::pfConvertColorToModel(Qt::blue).toDictionary();
        missingAlpha.remove(QStringLiteral("alpha"));
        QVariantMap textual = PFManager::pfConvertColorToModel(Qt::blue).toDictionary();
        textual.insert(QStringLiteral("blueValue"), QStringLiteral("lots"));
        QTest::newRow("a key missing") << QVariant(missingAlpha);
        QTest::newRow("a field not a number") << QVariant(textual);
        QTest::newRow("not a dictionary") << QVariant(QStringLiteral("red"));
    }

    void damagedColourRecordFallsBackToTheDefault()
    {
        QFETCH(QVariant, stored);
        m_store->setValue(QStringLiteral("HilightColor"), stored);
        QCOMPARE(m_manager->pfGetHilightColor(), toolRed);
    }

    void sharedManagerUsesTheStandardStore()
    {
        PFManager::sharedManager().pfSetFillFontSize(31);
        QVERIFY(UserDefaults::standard().filePath().startsWith(
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
        QCOMPARE(UserDefaults(UserDefaults::standard().filePath()).value(QStringLiteral("FillFontSize")),
                 QVariant(QStringLiteral("31")));
    }

    void cacheFoldersAreMadeButNotTheFiles()
    {
        const QString support = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        const QStringList paths = {PFManager::pfGetCachePDFPathByID(QStringLiteral("page-3")),
                                   PFManager::pfGetCacheSignImagePathByID(QStringLiteral("20240305140709")),
                                   PFManager::pfGetCacheThumbImagePathByID(QStringLiteral("d41d8cd98f00b204"))};
        const QStringList expected = {support + QStringLiteral("/PDFSave/page-3.pdf"),
                                      support + QStringLiteral("/SignImage/20240305140709.png"),
                                      support + QStringLiteral("/ThumbImage/d41d8cd98f00b204.jpg")};
        QCOMPARE(paths, expected);
        for (const QString &path : paths) {
            QVERIFY(QFileInfo(QFileInfo(path).path()).isDir());
            QVERIFY(!QFile::exists(path));
        }
    }

    void picturesFolderIsResolvedBeforeQuirnaIsMade()
    {
        // The pictures folder is a link to a folder elsewhere.
        const QString pictures = QDir::homePath() + QStringLiteral("/Pictures");
        const QString target = scratch() + QStringLiteral("/real pictures");
        QVERIFY(QDir().mkpath(target));
        QDir(pictures).removeRecursively();
        QVERIFY(QFile::link(target, pictures));

        const QString folder = PFManager::pfCheckQuirnaPathExistAndCreate();
        QCOMPARE(folder, QFileInfo(target).canonicalFilePath() + QStringLiteral("/Quirna"));
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(PFManager::pfCheckQuirnaPathExistAndCreate(), folder); // a second call is harmless
    }

    void freeOutputName_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << QStringList{} << "report.pdf" << "report.pdf";
        QTest::newRow("taken twice") << QStringList{"report.pdf", "report-1.pdf"} << "report.pdf" << "report-2.pdf";
        QTest::newRow("merge sequence") << QStringList{"merge.pdf", "merge-1.pdf", "merge-2.pdf"} << "merge.pdf"
                                        << "merge-3.pdf";
        QTest::newRow("leading digits") << QStringList{"2x.pdf"} << "2x.pdf" << "2x-3.pdf";
        QTest::newRow("counted part") << QStringList{"scan-07.pdf"} << "scan-07.pdf" << "scan-8.pdf";
        QTest::newRow("dash in the name") << QStringList{"a-b.pdf"} << "a-b.pdf" << "a-b-1.pdf";
        QTest::newRow("carry") << QStringList{"scan-9.pdf", "scan-10.pdf"} << "scan-9.pdf" << "scan-11.pdf";
        QTest::newRow("extension becomes pdf") << QStringList{"photo.png"} << "photo.png" << "photo-1.pdf";
        QTest::newRow("folder in the way") << QStringList{"report.pdf/"} << "report.pdf" << "report-1.pdf";
        QTest::newRow("beyond 64 bits") << QStringList{"log-99999999999999999999.pdf"}
                                        << "log-99999999999999999999.pdf" << "log-100000000000000000000.pdf";
    }

    void freeOutputName()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, requested);
        QFETCH(QString, expected);
        populate(existing);
        QCOMPARE(PFManager::pfGetNewFilePath(scratch() + QLatin1Char('/') + requested),
                 scratch() + QLatin1Char('/') + expected);
    }

    void danglingLinkTakesTheName()
    {
        const QString link = scratch() + QStringLiteral("/merge.pdf");
        QVERIFY(QFile::link(scratch() + QStringLiteral("/gone.pdf"), link));
        QCOMPARE(PFManager::pfGetNewFilePath(link), scratch() + QStringLiteral("/merge-1.pdf"));
    }

    void freeFolderName_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << QStringList{} << "report-split" << "report-split";
        QTest::newRow("split folders") << QStringList{"report-split/", "report-split-1/"} << "report-split"
                                       << "report-split-2";
        QTest::newRow("a file in the way") << QStringList{"q1-report-images"} << "q1-report-images"
                                           << "q1-report-images-1";
        QTest::newRow("dot kept") << QStringList{"v2.0-split/"} << "v2.0-split" << "v2.0-split-1";
        QTest::newRow("leading digits") << QStringList{"2x/"} << "2x" << "2x-3";
    }

    void freeFolderName()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, requested);
        QFETCH(QString, expected);
        populate(existing);
        QCOMPARE(PFManager::pfGetNewFolderPath(scratch() + QLatin1Char('/') + requested),
                 scratch() + QLatin1Char('/') + expected);
    }

    void deletingRemovesFilesFoldersAndLinksOnly()
    {
        const QString file = scratch() + QStringLiteral("/a.pdf");
        const QString folder = scratch() + QStringLiteral("/out");
        const QString kept = scratch() + QStringLiteral("/kept");
        const QString link = scratch() + QStringLiteral("/link");
        touch(file);
        touch(folder + QStringLiteral("/sub/Page_1.pdf"));
        touch(kept + QStringLiteral("/precious.pdf"));
        QVERIFY(QFile::link(kept, link));

        PFManager::pfDeleteFileIfExist(file);
        PFManager::pfDeleteFileIfExist(folder);
        PFManager::pfDeleteFileIfExist(link);
        PFManager::pfDeleteFileIfExist(scratch() + QStringLiteral("/never-there"));
        QVERIFY(!QFile::exists(file));
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(QFile::exists(kept + QStringLiteral("/precious.pdf"))); // not through the link
    }

    void pdfUrlIsALocalFile()
    {
        const QString path = QStringLiteral("/tmp/合并 #1.pdf");
        const QUrl url = PFManager::pfConvertPdfUrl(path);
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), path);
    }

    void emptyText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("empty");
        QTest::newRow("absent") << QString() << true;
        QTest::newRow("empty") << QString("") << true;
        QTest::newRow("(null)") << "(null)" << true;
        QTest::newRow("blanks and a line break") << " \t\n " << true;
        QTest::newRow("ideographic space") << "\u3000" << true;
        QTest::newRow("text with blanks") << " a " << false;
        QTest::newRow("null inside text") << "(null) x" << false;
    }

    void emptyText()
    {
        QFETCH(QString, text);
        QFETCH(bool, empty);
        QCOMPARE(PFManager::pfStringIsEmpty(text), empty);
    }

    void numberTests_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("pureInt");
        QTest::addColumn<bool>("num");
        QTest::newRow("empty") << "" << false << true;
        QTest::newRow("digits") << "12" << true << true;
        QTest::newRow("leading blank") << " 12" << true << false;
        QTest::newRow("trailing blank") << "12 " << true << false;
        QTest::newRow("signed") << "-3" << true << false;
        QTest::newRow("plus") << "+3" << true << false;
        QTest::newRow("sign alone") << "+" << false << false;
        QTest::newRow("blank alone") << " " << false << false;
        QTest::newRow("letter between") << "1a1" << false << false;
        QTest::newRow("decimal point") << "1.5" << false << false;
        QTest::newRow("Arabic-Indic digits") << "١٢٣" << false << true;
    }

    void numberTests()
    {
        QFETCH(QString, text);
        QFETCH(bool, pureInt);
        QFETCH(bool, num);
        QCOMPARE(PFManager::pfIsPureInt(text), pureInt);
        QCOMPARE(PFManager::pfIsNum(text), num);
    }

    void pointDistanceIsSquared()
    {
        QCOMPARE(PFManager::pfPointDistance(QPointF(1, 2), QPointF(4, 6)), 25.0);
        QCOMPARE(PFManager::pfPointDistance(QPointF(4, 6), QPointF(1, 2)), 25.0);
    }

    void md5OfTheUtf8Bytes()
    {
        QCOMPARE(PFManager::md5String(QString()), QStringLiteral("d41d8cd98f00b204e9800998ecf8427e"));
        QCOMPARE(PFManager::md5String(QStringLiteral("中文")), QStringLiteral("a7bac2239fcdcb3a067903d8077c4a07"));
        QCOMPARE(PFManager::md5String(QStringLiteral("file:///tmp/a b.pdfthumb")),
                 QStringLiteral("3e253a4330ad7207423fd50ef1661c93"));
    }

    void datesShareOneFormatter()
    {
        DateFormatter &formatter = DateFormatter::instance();
        const QDateTime date(QDate(2024, 3, 5), QTime(14, 7, 9));

        formatter.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(PFManager::pfDateStringFromDate(date), QStringLiteral("Mar 5, 2024 14:07"));
        formatter.setLocale(QLocale(QLocale::Chinese, QLocale::China));
        QCOMPARE(PFManager::pfDateStringFromDate(date), QStringLiteral("2024年3月5日 14:07"));

        // The stamp sets its own format, whatever the formatter held before.
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const QString stamp = PFManager::pfDateStamp();
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}$")).match(stamp).hasMatch(),
                 qPrintable(stamp));
        const QDateTime stamped = QDateTime::fromString(stamp, QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        QVERIFY(stamped >= before && stamped <= QDateTime::currentDateTime());
    }

    void darkPaletteMeansDarkMode()
    {
        const QPalette original = QGuiApplication::palette();
        QPalette dark = original;
        dark.setColor(QPalette::Window, QColor(40, 40, 40));
        QGuiApplication::setPalette(dark);
        QVERIFY(PFManager::pfCheckIsDarkMode());
        QPalette light = original;
        light.setColor(QPalette::Window, QColor(236, 236, 236));
        QGuiApplication::setPalette(light);
        QVERIFY(!PFManager::pfCheckIsDarkMode());
        QGuiApplication::setPalette(original);
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestPFManager)
#include "tst_PFManager.moc"
