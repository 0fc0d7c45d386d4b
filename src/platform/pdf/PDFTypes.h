#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

// Value types shared by the PDF engine layer. All geometry is PDF user space of the page:
// origin at the lower left, y upwards.

enum class PDFDisplayBox { MediaBox = 0, CropBox = 1 };

// Ending style of a "Line" annotation's start or end.
enum class PDFLineStyle { None = 0, Square, Circle, Diamond, OpenArrow, ClosedArrow, Butt,
                          ROpenArrow, RClosedArrow, Slash };

// Text alignment of a free-text box (the PDF /Q entry): 0 left, 1 centre, 2 right.
enum class PDFTextAlignment { Left = 0, Center = 1, Right = 2 };

// A quadrilateral as PDF QuadPoints order it: upper left, upper right, lower left, lower right.
struct PDFQuad {
    QPointF upperLeft, upperRight, lowerLeft, lowerRight;
    QRectF boundingRect() const;
    bool operator==(const PDFQuad &) const = default;
};

// The border of an annotation (the /BS dictionary).
struct PDFBorder {
    double lineWidth = 1.0;
    bool operator==(const PDFBorder &) const = default;
};
