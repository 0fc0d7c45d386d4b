#pragma once

#include <QString>
#include <optional>

// The label ("12,Helvetica") in which a free-text box keeps the font size and name it was typed
// with, so the box reopens with them whatever the engine's own font entry says.
class PFFontLabel {
public:
    static QString format(long size, const QString &fontName);

    // The parts of a label split at ","; `size` only when the first part is a whole number.
    struct Parts {
        std::optional<int> size;
        QString fontName; // empty when there is no second part
        int count = 0;    // how many parts the label has
    };
    static Parts parse(const QString &label);
};
