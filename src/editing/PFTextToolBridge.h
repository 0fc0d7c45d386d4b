#pragma once

#include "PFTextToolHooks.h"

#include <QPointF>
#include <optional>
#include <QRectF>

class PFBasePDFView;

// Connects the pointer machine to the view's free-text editor and note tool: turns the Text and
// Note tools' mouse events into page points for them, and resizes the open editor when one of
// its handles is dragged.
class PFTextToolBridge : public PFTextToolHooks {
public:
    explicit PFTextToolBridge(PFBasePDFView &view);

    bool isTextEditorOpen() const override;
    PDFPage textEditorPage() const override;
    QRectF textEditorFrame() const override;
    void pfResetTextView() override;
    void textEditorDragged(QMouseEvent *event) override;

    bool textToolPressed(QMouseEvent *event) override;
    void textToolReleased(QMouseEvent *event) override;
    bool noteToolPressed(QMouseEvent *event) override;

private:
    // Makes the page under the pointer the current one and starts the gesture record there;
    // the page point, or nothing when the pointer is over no page.
    std::optional<QPointF> beginGesture(QMouseEvent *event);
    bool pressWithEditorOpen(QMouseEvent *event);
    // The handle of the selected free-text box near p, or -1.
    int selectedBoxHandle(QPointF p) const;

    PFBasePDFView &m_view;
    QPointF m_pressPosition; // viewport coordinates, to tell a click from a drag
    QRectF m_resizeOrigin;   // the editor's frame in page space when a handle was grabbed
    bool m_resizing = false; // a handle of the editor is being dragged
};
