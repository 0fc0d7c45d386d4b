#pragma once

#include "platform/pdf/PDFAnnotation.h"

#include <QFont>

// Writes a free-text box's appearance as glyph outlines, so every viewer shows the text as it
// was typed, Chinese included, without an embedded font: the engine's own free-text appearance
// knows only the standard Latin fonts.
class PFFreeTextAppearance {
public:
    // Inset of the text from the box's edges, in page units.
    static constexpr double kInset = 2.0;

    // Draws the box from its contents, font, size, colours, alignment and size of its bounds
    // and installs the drawing as its appearance. False when the box has no area.
    static bool apply(PDFAnnotation &annotation);

    // The font a box names; a family that does not exist falls back to "Helvetica".
    static QString usableFontName(const QString &name);
    static QFont font(const QString &name);
    // The box's alignment as Qt lays out text.
    static Qt::Alignment qtAlignment(PDFTextAlignment alignment);
};
