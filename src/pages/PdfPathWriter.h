#pragma once

#include <QByteArray>
#include <QPainterPath>

// A QPainterPath as PDF path-construction operators (m, l, c, h), in the path's own coordinates.
class PdfPathWriter {
public:
    static QByteArray operators(const QPainterPath &path);
};
