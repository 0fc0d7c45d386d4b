#include "PFAnnotationCommands.h"

#include "PFAnnotationGeometry.h"
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
    pasteAt(page.index(), box.center());
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
    const PDFDocument document = m_view->document();
    if (clipboard.isNull() || pageIndex < 0 || pageIndex >= document.pageCount())
        return;
    m_view->setPfHasChangePDF(true);
    // A copy each time, so the clipboard can be pasted again. It keeps its size and is moved,
    // points and all, so that it stays on the page, centred on the point where it can be.
    PDFAnnotation pasted = clipboard.copy(document);
    const QRectF box = document.page(pageIndex).bounds();
    PFAnnotationGeometry::pfMoveAnnotation(pasted, PFAnnotationGeometry::pfOriginInside(pasted.bounds(), pageCentre, box));
    m_view->pfAddShapeAnnotation(pasted, pageIndex);
    // The copy is what the user acts on next: it is selected, as if clicked.
    m_view->pfSelectAnnotation(pasted);
    m_view->pfSelectStatus(pasted);
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
    const QRectF bounds = selection.bounds();
    PFAnnotationGeometry::pfMoveAnnotation(selection, QPointF(box.x() + (box.width() - bounds.width()) / 2, bounds.y()));
    m_view->invalidatePage(page);
    m_view->viewport()->update();
}
