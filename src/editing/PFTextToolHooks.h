#pragma once

#include "platform/pdf/PDFPage.h"

#include <QRectF>

class QMouseEvent;

// The seam between the pointer machine and the free-text editor and note popover. The Text and
// Note tools' presses, drags and releases are handed over whole; the other tools only ask
// whether an editor is open and close it. The defaults describe a view without an editor.
class PFTextToolHooks {
public:
    virtual ~PFTextToolHooks() = default;

    // The in-place free-text editor is open; its frame in the space of its page.
    virtual bool isTextEditorOpen() const { return false; }
    virtual PDFPage textEditorPage() const { return {}; }
    virtual QRectF textEditorFrame() const { return {}; }
    // Closes the editor, committing its text.
    virtual void pfResetTextView() {}
    // A drag while the editor is open resizes it.
    virtual void textEditorDragged(QMouseEvent *) {}

    // The Text (10) and Note (11) tools. A press answers whether it was consumed; otherwise
    // the view's own handling (text selection) runs.
    virtual bool textToolPressed(QMouseEvent *) { return false; }
    virtual void textToolDragged(QMouseEvent *) {}
    virtual void textToolReleased(QMouseEvent *) {}
    virtual bool noteToolPressed(QMouseEvent *) { return false; }
};
