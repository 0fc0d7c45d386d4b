#pragma once

#include "platform/pdf/PDFPage.h"

#include <QTransform>

// The mapping from a page's space to the page as it is shown, upright, with the origin at the
// lower left of the box: p -> R(p - (x, y) + t) for the box (x, y, w, h), where R and t follow
// the page's rotation (90: R turns by -90 degrees, t = (-w, 0); 180: R turns by 180 degrees,
// t = (-w, -h); 270: R turns by +90 degrees, t = (0, -h); otherwise the identity). The
// program's own annotations lay their content out in the upright space and draw it through the
// inverse, so it reads upright on a rotated page and lands exactly inside their bounds.
QTransform pfTransformContextForBox(const PDFPage &page, PDFDisplayBox box);
