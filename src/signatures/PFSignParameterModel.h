#pragma once

#include "stamps/PFPicture.h"

#include <QColor>
#include <QString>
#include <optional>

// A signature on its way to the page: made in the signature tab or picked from the kept ones,
// and held by the PDF view until the next click places it.
struct PFSignParameterModel {
    enum SignType : qint64 { Typed = 1, Drawn = 2, Image = 3 };

    qint64 signType = 0;
    std::optional<QString> fontName;  // typed: font family
    std::optional<QColor> colorT;     // typed: text colour
    std::optional<QString> inputText; // typed: the text
    PFPicture imageT;                 // a new drawn or image signature: the picture itself
    std::optional<QString> imagePath; // a kept drawn or image signature: its cached file
    std::optional<QString> dateID;    // a kept signature: its record's key
};
