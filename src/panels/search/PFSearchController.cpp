#include "PFSearchController.h"

#include "PFPageSearchController.h"
#include "PFPageSearchTableCellView.h"

#include "editing/PFBasePDFView.h"
#include "platform/pdf/PDFTextSearch.h"

#include <QKeyEvent>
#include <QLineEdit>

PFSearchController::PFSearchController(PFBasePDFView *view, PFPageSearchController *page, QObject *parent)
    : QObject(parent), m_view(view), m_page(page)
{
    connect(m_page, &PFPageSearchController::pfPageSearchSelect, this, &PFSearchController::pfPageSearchSelect);
}

PFSearchController::~PFSearchController() = default;

void PFSearchController::pfSetSearchField(QLineEdit *field)
{
    m_field = field;
    connect(field, &QLineEdit::textChanged, this, &PFSearchController::pfSearchChange);
    field->installEventFilter(this);
}

bool PFSearchController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            pfFindNext(key->modifiers() & Qt::ShiftModifier);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void PFSearchController::pfFindNext(bool backwards)
{
    if (m_page->pfChooseNext(backwards ? -1 : 1))
        return;
    if (isFinding())
        return; // matches are on their way
    const QString text = m_field ? m_field->text() : QString();
    if (text.trimmed().isEmpty())
        return;
    if (text != m_searchedText)
        pfSearchChange(text); // a cancelled search starts again
    else
        emit pfNoMatch();
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
        m_search->setContextLength(PFPageSearchTableCellView::kContextLength);
        connect(m_search, &PDFTextSearch::matchFound, this, &PFSearchController::didMatchString);
        connect(m_search, &PDFTextSearch::finished, this, [this](bool cancelled) {
            if (cancelled) {
                m_searchedText.clear();
                return;
            }
            emit pfSearchFinished();
            if (m_matchCount == 0 && !m_searchedText.trimmed().isEmpty())
                emit pfNoMatch();
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
    m_matchCount = 0;
    m_searchedText = text;
    if (PDFTextSearch *search = searchForDocument())
        search->start(text);
}

void PFSearchController::didMatchString(const PDFSelection &match, const PDFSearchPreview &preview)
{
    if (!pfIsSearchPageShown || !pfIsSearchPageShown())
        emit pfShowSearchPanel();
    ++m_matchCount;
    m_page->pfAddSelection(match, preview);
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
