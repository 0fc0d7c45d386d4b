#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QVector>

// Content drawn by the program itself: a PDF content stream in a space of `size` points with the
// origin at the lower left, and the images it paints, named /Im0, /Im1 … in order. An image
// given as JPEG bytes is stored as they are; otherwise the QImage is stored losslessly, with its
// alpha channel as a soft mask. Each opacity becomes a graphics state /Gs0, /Gs1 … in order that
// sets both fill and stroke opacity.
struct PDFDrawing {
    struct Image {
        QImage image;
        QByteArray jpeg;
    };
    QByteArray content;
    QSizeF size;
    QVector<Image> images;
    QVector<double> opacities;
};
