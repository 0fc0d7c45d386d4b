#pragma once

#include "PDFPage.h"

#include <QColor>
#include <QVector>

// A run of text, possibly across pages: per page, a range of characters in reading order.
class PDFSelection {
public:
    PDFSelection() = default;
    // The text between two points, which may lie on different pages of one document.
    static PDFSelection fromPoints(const PDFPage &fromPage, QPointF from, const PDFPage &toPage, QPointF to);

    bool isEmpty() const { return m_ranges.isEmpty(); }
    QVector<PDFPage> pages() const;
    // Union of the character boxes on that page, in page space; null when none.
    QRectF boundsForPage(const PDFPage &page) const;
    QString string() const;
    // One selection per line of text, in order.
    QVector<PDFSelection> selectionsByLine() const;
    // Extends the end of the selection by n characters on its last page.
    void extendAtEnd(int n);
    void addSelection(const PDFSelection &other);

    QColor color() const { return m_color; }
    void setColor(const QColor &color) { m_color = color; }

    bool operator==(const PDFSelection &other) const { return m_ranges == other.m_ranges; }

private:
    friend class PDFPage;
    friend class PDFTextSearch;
    friend struct PDFSearchJob;
    struct Range {
        PDFPage page;
        int first = 0; // character indices into the page's text, inclusive
        int last = -1;
        bool operator==(const Range &) const = default;
    };
    QVector<Range> m_ranges;
    QColor m_color;
};
