#pragma once

#include <QObject>
#include <QPointF>

class PFBasePDFView;

// The annotation clipboard (cut, copy, paste), deletion and centring, from the context menu
// and the Edit menu. The clipboard belongs to the view, not to the system.
class PFAnnotationCommands : public QObject {
    Q_OBJECT
public:
    explicit PFAnnotationCommands(PFBasePDFView *view);

    // Cut (undoable) and copy the selection onto the view's clipboard.
    void pfCutMenuClick();
    void pfCopyMenuClick();
    // Pastes a copy centred on the current page.
    void pfPasteMenuClick();
    // Removes the selection (undoable).
    void pfDeleteMenuClick();
    // The Edit menu: 0 cut, 1 copy, 2 paste, 3 delete.
    void pfEdiitMenuItemClick(int index);

    // Pastes a copy centred on a viewport point, on the page nearest to it.
    void pfPasteAnnotation(QPointF viewPoint);
    // Removes the first annotation under a viewport point (undoable). False when none is there.
    bool pfDeleteItem(QPointF viewPoint);
    // Centres the selection horizontally on its page.
    void pfCenter();

private:
    void pasteAt(int pageIndex, QPointF pageCentre);

    PFBasePDFView *m_view;
};
