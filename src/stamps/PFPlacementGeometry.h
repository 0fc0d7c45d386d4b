#pragma once

#include "platform/pdf/PDFPage.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Where a click puts a picture, stamp or signature: sized as the page is shown (upright, also
// on a rotated page), centred on the click, and moved inwards so that it stays on the page.
class PFPlacementGeometry {
public:
    // Pictures are placed this wide, their height following the image's proportions.
    static constexpr double kPictureWidth = 140;

    // The size of a placed picture; empty for an image without width or height.
    static QSizeF pictureSize(QSize pixels);
    // Bounds in page space for an item of `uprightSize` centred on the page point `click`.
    static QRectF centredOnPage(const PDFPage &page, QPointF click, QSizeF uprightSize);
};
