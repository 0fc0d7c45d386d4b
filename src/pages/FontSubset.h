#pragma once

#include "platform/pdf/PDFDrawing.h"

#include <QHash>
#include <QRawFont>
#include <QString>
#include <QSet>
#include <QStringList>
#include <QVector>
#include <optional>

// A font cut down to the glyphs a drawing uses, for embedding, by HarfBuzz's subsetter: TrueType
// outlines as a TrueType file, PostScript (CFF) outlines, name-keyed or CID-keyed, as the bare
// CFF program. Nothing when the font's file cannot be found, its licence forbids embedding or its
// outlines are of another kind; the caller then draws outlines instead.
class FontSubset {
public:
    // A face of a font file.
    struct Face {
        QString path;
        int index = 0; // in a collection
        QString family;
        bool operator==(const Face &other) const { return path == other.path && index == other.index; }
    };
    struct Glyph {
        int face;       // in Shaped::faces
        quint32 id;
        double advance; // thousandths of the em
        QString text;   // the characters it shows
    };
    struct Shaped {
        QVector<Face> faces; // the font's own first, then those it falls back to
        QVector<QVector<Glyph>> lines;
    };
    // The lines shaped with the font's own file, and for characters it lacks with the faces the
    // system falls back to, as the toolkit draws them. Nothing when the font's file cannot be
    // found or no face has a glyph for some character.
    static std::optional<Shaped> shape(const QRawFont &font, const QStringList &lines);

    // `glyphs` are glyph ids of `face`, `text` what they show. `codes` receives the two-byte code
    // the content must use for each: its id in the subset, or its CID when the subset is a
    // CID-keyed program.
    static std::optional<PDFDrawing::Font> make(const Face &face, const QSet<quint32> &glyphs,
                                                const QMap<quint32, QString> &text, QHash<quint32, quint32> *codes);
};
