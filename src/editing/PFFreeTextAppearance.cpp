#include "PFFreeTextAppearance.h"

#include "platform/pdf/PDFPathWriter.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>
#include <cmath>

namespace {

// Layout runs at this multiple of the page size so fractional sizes keep their precision.
constexpr int kLayoutScale = 16;

QByteArray colorOperands(const QColor &color)
{
    const QColor c = color.toRgb();
    return QByteArray::number(c.redF(), 'f', 4) + ' ' + QByteArray::number(c.greenF(), 'f', 4) + ' '
           + QByteArray::number(c.blueF(), 'f', 4);
}


// The text's outlines in a y-down space whose origin is the box's top-left corner.
QPainterPath textOutlines(const QString &text, const QFont &baseFont, double size, double width,
                          Qt::Alignment alignment)
{
    QFont font = baseFont;
    font.setPixelSize(std::max(1, int(std::lround(size * kLayoutScale))));
    font.setHintingPreference(QFont::PreferNoHinting);
    QString body = text;
    body.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(body, font);
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const double lineWidth = std::max(1.0, width * kLayoutScale);
    double y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();

    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const QGlyphRun &run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QVector<quint32> glyphs = run.glyphIndexes();
        const QVector<QPointF> positions = run.positions();
        for (int i = 0; i < glyphs.size(); ++i)
            path.addPath(raw.pathForGlyph(glyphs[i]).translated(positions[i]));
    }
    return QTransform::fromScale(1.0 / kLayoutScale, 1.0 / kLayoutScale).map(path);
}

} // namespace

QString PFFreeTextAppearance::usableFontName(const QString &name)
{
    if (name.isEmpty() || !QFontDatabase::hasFamily(name))
        return QStringLiteral("Helvetica");
    return name;
}

QFont PFFreeTextAppearance::font(const QString &name)
{
    QFont font(name);
    // The standard PDF names ("Helvetica", "Times-Roman", "Courier") reach a metric match
    // through the font configuration's substitutes.
    font.setStyleHint(name.startsWith(QLatin1String("Times")) ? QFont::Serif
                      : name.startsWith(QLatin1String("Courier")) ? QFont::Monospace
                                                                  : QFont::SansSerif);
    return font;
}

bool PFFreeTextAppearance::apply(PDFAnnotation &annotation)
{
    const QSizeF size = annotation.bounds().size();
    if (annotation.isNull() || size.isEmpty())
        return false;
    const double w = size.width();
    const double h = size.height();

    QByteArray content = "q\n";
    if (const std::optional<QColor> background = annotation.color())
        content += colorOperands(*background) + " rg\n0 0 " + QByteArray::number(w) + ' '
                   + QByteArray::number(h) + " re f\n";
    content += "0 0 " + QByteArray::number(w) + ' ' + QByteArray::number(h) + " re W n\n";

    const QString text = annotation.contents();
    if (!text.isEmpty()) {
        QPainterPath glyphs = textOutlines(text, font(annotation.fontName()), annotation.fontSize(),
                                           w - 2 * kInset, qtAlignment(annotation.alignment()));
        // Into PDF space: y upwards, inset from the top-left corner.
        glyphs = QTransform(1, 0, 0, -1, kInset, h - kInset).map(glyphs);
        content += colorOperands(annotation.fontColor()) + " rg\n";
        content += PDFPathWriter::operators(glyphs);
        content += "f\n";
    }
    content += "Q\n";

    PDFDrawing drawing;
    drawing.content = content;
    drawing.size = size;
    return annotation.setAppearance(drawing);
}

Qt::Alignment PFFreeTextAppearance::qtAlignment(PDFTextAlignment alignment)
{
    switch (alignment) {
    case PDFTextAlignment::Center: return Qt::AlignHCenter;
    case PDFTextAlignment::Right: return Qt::AlignRight;
    case PDFTextAlignment::Left: break;
    }
    return Qt::AlignLeft;
}
