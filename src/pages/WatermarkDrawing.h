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
    // The text in the model's colour and opacity as a drawing for a page: real text in embedded
    // font subsets, so readers can find, select and search it; filled outlines when a font's
    // licence forbids embedding.
    static PDFDrawing drawing(const PFWatermarkModel &model, QSizeF pageSize);
};
