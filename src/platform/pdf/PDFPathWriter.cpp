#include "PDFPathWriter.h"

namespace {

void appendPoint(QByteArray &out, double x, double y)
{
    out += QByteArray::number(x, 'f', 3);
    out += ' ';
    out += QByteArray::number(y, 'f', 3);
    out += ' ';
}

} // namespace

QByteArray PDFPathWriter::operators(const QPainterPath &path, Subpaths subpaths)
{
    const bool close = subpaths == Subpaths::Close;
    QByteArray out;
    out.reserve(path.elementCount() * 24);
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            if (i > 0 && close)
                out += "h\n";
            appendPoint(out, e.x, e.y);
            out += "m\n";
            break;
        case QPainterPath::LineToElement:
            appendPoint(out, e.x, e.y);
            out += "l\n";
            break;
        case QPainterPath::CurveToElement:
            // A cubic: this control point and the next two data elements.
            if (i + 2 < path.elementCount()) {
                appendPoint(out, e.x, e.y);
                appendPoint(out, path.elementAt(i + 1).x, path.elementAt(i + 1).y);
                appendPoint(out, path.elementAt(i + 2).x, path.elementAt(i + 2).y);
                out += "c\n";
            }
            i += 2;
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    if (!out.isEmpty() && close)
        out += "h\n";
    return out;
}
