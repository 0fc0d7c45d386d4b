#pragma once

#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QRectF>
#include <QString>
#include <QSizeF>
#include <QVector>

// Content drawn by the program itself: a PDF content stream in a space of `size` points with the
// origin at the lower left, and the images it paints, named /Im0, /Im1 … in order. An image
// given as JPEG bytes is stored as they are; otherwise the QImage is stored losslessly, with its
// alpha channel as a soft mask. Each opacity becomes a graphics state /Gs0, /Gs1 … in order that
// sets both fill and stroke opacity. Each font becomes /F0, /F1 … in order: a composite font
// whose two-byte codes select glyphs of the embedded font program: by glyph id, or by CID when
// the program is a CID-keyed CFF font.
struct PDFDrawing {
    struct Image {
        QImage image;
        QByteArray jpeg;
    };
    struct Font {
        QByteArray file;        // a TrueType file, or a bare CFF font program when `cff`
        bool cff = false;       // PostScript (CFF) outlines rather than TrueType ones
        QByteArray name;        // the PostScript name, with its subset tag
        QMap<quint32, double> widths; // code → advance, in thousandths of the em
        QMap<quint32, QString> text;  // code → the text it shows, for copying and search
        QRectF bbox;            // thousandths of the em, y upwards
        double ascent = 800;
        double descent = -200;
    };
    QByteArray content;
    QSizeF size;
    QVector<Image> images;
    QVector<double> opacities;
    QVector<Font> fonts;
};
