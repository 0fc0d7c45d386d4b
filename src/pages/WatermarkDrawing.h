#pragma once

#include "PFWatermarkModel.h"
#include "platform/pdf/PDFDrawing.h"

#include <QPainterPath>

// The one rule by which a watermark is laid on a page, shared by the view and the written file:
// the text's box is centred on the page and turned by the angle about the page centre.
class WatermarkDrawing {
public:
    // The text as glyph outlines in page space (origin at the box's lower left, y upwards) for a
    // page box of `pageSize`. Empty for empty text.
    static QPainterPath outline(const PFWatermarkModel &model, QSizeF pageSize);
    // The outline filled with the model's colour and opacity, for PDFPage::appendContent.
    static PDFDrawing drawing(const PFWatermarkModel &model, QSizeF pageSize);
};
