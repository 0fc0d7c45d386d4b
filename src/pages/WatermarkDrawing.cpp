#include "WatermarkDrawing.h"

#include "FontSubset.h"
#include "platform/pdf/PDFPathWriter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QRawFont>
#include <QTransform>
#include <cmath>

namespace {

// The text's lines, font and metrics, and the transform from the text box (origin at its top
// left, y downwards) to page space.
struct Layout {
    QFont font;
    QStringList lines;
    double ascent = 0;
    double lineSpacing = 0;
    QTransform toPage;
};

Layout layOut(const PFWatermarkModel &model, QSizeF pageSize)
{
    Layout layout;
    // An unknown family falls back to the platform's default font; the drawing still succeeds.
    // The size is in page units (points), whatever the screen's resolution.
    layout.font = QFont(model.fontName);
    layout.font.setPixelSize(std::max(1, int(std::lround(model.fontSize > 0 ? model.fontSize : 12))));
    const QFontMetricsF metrics(layout.font);
    layout.lines = model.inputText.split(u'\n');
    double textWidth = 0;
    for (const QString &line : layout.lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    layout.ascent = metrics.ascent();
    layout.lineSpacing = metrics.lineSpacing();
    const double textHeight = metrics.lineSpacing() * (layout.lines.size() - 1) + metrics.height();

    // The text box centred, y flipped upwards, then turned about the page centre.
    const double w = pageSize.width(), h = pageSize.height();
    const QTransform place(1, 0, 0, -1, (w - textWidth) * 0.5, (h - textHeight) * 0.5 + textHeight);
    QTransform turn;
    turn.translate(w / 2, h / 2);
    turn.rotate(model.degree);
    turn.translate(-w / 2, -h / 2);
    layout.toPage = place * turn;
    return layout;
}

QByteArray number(double value) { return QByteArray::number(value, 'f', 4); }

QByteArray colourAndOpacity(const PFWatermarkModel &model)
{
    const QColor colour = model.fontColor.toRgb();
    return "/Gs0 gs " + number(colour.redF()) + ' ' + number(colour.greenF()) + ' ' + number(colour.blueF()) + " rg\n";
}

// The watermark as text in an embedded font subset; nothing when the font cannot be embedded.
std::optional<PDFDrawing> textDrawing(const PFWatermarkModel &model, QSizeF pageSize)
{
    const Layout layout = layOut(model, pageSize);
    const QRawFont raw = QRawFont::fromFont(layout.font);
    const auto lines = FontSubset::shape(raw, layout.lines);
    if (!lines)
        return std::nullopt;
    QSet<quint32> used;
    QMap<quint32, QString> texts;
    for (const auto &line : *lines)
        for (const FontSubset::Glyph &glyph : line) {
            used.insert(glyph.id);
            if (!texts.contains(glyph.id))
                texts.insert(glyph.id, glyph.text);
        }
    QHash<quint32, quint32> codes;
    std::optional<PDFDrawing::Font> font = FontSubset::make(raw, used, texts, &codes);
    if (!font)
        return std::nullopt;

    PDFDrawing result;
    result.size = pageSize;
    result.fonts.append(*font);
    result.opacities.append(model.fontColor.toRgb().alphaF());
    const QTransform &m = layout.toPage;
    const double size = layout.font.pixelSize();
    result.content = "q " + colourAndOpacity(model);
    result.content += number(m.m11()) + ' ' + number(m.m12()) + ' ' + number(m.m21()) + ' ' + number(m.m22()) + ' '
                      + number(m.dx()) + ' ' + number(m.dy()) + " cm\nBT\n/F0 " + number(size) + " Tf\n";
    for (int i = 0; i < lines->size(); ++i) {
        if (lines->at(i).isEmpty())
            continue;
        // The text box runs downwards, so each line is set with its glyphs turned upright.
        result.content += "1 0 0 -1 0 " + number(layout.ascent + i * layout.lineSpacing) + " Tm\n[";
        for (const FontSubset::Glyph &glyph : lines->at(i)) {
            const quint32 code = codes.value(glyph.id);
            result.content += '<' + QByteArray::number(code, 16).rightJustified(4, '0') + '>';
            // Shaping may move a glyph (kerning) from where the font's own advance puts it.
            const double shift = glyph.advance - font->widths.value(code);
            if (std::abs(shift) > 0.01)
                result.content += number(-shift);
        }
        result.content += "] TJ\n";
    }
    result.content += "ET\nQ\n";
    return result;
}

} // namespace

QPainterPath WatermarkDrawing::outline(const PFWatermarkModel &model, QSizeF pageSize)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (model.inputText.isEmpty() || pageSize.isEmpty())
        return path;
    const Layout layout = layOut(model, pageSize);
    // Lines laid out downwards from the top left of the text box.
    for (int i = 0; i < layout.lines.size(); ++i)
        path.addText(QPointF(0, layout.ascent + i * layout.lineSpacing), layout.font, layout.lines[i]);
    return layout.toPage.map(path);
}

PDFDrawing WatermarkDrawing::drawing(const PFWatermarkModel &model, QSizeF pageSize)
{
    if (!model.inputText.isEmpty() && !pageSize.isEmpty())
        if (std::optional<PDFDrawing> text = textDrawing(model, pageSize))
            return *text;
    // A font that may not be embedded is drawn as filled outlines.
    PDFDrawing result;
    result.size = pageSize;
    const QPainterPath path = outline(model, pageSize);
    if (path.isEmpty())
        return result;
    result.opacities.append(model.fontColor.toRgb().alphaF());
    result.content = "q " + colourAndOpacity(model);
    result.content += PDFPathWriter::operators(path);
    result.content += "f\nQ\n";
    return result;
}
