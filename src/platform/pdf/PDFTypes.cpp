#include "PDFTypes.h"

#include <QPolygonF>

QRectF PDFQuad::boundingRect() const
{
    return QPolygonF({upperLeft, upperRight, lowerRight, lowerLeft}).boundingRect();
}
