#include "WatermarkDrawing.h"

#include "platform/pdf/PDFPathWriter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QTransform>
#include <cmath>

QPainterPath WatermarkDrawing::outline(const PFWatermarkModel &model, QSizeF pageSize)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (model.inputText.isEmpty() || pageSize.isEmpty())
        return path;
    // An unknown family falls back to the platform's default font; the drawing still succeeds.
    QFont font(model.fontName);
    font.setPointSizeF(model.fontSize > 0 ? model.fontSize : 12);
    const QFontMetricsF metrics(font);
    const QStringList lines = model.inputText.split(u'\n');
    double textWidth = 0;
    for (const QString &line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    const double textHeight = metrics.lineSpacing() * (lines.size() - 1) + metrics.height();

    // Lines laid out downwards from the top left of the text box (Qt's y-down space).
    for (int i = 0; i < lines.size(); ++i)
        path.addText(QPointF(0, metrics.ascent() + i * metrics.lineSpacing()), font, lines[i]);

    // Into page space: the text box centred, y flipped upwards, then turned about the centre.
    const double w = pageSize.width(), h = pageSize.height();
    const QTransform place(1, 0, 0, -1, (w - textWidth) * 0.5, (h - textHeight) * 0.5 + textHeight);
    QTransform turn;
    turn.translate(w / 2, h / 2);
    turn.rotate(model.degree);
    turn.translate(-w / 2, -h / 2);
    return (place * turn).map(path);
}

PDFDrawing WatermarkDrawing::drawing(const PFWatermarkModel &model, QSizeF pageSize)
{
    PDFDrawing result;
    result.size = pageSize;
    const QPainterPath path = outline(model, pageSize);
    if (path.isEmpty())
        return result;
    const QColor colour = model.fontColor.toRgb();
    result.opacities.append(colour.alphaF());
    result.content = "q /Gs0 gs ";
    result.content += QByteArray::number(colour.redF(), 'f', 4) + ' ' + QByteArray::number(colour.greenF(), 'f', 4) + ' '
                      + QByteArray::number(colour.blueF(), 'f', 4) + " rg\n";
    result.content += PDFPathWriter::operators(path);
    result.content += "f\nQ\n";
    return result;
}
