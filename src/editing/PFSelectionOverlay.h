#pragma once

class PDFPage;
class PFBasePDFView;
class PFTextToolHooks;
class QPainter;

// Draws what shows the selection over a page: handles and dashed frames, line ends, the tinted
// link, the outlined markup after a secondary click, and the open free-text editor's frame.
namespace PFSelectionOverlay {

// `painter` is in viewport coordinates. `markupOutlined`: the context menu was opened on the
// selected markup.
void draw(QPainter &painter, const PDFPage &page, const PFBasePDFView &view,
          const PFTextToolHooks *textHooks, bool markupOutlined);

} // namespace PFSelectionOverlay
