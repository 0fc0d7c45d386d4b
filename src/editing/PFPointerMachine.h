#pragma once

#include "PFAnnotationSelector.h"
#include "PFMarkupBuilder.h"

#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFPage.h"

#include <QObject>
#include <QPointF>
#include <QVector>

class PFBasePDFView;
class PFTextToolHooks;
class QMouseEvent;

// The press, drag, release and hover machine of the editing view: creates ink strokes, shapes,
// lines, arrows and links by dragging, places pictures by clicking, and hands presses on
// existing annotations to the selector. Text and Note tools go to the text-tool hooks; stamp,
// signature and link targets leave through signals.
class PFPointerMachine : public QObject {
    Q_OBJECT
public:
    explicit PFPointerMachine(PFBasePDFView &view);

    // The free-text editor and note popover; null while the view has none.
    void setTextToolHooks(PFTextToolHooks *hooks) { m_textHooks = hooks; }
    PFAnnotationSelector &selector() { return m_selector; }
    PFMarkupBuilder &markups() { return m_markups; }

    // The context menu was opened on the selection; a markup is then drawn outlined. Cleared
    // by every press.
    bool hasRightMouseClick() const { return m_hasRightMouseClick; }
    void setHasRightMouseClick(bool opened) { m_hasRightMouseClick = opened; }
    PFTextToolHooks *textToolHooks() const { return m_textHooks; }

    // Each answers whether the view's own handling (text selection, links) should run.
    bool mouseDown(QMouseEvent *event);
    bool mouseDragged(QMouseEvent *event);
    // Called after the view's own release handling.
    void mouseUp(QMouseEvent *event);
    void mouseMoved(QMouseEvent *event);
    // The gesture is abandoned (tool change, document replaced).
    void reset();

    // Pointer shape for a handle: corners crosshair, top and bottom middles up-down, left and
    // right middles left-right; other indices leave the pointer as it is.
    void pfShowMoveCursor(int index);

signals:
    // A press is about to be handled; the search field gives up the keyboard.
    void pfResignSearchBar();
    // A press selected an annotation, which may be a link to follow.
    void pfCheckClickLink();
    // A new link was drawn on the page at that index; its target is still to be chosen.
    void linkDrawn(const PDFAnnotation &link, int pageIndex);
    // A click with the Stamp or Sign tool on empty page area, in the page's space.
    void stampPlacementRequested(const PDFPage &page, QPointF point);
    void signPlacementRequested(const PDFPage &page, QPointF point);

private:
    bool beginGesture(QMouseEvent *event);
    QPointF pagePoint(QMouseEvent *event) const;
    bool pressOther(QMouseEvent *event);
    bool pressPlacing(QMouseEvent *event);
    void placePhoto(const PDFPage &page, QPointF p);
    void extendStroke(QPointF p);
    void finishStroke(QPointF p);
    void dragShape(QPointF p);
    void dragLine(QPointF p);
    void dragLink(QPointF p);
    void releaseTail();
    void hover(QMouseEvent *event);

    PFBasePDFView &m_view;
    PFTextToolHooks *m_textHooks = nullptr;
    PFAnnotationSelector m_selector;
    PFMarkupBuilder m_markups;
    bool m_hasRightMouseClick = false;
    bool m_hasAddShape = false;
    PDFAnnotation m_shape;            // the shape, line or link made in this gesture
    QVector<QPointF> m_drawPath;      // the freehand stroke being drawn, page space
    PDFAnnotation m_provisionalInk;   // on the page while drawing, not an undo step
};
