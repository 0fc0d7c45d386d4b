#include "PFHighlightRows.h"

#include "platform/pdf/PDFDocument.h"
#include "platform/pdf/PDFSelection.h"
#include "platform/store/Localization.h"
#include "platform/system/DateFormatter.h"

#include <QFont>
#include <QFontMetricsF>
#include <cmath>

namespace PFHighlightRows {

namespace {

constexpr int kUnderline = 2;

// The text the annotation marks: between its first and fourth quadrilateral points (the third
// and fourth for an underline), on its own page.
QString markedText(const PDFPage &page, const PDFAnnotation &annotation, int kind)
{
    const QVector<PDFQuad> quads = annotation.quadrilateralPoints();
    if (quads.isEmpty())
        return {};
    const PDFQuad &first = quads.constFirst();
    const QPointF from = kind == kUnderline ? first.lowerLeft : first.upperLeft;
    return page.selectionFromPoint(from, first.lowerRight).string();
}

} // namespace

const QStringList &pfAnnotationTypes()
{
    static const QStringList types{"Highlight", "StrikeOut", "Underline", "Text", "Stamp", "FreeText", "Line",
                                   "Circle", "Square", "Polygon", "PolyLine", "Squiggly", "Caret", "Ink"};
    return types;
}

double rowHeight(const PFHighlightModel &row)
{
    if (row.isHeader() || !row.contents)
        return 30;
    if (row.contents->isEmpty())
        return 25;
    QFont font;
    font.setPixelSize(13);
    const QRectF text = QFontMetricsF(font).boundingRect(QRectF(0, 0, 187, 1e6), Qt::TextWordWrap, *row.contents);
    return std::max(40.0, std::ceil(text.height()) + 25);
}

QVector<PFHighlightModel> pfBuildRows(const PDFDocument &document, const QLocale &locale,
                                      const std::atomic_bool *cancelled)
{
    const QString dateFormat = DateFormatter::abbreviatedDateTimeFormat(locale);
    QVector<PFHighlightModel> rows;
    const QStringList &types = pfAnnotationTypes();
    const QString pageWord = pfLocalized("页面");
    const int count = document.pageCount();
    for (int i = 0; i < count; ++i) {
        if (cancelled && cancelled->load())
            break;
        const PDFPage page = document.page(i);
        bool headed = false;
        for (const PDFAnnotation &annotation : page.annotations()) {
            const int kind = int(types.indexOf(annotation.type()));
            if (kind < 0)
                continue;
            if (!headed) {
                PFHighlightModel header;
                header.headerStr = QStringLiteral("%1 %2").arg(pageWord).arg(i + 1);
                header.page = i;
                rows.append(header);
                headed = true;
            }
            PFHighlightModel row;
            row.highlightType = kind;
            row.positionFrame = annotation.bounds();
            row.page = i;
            row.highlightColor = annotation.color().value_or(QColor(Qt::transparent));
            row.userName = annotation.userName();
            const QDateTime date = annotation.modificationDate();
            row.dateStr = date.isValid() ? locale.toString(date, dateFormat) : QString();
            row.annotationTemp = annotation;
            row.fontColor = annotation.interiorColor().value_or(annotation.fontColor());
            const QString contents = annotation.contents();
            row.contents = contents.isEmpty() ? markedText(page, annotation, kind) : contents;
            row.rowHeight = rowHeight(row);
            rows.append(row);
        }
    }
    for (PFHighlightModel &row : rows)
        if (row.isHeader())
            row.rowHeight = rowHeight(row);
    return rows;
}

} // namespace PFHighlightRows
