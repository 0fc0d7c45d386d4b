#pragma once

#include "pages/PFWatermarkModel.h"

#include <QTransform>

class PDFPage;
class QPainter;

// The watermark in force, drawn over each page that carries it by the same rule the saved file
// uses, so what the view shows is what Save writes.
namespace PFWatermarkOverlay {

// `pageTransform` maps the page's user space to the painter's.
void draw(QPainter &painter, const PDFPage &page, const QTransform &pageTransform, const PFWatermarkModel &model);

} // namespace PFWatermarkOverlay
