#include "CffCharset.h"

namespace {

// A bounds-checked reader of the big-endian structures of a CFF font program.
class Bytes {
public:
    explicit Bytes(const QByteArray &data) : m_data(data) {}

    bool has(qint64 at, qint64 count) const { return at >= 0 && count >= 0 && at + count <= m_data.size(); }
    quint32 number(qint64 at, int size) const // size bytes at `at`, zero when out of range
    {
        if (!has(at, size))
            return 0;
        quint32 value = 0;
        for (int i = 0; i < size; ++i)
            value = (value << 8) | uchar(m_data[at + i]);
        return value;
    }

    // An INDEX: its element count and offsets, and where it ends.
    struct Index {
        int count = 0;
        int offSize = 0;
        qint64 offsets = 0; // where the offset array starts
        qint64 end = 0;
    };
    // The INDEX at `at`; nothing when the bytes do not hold one.
    std::optional<Index> index(qint64 at) const
    {
        Index index;
        if (!has(at, 2))
            return std::nullopt;
        index.count = int(number(at, 2));
        if (index.count == 0) {
            index.end = at + 2;
            return index;
        }
        index.offSize = int(number(at + 2, 1));
        index.offsets = at + 3;
        if (index.offSize < 1 || index.offSize > 4 || !has(index.offsets, qint64(index.count + 1) * index.offSize))
            return std::nullopt;
        qint64 start = 0;
        if (!element(index, index.count - 1, &start, &index.end))
            return std::nullopt;
        return index;
    }
    // Where element `i` of the INDEX starts and ends; false when it lies outside the bytes.
    bool element(const Index &index, int i, qint64 *start, qint64 *stop) const
    {
        if (i < 0 || i >= index.count)
            return false;
        const qint64 data = index.offsets + qint64(index.count + 1) * index.offSize - 1; // offsets count from 1
        *start = data + number(index.offsets + qint64(i) * index.offSize, index.offSize);
        *stop = data + number(index.offsets + qint64(i + 1) * index.offSize, index.offSize);
        return *start > data && *start <= *stop && *stop <= m_data.size();
    }

private:
    const QByteArray &m_data;
};

// The operands of the top dictionary this needs, read up to the dictionary's end.
struct TopDict {
    bool cidKeyed = false;
    qint64 charset = 0; // 0, 1 and 2 name the predefined charsets of name-keyed fonts
    qint64 charStrings = -1;
};

bool readTopDict(const Bytes &bytes, qint64 at, qint64 end, TopDict *dict)
{
    qint64 operand = 0; // the last integer operand; the operators read here take one
    while (at < end) {
        const quint32 b = bytes.number(at, 1);
        if (b == 12) { // a two-byte operator
            if (bytes.number(at + 1, 1) == 30) // ROS
                dict->cidKeyed = true;
            at += 2;
        } else if (b <= 21) {
            if (b == 15)
                dict->charset = operand;
            else if (b == 17)
                dict->charStrings = operand;
            at += 1;
        } else if (b == 28) {
            operand = qint16(bytes.number(at + 1, 2));
            at += 3;
        } else if (b == 29) {
            operand = qint32(bytes.number(at + 1, 4));
            at += 5;
        } else if (b == 30) { // a real: nibbles up to the one that ends it
            ++at;
            while (at < end && (bytes.number(at, 1) & 0x0F) != 0x0F && (bytes.number(at, 1) >> 4) != 0x0F)
                ++at;
            ++at;
        } else if (b >= 32 && b <= 246) {
            operand = qint64(b) - 139;
            at += 1;
        } else if (b >= 247 && b <= 250) {
            operand = (qint64(b) - 247) * 256 + bytes.number(at + 1, 1) + 108;
            at += 2;
        } else if (b >= 251 && b <= 254) {
            operand = -(qint64(b) - 251) * 256 - qint64(bytes.number(at + 1, 1)) - 108;
            at += 2;
        } else {
            return false; // reserved
        }
    }
    return at == end;
}

// The charset's name (a string id, or a CID in a CID-keyed font) of each glyph but .notdef.
bool readCharset(const Bytes &bytes, qint64 at, int glyphCount, QVector<quint16> *names)
{
    const quint32 format = bytes.number(at, 1);
    ++at;
    names->reserve(glyphCount);
    names->append(0); // .notdef
    while (names->size() < glyphCount) {
        if (format == 0) {
            if (!bytes.has(at, 2))
                return false;
            names->append(quint16(bytes.number(at, 2)));
            at += 2;
            continue;
        }
        const int leftSize = format == 1 ? 1 : format == 2 ? 2 : 0;
        if (leftSize == 0 || !bytes.has(at, 2 + leftSize))
            return false;
        const quint32 first = bytes.number(at, 2), left = bytes.number(at + 2, leftSize);
        at += 2 + leftSize;
        for (quint32 i = 0; i <= left && names->size() < glyphCount; ++i)
            names->append(quint16(first + i));
    }
    return true;
}

} // namespace

std::optional<CffCharset> CffCharset::read(const QByteArray &cff)
{
    const Bytes bytes(cff);
    // The header, the Name INDEX, then the Top DICT INDEX, whose first entry is the font's.
    if (bytes.number(0, 1) != 1)
        return std::nullopt;
    const auto names = bytes.index(bytes.number(2, 1));
    const auto topDicts = names ? bytes.index(names->end) : std::nullopt;
    qint64 start = 0, end = 0;
    TopDict dict;
    if (!topDicts || !bytes.element(*topDicts, 0, &start, &end) || !readTopDict(bytes, start, end, &dict))
        return std::nullopt;
    const auto charStrings = dict.charStrings > 0 ? bytes.index(dict.charStrings) : std::nullopt;
    if (!charStrings || charStrings->count < 1)
        return std::nullopt;
    CffCharset result;
    result.m_glyphCount = charStrings->count;
    if (!dict.cidKeyed)
        return result;
    // A CID-keyed font has a charset of its own: the numbers below 3 name predefined ones.
    if (dict.charset <= 2 || !readCharset(bytes, dict.charset, result.m_glyphCount, &result.m_cids))
        return std::nullopt;
    return result;
}

std::optional<quint32> CffCharset::code(quint32 glyph) const
{
    if (glyph >= quint32(m_glyphCount))
        return std::nullopt;
    return cidKeyed() ? m_cids[int(glyph)] : glyph;
}
