#pragma once

#include "platform/pdf/PDFDocument.h"

#include <QString>
#include <QVector>

// A document cut at the outline items of one level: each item of that level (in outline order)
// starts a part that runs to the page before the next such item starts, the last to the end.
// Pages before the first item (a cover, a table of contents) go with the first part, so the
// parts together hold every page once.
class OutlineParts {
public:
    struct Part {
        QString title;
        int firstIndex = 0; // page indices, inclusive
        int lastIndex = 0;
    };

    // Deeper levels are not looked at, and no walk goes further than this many items: an
    // outline is a graph in the file and may hold cycles.
    static constexpr int kMaxLevel = 16;
    static constexpr int kMaxItems = 20000;

    // Level 1 is the top level. Empty when the document has no item with a page at that level.
    static QVector<Part> parts(const PDFDocument &document, int level);
    // Whether the document's outline has an item at the top level.
    static bool hasOutline(const PDFDocument &document);
    // A title made usable as a file name: no path separators or control characters, no
    // leading dots, at most 80 characters; "Part" when nothing is left.
    static QString fileNameFor(const QString &title);
};
