#pragma once

#include <QByteArray>
#include <QVector>
#include <optional>

// How the glyphs of a bare CFF font program are selected from a PDF content stream. A name-keyed
// font is addressed by glyph position; a CID-keyed one by CID, which its charset maps to glyphs,
// and a subsetter keeps each kept glyph's original CID while it renumbers the glyphs.
class CffCharset {
public:
    // Nothing when the bytes are not a CFF font program that can be read to its charset.
    static std::optional<CffCharset> read(const QByteArray &cff);

    bool cidKeyed() const { return !m_cids.isEmpty(); }
    // The code that selects glyph `glyph`: its CID in a CID-keyed font, the glyph id otherwise.
    // Nothing for a glyph the font does not have.
    std::optional<quint32> code(quint32 glyph) const;

private:
    int m_glyphCount = 0;
    QVector<quint16> m_cids; // by glyph id; empty for a name-keyed font
};
