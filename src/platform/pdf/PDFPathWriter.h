#pragma once

#include <QByteArray>
#include <QPainterPath>

// A QPainterPath as PDF path-construction operators (m, l, c, h), in the path's own coordinates.
class PDFPathWriter {
public:
    // Filled paths close every subpath; a stroked open line must stay open, or the stroke
    // would gain a segment back to its start.
    enum class Subpaths { Close, KeepOpen };
    static QByteArray operators(const QPainterPath &path, Subpaths subpaths = Subpaths::Close);
};
