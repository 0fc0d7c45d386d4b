#pragma once

#include "platform/pdf/PDFDrawing.h"

#include <QHash>
#include <QRawFont>
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
    struct Glyph {
        quint32 id;
        double advance; // thousandths of the em
        QString text;   // the characters it shows
    };
    // The lines shaped with the font's own file, the one the subset is made from. Nothing when
    // the file cannot be found or lacks a glyph for some character.
    static std::optional<QVector<QVector<Glyph>>> shape(const QRawFont &font, const QStringList &lines);

    // `glyphs` are the font's glyph ids as the toolkit laid them out, `text` what they show;
    // `codes` receives the two-byte code the content must use for each: its id in the subset, or
    // its CID when the subset is a CID-keyed program.
    static std::optional<PDFDrawing::Font> make(const QRawFont &font, const QSet<quint32> &glyphs,
                                                const QMap<quint32, QString> &text, QHash<quint32, quint32> *codes);
};
