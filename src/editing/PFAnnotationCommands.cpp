#include "PFAnnotationCommands.h"

#include "PFBasePDFView.h"

#include "platform/pdf/PDFPage.h"

PFAnnotationCommands::PFAnnotationCommands(PFBasePDFView *view) : QObject(view), m_view(view) {}

void PFAnnotationCommands::pfCopyMenuClick()
{
    const PDFAnnotation selection = m_view->dragAnnotation();
    if (!selection.isNull())
        m_view->setPfCopyAnnotation(selection.copy(m_view->document()));
}

void PFAnnotationCommands::pfCutMenuClick()
{
    const PDFAnnotation selection = m_view->dragAnnotation();
    const PDFPage page = selection.page();
    if (selection.isNull() || page.isNull())
        return;
    m_view->setPfHasChangePDF(true);
    m_view->setPfCopyAnnotation(selection.copy(m_view->document()));
    m_view->pfRemoveShapeAnnotation(selection, page.index());
}

void PFAnnotationCommands::pfPasteMenuClick()
{
    const PDFPage page = m_view->currentPage();
    if (page.isNull())
        return;
    const QRectF box = page.bounds();
    pasteAt(page.index(), QPointF(box.width() / 2, box.height() / 2));
}

void PFAnnotationCommands::pfDeleteMenuClick()
{
    const PDFAnnotation selection = m_view->dragAnnotation();
    const PDFPage page = selection.page();
    if (selection.isNull() || page.isNull())
        return;
    m_view->setPfHasChangePDF(true);
    m_view->pfRemoveShapeAnnotation(selection, page.index());
}

void PFAnnotationCommands::pfEdiitMenuItemClick(int index)
{
    switch (index) {
    case 0: pfCutMenuClick(); break;
    case 1: pfCopyMenuClick(); break;
    case 2: pfPasteMenuClick(); break;
    case 3: pfDeleteMenuClick(); break;
    default: break;
    }
}

void PFAnnotationCommands::pfPasteAnnotation(QPointF viewPoint)
{
    const PDFPage page = m_view->pageForPoint(viewPoint, true);
    if (page.isNull())
        return;
    pasteAt(page.index(), m_view->convertPointToPage(viewPoint, page));
}

void PFAnnotationCommands::pasteAt(int pageIndex, QPointF pageCentre)
{
    const PDFAnnotation clipboard = m_view->pfCopyAnnotation();
    if (clipboard.isNull())
        return;
    m_view->setPfHasChangePDF(true);
    // A copy each time, so the clipboard can be pasted again.
    PDFAnnotation pasted = clipboard.copy(m_view->document());
    QRectF bounds = pasted.bounds();
    bounds.moveCenter(pageCentre);
    pasted.setBounds(bounds);
    m_view->pfAddShapeAnnotation(pasted, pageIndex);
}

bool PFAnnotationCommands::pfDeleteItem(QPointF viewPoint)
{
    const PDFPage page = m_view->pageForPoint(viewPoint, true);
    if (page.isNull())
        return false;
    const QPointF point = m_view->convertPointToPage(viewPoint, page);
    for (const PDFAnnotation &annotation : page.annotations()) {
        if (annotation.bounds().contains(point)) {
            m_view->setPfHasChangePDF(true);
            m_view->pfRemoveShapeAnnotation(annotation, page.index());
            m_view->pfResetSameStatus();
            return true;
        }
    }
    return false;
}

void PFAnnotationCommands::pfCenter()
{
    PDFAnnotation selection = m_view->dragAnnotation();
    const PDFPage page = selection.page();
    if (selection.isNull() || page.isNull())
        return;
    m_view->setPfHasChangePDF(true);
    const QRectF box = page.bounds();
    QRectF bounds = selection.bounds();
    bounds.moveLeft(box.x() + (box.width() - bounds.width()) / 2);
    selection.setBounds(bounds);
    m_view->invalidatePage(page);
    m_view->viewport()->update();
}
