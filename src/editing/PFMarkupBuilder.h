#pragma once

#include <QColor>

class PFBasePDFView;

// Text markups from the view's text selection: the live colour while selecting, and one
// markup annotation per page on release.
class PFMarkupBuilder {
public:
    explicit PFMarkupBuilder(PFBasePDFView &view);

    // The selection shows in the highlight colour while the Highlight tool selects, and in the
    // view's own selection colour otherwise.
    void selectionChangedNotification();
    // One "Highlight", "Underline" or "StrikeOut" (by the current tool) per page of the
    // selection, each with one quadrilateral per line in line order; then clears the selection.
    void pfHighlight();

private:
    PFBasePDFView &m_view;
    QColor m_plainSelectionColor; // the view's own, restored after a highlight
};
