#include "PFWatermarkOverlay.h"

#include "pages/WatermarkDrawing.h"
#include "platform/pdf/PDFPage.h"

#include <QPainter>

namespace PFWatermarkOverlay {

void draw(QPainter &painter, const PDFPage &page, const QTransform &pageTransform, const PFWatermarkModel &model)
{
    if (page.isNull() || !model.carriesWatermark(page.index() + 1))
        return;
    const QRectF box = page.bounds(PDFDisplayBox::CropBox);
    // The outline is laid out from the box's lower left, y upwards; the page transform turns
    // that y-up space into the view's y-down one.
    const QPainterPath outline = WatermarkDrawing::outline(model, box.size());
    if (outline.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(model.fontColor);
    painter.setTransform(QTransform::fromTranslate(box.left(), box.top()) * pageTransform, true);
    painter.drawPath(outline);
    painter.restore();
}

} // namespace PFWatermarkOverlay
