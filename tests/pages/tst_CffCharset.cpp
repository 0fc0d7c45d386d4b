#include "pages/CffCharset.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QtTest>

namespace {

QByteArray int16Operand(int value) { return QByteArray("\x1c", 1) + char(value >> 8) + char(value & 0xFF); }

// A CFF program of `glyphs` glyphs with the charset bytes given; CID-keyed when `cid`.
QByteArray program(int glyphs, const QByteArray &charset, bool cid)
{
    const QByteArray header("\x01\x00\x04\x01", 4);
    const QByteArray names("\x00\x01\x01\x01\x02" "F", 6);
    const int dictSize = (cid ? 5 : 0) + 8;
    const int charsetAt = header.size() + names.size() + 5 + dictSize + 4;
    const int charStringsAt = charsetAt + charset.size();
    QByteArray dict;
    if (cid)
        dict += QByteArray("\x8b\x8b\x8b\x0c\x1e", 5); // ROS 0 0 0
    dict += int16Operand(charsetAt) + '\x0f' + int16Operand(charStringsAt) + '\x11';
    QByteArray top("\x00\x01\x01\x01", 4);
    top += char(1 + dict.size());
    QByteArray charStrings;
    charStrings += char(glyphs >> 8);
    charStrings += char(glyphs & 0xFF);
    charStrings += '\x01';
    for (int i = 0; i <= glyphs; ++i)
        charStrings += char(1 + i);
    charStrings += QByteArray(glyphs, '\x0e'); // endchar
    return header + names + top + dict + QByteArray(4, '\0') + charset + charStrings;
}

QVector<quint32> codes(const CffCharset &charset, int glyphs)
{
    QVector<quint32> result;
    for (int glyph = 0; glyph < glyphs; ++glyph)
        result << charset.code(glyph).value_or(0xFFFFFFFF);
    return result;
}

} // namespace

// Which code selects each glyph of an embedded PostScript-outline font program, in every charset
// format, and in bytes that do not hold what they claim.
class TestCffCharset : public QObject {
    Q_OBJECT

private slots:
    void codesFollowTheCharset_data()
    {
        QTest::addColumn<QByteArray>("charset");
        QTest::addColumn<QVector<quint32>>("expected");
        QTest::newRow("one CID a glyph") << QByteArray("\x00\x00\x05\x00\x09\x01\x2c", 7) << QVector<quint32>{0, 5, 9, 300};
        QTest::newRow("ranges of one-byte length") << QByteArray("\x01\x00\x64\x01\x00\x07\x00", 7)
                                                   << QVector<quint32>{0, 100, 101, 7};
        QTest::newRow("a range of two-byte length") << QByteArray("\x02\x03\xe8\x01\x2c", 5)
                                                     << QVector<quint32>{0, 1000, 1001, 1002};
    }
    void codesFollowTheCharset()
    {
        QFETCH(QByteArray, charset);
        QFETCH(QVector<quint32>, expected);
        const auto read = CffCharset::read(program(4, charset, true));
        QVERIFY(read);
        QVERIFY(read->cidKeyed());
        QCOMPARE(codes(*read, 4), expected);
        QVERIFY(!read->code(4)); // beyond the last glyph
    }

    void nameKeyedGlyphsAreTheirOwnCodes()
    {
        // A name-keyed program may use a predefined charset (0 here): its glyphs go by position.
        const auto read = CffCharset::read(program(3, {}, false));
        QVERIFY(read);
        QVERIFY(!read->cidKeyed());
        QCOMPARE(codes(*read, 3), (QVector<quint32>{0, 1, 2}));
        QVERIFY(!read->code(3));
    }

    void damagedProgramsAreRefused()
    {
        const QByteArray whole = program(4, QByteArray("\x01\x00\x64\x01\x00\x07\x00", 7), true);
        QVERIFY(CffCharset::read(whole));
        // Cut anywhere, the glyph programs at the end are incomplete.
        for (int size = 0; size < whole.size(); ++size)
            QVERIFY2(!CffCharset::read(whole.left(size)), qPrintable(QString::number(size)));
        // A CID-keyed program naming a predefined charset, or with one that ends too soon.
        QByteArray predefined = whole;
        const int charsetOperator = int(predefined.indexOf('\x0f'));
        predefined[charsetOperator - 2] = predefined[charsetOperator - 1] = '\0';
        QVERIFY(!CffCharset::read(predefined));
        QByteArray cutShort = whole;
        cutShort[cutShort.size() - 1] = '\0'; // format 0, and no CIDs after it
        cutShort[charsetOperator - 2] = char((cutShort.size() - 1) >> 8);
        cutShort[charsetOperator - 1] = char((cutShort.size() - 1) & 0xFF);
        QVERIFY(!CffCharset::read(cutShort));
        QVERIFY(!CffCharset::read(program(4, QByteArray("\x03\x00\x05", 3), true))); // no such format
        // Offsets past the end.
        QByteArray far = whole;
        far[int(far.indexOf('\x11')) - 2] = '\x7f';
        QVERIFY(!CffCharset::read(far));
        QByteArray notCff = whole;
        notCff[0] = '\x02';
        QVERIFY(!CffCharset::read(notCff));
    }
};

QUIRNA_TEST_MAIN(QCoreApplication, TestCffCharset)
#include "tst_CffCharset.moc"
