#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// One kept signature, as the signature store saves it. Every attribute is optional; an absent
// one is stored as NULL.
struct PFSignData {
    // The store's own identity of the record; 0 until it is inserted.
    qint64 objectID = 0;

    std::optional<QString> dateID;     // creation time "yyyyMMddHHmmss"; deletion finds records by it
    std::optional<qint64> signType;    // 1 typed, 2 drawn, 3 image
    std::optional<QString> fontName;   // typed: font family
    std::optional<QString> inputText;  // typed: the text
    std::optional<QByteArray> fontColor; // typed: JSON text of the colour record
    std::optional<QString> imagePath;  // drawn or image: file name without folder or extension

    bool operator==(const PFSignData &) const = default;
};
