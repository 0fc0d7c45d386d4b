#pragma once

#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFPage.h"

#include <QPointF>
#include <QString>

class PFBasePDFView;
class PFTextToolHooks;

// Matches presses to annotations and their handles, and moves and resizes the selection.
// It keeps the state of a grab: whether the selection is being dragged and where it was taken.
class PFAnnotationSelector {
public:
    PFAnnotationSelector(PFBasePDFView &view, PFTextToolHooks *&textHooks);

    // The page of the last press; every point below is in its space.
    PDFPage pfCurrentPage() const { return m_currentPage; }
    void setCurrentPage(const PDFPage &page) { m_currentPage = page; }
    bool isDragItem() const { return m_dragItem; }
    void setDragItem(bool dragging) { m_dragItem = dragging; }

    // The hit test: a handle index (0-7 of a shape, free text or the open editor, 0-3 of a
    // stamp, 0/1 the ends of a line), 8 for the body, -1 for nothing. A hit selects the
    // annotation; a miss drops the selection and closes the editor.
    int pfDirectClickAnnotationPoint(QPointF p);
    // Selects the first annotation of that subtype under p; true when there was one.
    bool pfIsClickAnnotation(const QString &subtype, QPointF p);
    // Selects the first annotation of any subtype under p; true when there was one.
    bool pfIsClickOtherAnnotationPoint(QPointF p);
    // The first annotation under p that is not a markup, selected as the None tool selects.
    bool selectForMove(QPointF p);

    // Moves the selection so that the grab point follows the pointer (viewport coordinates);
    // nothing while the pointer is off the selection's page.
    void moveSelection(QPointF viewportPoint);
    // Applies new bounds to the selection (shapes, free text, stamps).
    void resizeSelection(const QRectF &bounds);

    static bool isMarkup(const QString &subtype);

private:
    void select(const PDFAnnotation &annotation, QPointF p, bool keepOrigin);
    void grab(const PDFAnnotation &annotation, QPointF p);

    PFBasePDFView &m_view;
    PFTextToolHooks *&m_textHooks;
    PDFPage m_currentPage;
    bool m_dragItem = false;
    QPointF m_prePoint;   // the last pointer position, page space
    QPointF m_clickDelta; // from the selection's origin to the grab point
};
