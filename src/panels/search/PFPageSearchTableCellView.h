#pragma once

#include "platform/pdf/PDFTextSearch.h"

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

    void pfSetPreview(const PDFSearchPreview &preview);
    QLabel *pfPageNum() const { return m_pageNum; }
    QLabel *pfContentLB() const { return m_content; }

    // "Page <number>" of the match's first page, its printed label beside it when that differs.
    static QString pageText(const PDFSearchPreview &preview);
    // The match in red followed by the text after it, as rich text.
    static QString contentText(const PDFSearchPreview &preview);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *m_pageNum;
    QLabel *m_content;
};
