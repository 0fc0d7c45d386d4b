#include "PFPlacementGeometry.h"

#include "editing/PFUprightTransform.h"

#include <algorithm>

QSizeF PFPlacementGeometry::pictureSize(QSize pixels)
{
    if (pixels.width() <= 0 || pixels.height() <= 0)
        return {};
    return {kPictureWidth, kPictureWidth * pixels.height() / pixels.width()};
}

QRectF PFPlacementGeometry::centredOnPage(const PDFPage &page, QPointF click, QSizeF uprightSize)
{
    if (uprightSize.isEmpty())
        return {};
    const QTransform upright = pfTransformContextForBox(page, PDFDisplayBox::CropBox);
    const QRectF shown = upright.mapRect(page.bounds(PDFDisplayBox::CropBox));
    const QPointF centre = upright.map(click);
    QRectF rect(centre - QPointF(uprightSize.width() / 2, uprightSize.height() / 2), uprightSize);
    // Kept on the page; an item larger than the page keeps its upper left corner on it (the
    // space is y-up, so the upper edge is the larger y).
    const double x = std::max(shown.left(), std::min(rect.left(), shown.right() - rect.width()));
    const double y = rect.height() > shown.height() ? shown.bottom() - rect.height()
                                                    : std::clamp(rect.top(), shown.top(), shown.bottom() - rect.height());
    rect.moveTo(x, y);
    return upright.inverted().mapRect(rect);
}
