#include "PFBlankPaper.h"

#include "platform/pdf/PDFDocument.h"

namespace PFBlankPaper {

const QVector<Size> &sizes()
{
    static const QVector<Size> table = {
        {"Letter", {612, 792}}, {"B5", {516, 729}}, {"Legal", {612, 1008}},
        {"A0", {2382, 3370}},   {"A1", {1682, 2382}}, {"A2", {1191, 1684}},
        {"A3", {842, 1191}},    {"A4", {595, 842}},   {"A5", {420, 595}},
    };
    return table;
}

QSizeF sizeAt(int index)
{
    if (index < 0 || index >= sizes().size())
        index = kDefaultIndex;
    return sizes()[index].points;
}

bool write(const QString &path, int index)
{
    PDFDocument document = PDFDocument::create();
    if (document.isNull())
        return false;
    const QSizeF size = sizeAt(index);
    if (document.insertNewPage(QRectF(QPointF(0, 0), size), 0).isNull())
        return false;
    return document.write(path);
}

} // namespace PFBlankPaper
