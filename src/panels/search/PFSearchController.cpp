#include "PFSearchController.h"

#include "PFPageSearchController.h"

#include "editing/PFBasePDFView.h"
#include "platform/pdf/PDFTextSearch.h"

#include <QLineEdit>

PFSearchController::PFSearchController(PFBasePDFView *view, PFPageSearchController *page, QObject *parent)
    : QObject(parent), m_view(view), m_page(page)
{
    connect(m_page, &PFPageSearchController::pfPageSearchSelect, this, &PFSearchController::pfPageSearchSelect);
}

PFSearchController::~PFSearchController() = default;

void PFSearchController::pfSetSearchField(QLineEdit *field)
{
    connect(field, &QLineEdit::textChanged, this, &PFSearchController::pfSearchChange);
}

bool PFSearchController::isFinding() const { return m_search && m_search->isRunning(); }

void PFSearchController::pfCancelSearch()
{
    if (m_search)
        m_search->cancel();
}

PDFTextSearch *PFSearchController::searchForDocument()
{
    if (!m_view || m_view->document().isNull())
        return nullptr;
    // A search belongs to one document; the view may have been given another since.
    if (!m_search || !(m_searchDocument == m_view->document())) {
        if (m_search) {
            // It may be the sender of the report being handled: let it go once that returns.
            m_search->disconnect(this);
            m_search->cancel();
            m_search->deleteLater();
        }
        m_search = new PDFTextSearch(m_view->document(), this);
        m_searchDocument = m_view->document();
        connect(m_search, &PDFTextSearch::matchFound, this, &PFSearchController::didMatchString);
        connect(m_search, &PDFTextSearch::finished, this, [this](bool cancelled) {
            if (!cancelled)
                emit pfSearchFinished();
        });
    }
    return m_search;
}

void PFSearchController::pfSearchChange(const QString &text)
{
    pfCancelSearch();
    // With pages inserted and not saved the panel cannot open before a save, so a search would
    // have nowhere to show its results.
    if (m_view && m_view->pfHasInsertPage() && pfIsPanelClosed && pfIsPanelClosed())
        return;
    m_page->pfClearAllData();
    if (PDFTextSearch *search = searchForDocument())
        search->start(text);
}

void PFSearchController::didMatchString(const PDFSelection &match)
{
    if (!pfIsSearchPageShown || !pfIsSearchPageShown())
        emit pfShowSearchPanel();
    m_page->pfAddSelection(match);
}

void PFSearchController::pfPageSearchSelect(const PDFSelection &match)
{
    if (!m_view)
        return;
    PDFSelection shown = match;
    shown.setColor(pfMatchColor());
    m_view->goToSelection(shown);
    m_view->setCurrentSelection(shown);
}
