#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QHash>
#include <QTest>
#include <algorithm>
#include <QXmlStreamReader>

// Every text the program shows must be in both the English and the Chinese tables. The keys are
// read from the sources themselves: every argument of pfLocalized written as a literal, and
// every string literal holding Chinese (the program's texts are their own keys). The tables are
// whatever resources/translations holds, so areas added later are checked too.
class TestTranslationTables : public QObject {
    Q_OBJECT

private slots:
    void everyAreaHasBothTables();
    void everyKeyOfTheCodeIsInBothTables();
    void chineseTableDropsOnlyTheSuffix();

private:
    static QString translationsDir() { return QStringLiteral(QUIRNA_SOURCE_DIR "/resources/translations"); }
    // Source and translation of every message in the tables ending in `suffix`.
    static QHash<QString, QString> table(const QString &suffix);
    static QSet<QString> keysOfTheCode();
};

QHash<QString, QString> TestTranslationTables::table(const QString &suffix)
{
    QHash<QString, QString> entries;
    const QDir dir(translationsDir());
    for (const QString &name : dir.entryList({QStringLiteral("*_") + suffix + QStringLiteral(".ts")}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(file.fileName()));
        QXmlStreamReader xml(&file);
        QString source;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("source"))
                source = xml.readElementText();
            else if (xml.name() == QLatin1String("translation"))
                entries.insert(source, xml.readElementText());
        }
        if (xml.hasError())
            qFatal("%s: %s", qPrintable(name), qPrintable(xml.errorString()));
    }
    return entries;
}

namespace {
// The string literals of C++ source text with their escapes undone, comments skipped; each with
// the text just before it (to see whether it is an argument of pfLocalized).
struct Literal {
    QString text;
    QString before;
};

QVector<Literal> literalsOf(const QString &code)
{
    QVector<Literal> literals;
    const qsizetype n = code.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = code[i];
        if (c == QLatin1Char('/') && i + 1 < n && code[i + 1] == QLatin1Char('/')) {
            while (i < n && code[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && i + 1 < n && code[i + 1] == QLatin1Char('*')) {
            i = code.indexOf(QStringLiteral("*/"), i + 2);
            if (i < 0)
                break;
            ++i;
        } else if (c == QLatin1Char('\'')) {
            for (++i; i < n && code[i] != QLatin1Char('\''); ++i)
                if (code[i] == QLatin1Char('\\'))
                    ++i;
        } else if (c == QLatin1Char('"')) {
            // A raw string R"(...)" holds no keys of ours; skip it whole.
            if (i > 0 && code[i - 1] == QLatin1Char('R')) {
                const qsizetype end = code.indexOf(QStringLiteral(")\""), i);
                i = end < 0 ? n : end + 1;
                continue;
            }
            Literal literal;
            literal.before = code.mid(std::max<qsizetype>(0, i - 40), std::min<qsizetype>(i, 40));
            for (++i; i < n && code[i] != QLatin1Char('"'); ++i) {
                if (code[i] == QLatin1Char('\\') && i + 1 < n) {
                    ++i;
                    const QChar e = code[i];
                    literal.text += e == QLatin1Char('n') ? QLatin1Char('\n') : e == QLatin1Char('t') ? QLatin1Char('\t') : e;
                } else {
                    literal.text += code[i];
                }
            }
            literals.append(literal);
        }
    }
    return literals;
}

bool holdsChinese(const QString &text)
{
    static const QRegularExpression han(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    return text.contains(han);
}
} // namespace

QSet<QString> TestTranslationTables::keysOfTheCode()
{
    static const QRegularExpression localizedCall(QStringLiteral("pfLocalized\\(\\s*$"));
    QSet<QString> keys;
    QDirIterator files(QStringLiteral(QUIRNA_SOURCE_DIR "/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(file.fileName()));
        for (const Literal &literal : literalsOf(QString::fromUtf8(file.readAll())))
            if (holdsChinese(literal.text) || literal.before.contains(localizedCall))
                keys.insert(literal.text);
    }
    return keys;
}

void TestTranslationTables::everyAreaHasBothTables()
{
    const QDir dir(translationsDir());
    const QStringList english = dir.entryList({QStringLiteral("*_en.ts")}, QDir::Files);
    QVERIFY(english.size() > 1);
    for (const QString &name : english) {
        const QString chinese = name.chopped(int(qstrlen("en.ts"))) + QStringLiteral("zh_CN.ts");
        QVERIFY2(dir.exists(chinese), qPrintable(name + QStringLiteral(" has no ") + chinese));
    }
}

void TestTranslationTables::everyKeyOfTheCodeIsInBothTables()
{
    const QSet<QString> keys = keysOfTheCode();
    // The scan itself must see the program's texts, or this test proves nothing.
    QVERIFY(keys.contains(QStringLiteral("关闭Menu")));
    QVERIFY(keys.contains(QStringLiteral("Search")));
    QVERIFY(keys.size() > 100);
    for (const QString &suffix : {QStringLiteral("en"), QStringLiteral("zh_CN")}) {
        const QHash<QString, QString> entries = table(suffix);
        QStringList missing;
        for (const QString &key : keys)
            if (!entries.contains(key))
                missing.append(key);
        missing.sort();
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("missing from the %1 tables:\n  ").arg(suffix) +
                                               missing.join(QStringLiteral("\n  "))));
    }
}

void TestTranslationTables::chineseTableDropsOnlyTheSuffix()
{
    // A Chinese key shows itself, or itself less a Latin suffix; it never shows the suffix.
    static const QRegularExpression suffix(QStringLiteral("(Menu|Num|To|L)$"));
    const QHash<QString, QString> chinese = table(QStringLiteral("zh_CN"));
    for (auto it = chinese.cbegin(); it != chinese.cend(); ++it) {
        QVERIFY2(!it.value().isEmpty(), qPrintable(it.key()));
        if (!holdsChinese(it.key()))
            continue;
        const QString bare = QString(it.key()).remove(suffix);
        QVERIFY2(it.value() == it.key() || it.value() == bare,
                 qPrintable(it.key() + QStringLiteral(" shows ") + it.value()));
        QVERIFY2(!it.value().endsWith(QStringLiteral("Menu")) && !it.value().endsWith(QStringLiteral("Num")),
                 qPrintable(it.key()));
    }
}

QUIRNA_TEST_MAIN(QCoreApplication, TestTranslationTables)
#include "tst_TranslationTables.moc"
