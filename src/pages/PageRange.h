#pragma once

#include <QString>
#include <QVector>

// The user's page-range text, such as "1,3-6,10": comma-separated items, each a number or a
// range A-B (reversed ranges count like ordered ones). Pieces are read leniently: leading blanks,
// an optional sign, digits up to the first other character; no digits reads as 0.
class PageRange {
public:
    // The page numbers (1-based, ascending, each once) that the text names within 1..pageCount.
    // Ranges are clipped to the document before they are enumerated, so a text such as
    // 1-99999999999 costs no more than the document's own pages.
    static QVector<int> pages(const QString &text, int pageCount);

    // One piece read as an integer, saturating at the 64-bit limits.
    static qint64 readNumber(const QString &piece);
};
