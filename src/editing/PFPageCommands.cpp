#include "PFPageCommands.h"

#include "PFBasePDFView.h"

#include "platform/pdf/PDFPage.h"
#include "platform/store/Localization.h"
#include "widgets/PFHudView.h"

PFPageCommands::PFPageCommands(PFBasePDFView *view) : QObject(view), m_view(view) {}

bool PFPageCommands::pfInsertPage(const PDFPage &page, bool after)
{
    PDFDocument document = m_view->document();
    if (page.isNull() || document.isNull() || page.index() < 0)
        return false;
    const int index = page.index() + (after ? 1 : 0);
    if (document.insertNewPage(page.bounds(), index).isNull())
        return false;
    m_view->setPfHasChangePDF(true);
    m_view->setPfHasInsertPage(true);
    m_view->layoutDocumentView();
    return true;
}

bool PFPageCommands::pfDeletePage(const PDFPage &page)
{
    PDFDocument document = m_view->document();
    if (page.isNull() || document.isNull() || page.index() < 0)
        return false;
    if (document.pageCount() < 2) {
        PFHudView::showHUDAddedTo(m_view, pfLocalized("不能删除了"));
        return false;
    }
    if (!document.removePage(page.index()))
        return false;
    m_view->setPfHasChangePDF(true);
    m_view->setPfHasInsertPage(true);
    m_view->layoutDocumentView();
    m_view->viewport()->update();
    return true;
}
