#pragma once

#include <QColor>
#include <QString>

// The 23 predefined stamps, by catalogue index 0..22: label, colours and shape. Every stamp is
// drawn by code from this table (PFStampDrawing); none is an image.
class PFStampCatalogue {
public:
    static constexpr int kCount = 23;

    enum class Form { Rectangle, Dated, Arrow };
    // Which arrow a stamp of the arrow form is; its label size and point depend on it.
    enum class Arrow { None, SignHere, StartHere, Witness };

    struct Entry {
        const char *labelKey;
        const char *widthKey; // the text whose width sets the stamp's width when placed
        QColor ink;           // outline and text, opaque
        QColor fill;          // used with alpha 0.9
        Form form;
        Arrow arrow;
    };

    static bool isValid(int index) { return index >= 0 && index < kCount; }
    // The entry of a valid index.
    static const Entry &entry(int index);

    // The localised label; empty for an invalid index.
    static QString label(int index);
    // The localised width key; for an index outside the catalogue the widest-looking label
    // ("不可公布"), as a placed stamp of such an index is sized.
    static QString widthText(int index);
    // The width of a stamp placed now: its width text in the bold label font of size 27.
    static double placementWidth(int index);
    static constexpr double kPlacementHeight = 38;
};
