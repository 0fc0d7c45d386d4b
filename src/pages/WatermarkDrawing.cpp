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
    const std::optional<FontSubset::Shaped> shaped = FontSubset::shape(raw, layout.lines);
    if (!shaped)
        return std::nullopt;
    // Each face becomes a font of its own, /F0 for the font's own face.
    const qsizetype faceCount = shaped->faces.size();
    QVector<QSet<quint32>> used(faceCount);
    QVector<QMap<quint32, QString>> texts(faceCount);
    for (const auto &line : shaped->lines)
        for (const FontSubset::Glyph &glyph : line) {
            used[glyph.face].insert(glyph.id);
            if (!texts[glyph.face].contains(glyph.id))
                texts[glyph.face].insert(glyph.id, glyph.text);
        }
    PDFDrawing result;
    QVector<QHash<quint32, quint32>> codes(faceCount);
    for (qsizetype face = 0; face < faceCount; ++face) {
        std::optional<PDFDrawing::Font> font = FontSubset::make(shaped->faces[face], used[face], texts[face], &codes[face]);
        if (!font)
            return std::nullopt;
        result.fonts.append(*font);
    }

    result.size = pageSize;
    result.opacities.append(model.fontColor.toRgb().alphaF());
    const QTransform &m = layout.toPage;
    const QByteArray size = number(layout.font.pixelSize());
    result.content = "q " + colourAndOpacity(model);
    result.content += number(m.m11()) + ' ' + number(m.m12()) + ' ' + number(m.m21()) + ' ' + number(m.m22()) + ' '
                      + number(m.dx()) + ' ' + number(m.dy()) + " cm\nBT\n";
    int selected = -1; // the font set last; it holds across lines
    for (int i = 0; i < shaped->lines.size(); ++i) {
        const QVector<FontSubset::Glyph> &line = shaped->lines[i];
        if (line.isEmpty())
            continue;
        // The text box runs downwards, so each line is set with its glyphs turned upright.
        result.content += "1 0 0 -1 0 " + number(layout.ascent + i * layout.lineSpacing) + " Tm\n";
        for (int g = 0; g < line.size(); ++g) {
            const FontSubset::Glyph &glyph = line[g];
            if (g == 0 || glyph.face != line[g - 1].face) { // a run in another face
                if (g > 0)
                    result.content += "] TJ\n";
                if (glyph.face != selected)
                    result.content += "/F" + QByteArray::number(glyph.face) + ' ' + size + " Tf\n";
                selected = glyph.face;
                result.content += '[';
            }
            const quint32 code = codes[glyph.face].value(glyph.id);
            result.content += '<' + QByteArray::number(code, 16).rightJustified(4, '0') + '>';
            // Shaping may move a glyph (kerning) from where the font's own advance puts it.
            const double shift = glyph.advance - result.fonts[glyph.face].widths.value(code);
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
