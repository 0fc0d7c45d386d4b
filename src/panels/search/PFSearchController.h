#pragma once

#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFSelection.h"
#include "platform/pdf/PDFTextSearch.h"

#include <QObject>
#include <QPointer>
#include <functional>

class PFBasePDFView;
class PFPageSearchController;
class QLineEdit;

// Drives the document's text search from the toolbar's search field and fills the search page
// as matches arrive. The window's controller owns the side panel: it answers the two questions
// below, opens the panel on pfShowSearchPanel, and calls pfCancelSearch when the user leaves
// the search page or closes the panel.
class PFSearchController : public QObject {
    Q_OBJECT
public:
    // The colour a chosen match is shown in.
    static QColor pfMatchColor() { return QColor(180, 214, 56); }

    PFSearchController(PFBasePDFView *view, PFPageSearchController *page, QObject *parent = nullptr);
    ~PFSearchController() override;

    // Every change of the field's text starts a new search.
    void pfSetSearchField(QLineEdit *field);

    // The side panel is closed.
    std::function<bool()> pfIsPanelClosed;
    // The side panel is open on the search page.
    std::function<bool()> pfIsSearchPageShown;

    void pfSearchChange(const QString &text);
    void didMatchString(const PDFSelection &match, const PDFSearchPreview &preview);
    // Shows a chosen match in the view, in the match colour.
    void pfPageSearchSelect(const PDFSelection &match);
    void pfCancelSearch();
    bool isFinding() const;
    // Enter, F3 and Shift+F3: shows the next (previous) match in the view; says so when the
    // finished search found nothing.
    void pfFindNext(bool backwards = false);

signals:
    // A match arrived while the panel is closed or shows another page: open it on the search page.
    void pfShowSearchPanel();
    // The search ran to its end (not cancelled).
    void pfSearchFinished();
    // A search for a non-empty text ran to its end without a match.
    void pfNoMatch();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PDFTextSearch *searchForDocument();

    QPointer<PFBasePDFView> m_view;
    PFPageSearchController *m_page;
    PDFTextSearch *m_search = nullptr;
    PDFDocument m_searchDocument;
    QPointer<QLineEdit> m_field;
    QString m_searchedText;
    int m_matchCount = 0;
};
