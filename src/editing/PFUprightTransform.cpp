#include "PFUprightTransform.h"

QTransform pfTransformContextForBox(const PDFPage &page, PDFDisplayBox box)
{
    const QRectF b = page.bounds(box);
    const double w = b.width(), h = b.height();
    double turn = 0; // degrees, counter-clockwise in y-up space
    QPointF t;
    switch (page.rotation()) {
    case 90:
        turn = -90;
        t = {-w, 0};
        break;
    case 180:
        turn = 180;
        t = {-w, -h};
        break;
    case 270:
        turn = 90;
        t = {0, -h};
        break;
    default:
        break;
    }
    // QTransform composes left to right: first the translation, then the turn. Right angles
    // are written exactly so that edges stay on whole points.
    const int c = turn == 0 ? 1 : turn == 180 ? -1 : 0;
    const int s = turn == 90 ? 1 : turn == -90 ? -1 : 0;
    const QTransform rotate(c, s, -s, c, 0, 0);
    return QTransform::fromTranslate(t.x() - b.x(), t.y() - b.y()) * rotate;
}
