#pragma once

#include "platform/pdf/PDFSelection.h"

#include <QWidget>

class QLabel;

// The cell of one search match: the page label above the match, shown in red, and the text
// that follows it. One instance is filled and drawn for each visible row.
class PFPageSearchTableCellView : public QWidget {
    Q_OBJECT
public:
    // Characters of text shown after the match.
    static constexpr int kContextLength = 120;
    static constexpr int kHeight = 56;

    explicit PFPageSearchTableCellView(QWidget *parent = nullptr);

    void pfSetMatch(const PDFSelection &match);
    QLabel *pfPageNum() const { return m_pageNum; }
    QLabel *pfContentLB() const { return m_content; }

    // "Page <label>" of the match's first page.
    static QString pageText(const PDFSelection &match);
    // The match followed by up to kContextLength characters, as rich text in which the first
    // case-insensitive occurrence of the match's own text is red.
    static QString contentText(const PDFSelection &match);

private:
    QLabel *m_pageNum;
    QLabel *m_content;
};
