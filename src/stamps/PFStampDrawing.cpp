#include "PFStampDrawing.h"

#include "PFStampCatalogue.h"

#include "editing/PFDrawingSurface.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <functional>

namespace {

using Form = PFStampCatalogue::Form;
using Arrow = PFStampCatalogue::Arrow;

constexpr double kFillAlpha = 0.9;
// The thinnest line every reader draws visibly.
constexpr double kHairline = 0.3;
// Glyphs are laid out at this pixel size and scaled, so fractional sizes stay exact.
constexpr int kLayoutSize = 100;

QFont labelFont(bool bold)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    // The labels are Chinese unless translated: name a CJK face as fallback.
    font.setFamilies({font.family(), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK JP")});
    font.setBold(bold);
    font.setPixelSize(kLayoutSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

// Draws the label with the lower left of its line box at `origin`.
void drawText(PFDrawingSurface &surface, const PFStampDrawing::Text &text, QPointF origin, const QColor &ink)
{
    surface.fillPath(text.path.translated(origin.x(), origin.y() + text.descent), ink);
}

// The arrow's pentagon: point at the left, body to the right, in rect.
QPainterPath arrowOutline(const QRectF &r, double s, double m)
{
    QPainterPath path;
    const double w = r.width(), h = r.height();
    path.moveTo(r.x() + m, r.y() + h / 2);
    path.lineTo(r.x() + s, r.y() + h - m);
    path.lineTo(r.x() + w - m, r.y() + h - m);
    path.lineTo(r.x() + w - m, r.y() + m);
    path.lineTo(r.x() + s, r.y() + m);
    path.closeSubpath();
    return path;
}

// The shape of every form: outline under its own clip, translucent fill, then the label and
// the final outline, of which only the inner half shows.
void drawShape(PFDrawingSurface &surface, const QPainterPath &outline, const QRectF &rect,
               const PFStampCatalogue::Entry &entry, double firstWidth, double lastWidth,
               const std::function<void()> &labels)
{
    surface.save();
    surface.clipPath(outline);
    surface.strokePath(outline, entry.ink, firstWidth);
    QPainterPath box;
    box.addRect(rect);
    surface.fillPath(box, withAlpha(entry.fill, kFillAlpha));
    labels();
    surface.strokePath(outline, entry.ink, lastWidth);
    surface.restore();
}

QPainterPath roundedRect(const QRectF &rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace

PFStampDrawing::Text PFStampDrawing::measure(const QString &text, bool bold, double size)
{
    Text result;
    if (size <= 0)
        return result;
    const QFont font = labelFont(bold);
    const QFontMetricsF metrics(font);
    const double k = size / kLayoutSize;
    QPainterPath glyphs;
    glyphs.setFillRule(Qt::WindingFill);
    glyphs.addText(QPointF(), font, text);
    result.path = QTransform::fromScale(k, -k).map(glyphs);
    result.width = metrics.horizontalAdvance(text) * k;
    result.height = metrics.height() * k;
    result.descent = metrics.descent() * k;
    return result;
}

void PFStampDrawing::drawStamp(PFDrawingSurface &surface, int index, const QRectF &r, const QString &date)
{
    if (!PFStampCatalogue::isValid(index) || r.isEmpty())
        return;
    const PFStampCatalogue::Entry &entry = PFStampCatalogue::entry(index);
    const QString label = PFStampCatalogue::label(index);
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    switch (entry.form) {
    case Form::Rectangle: {
        drawShape(surface, roundedRect(r, h * 8 / 38), r, entry, kHairline, 2, [&] {
            const Text text = measure(label, true, 0.82 * h * 27 / 38);
            drawText(surface, text, {x + w / 2 - text.width / 2, y + h / 2 - text.height / 2}, entry.ink);
        });
        break;
    }
    case Form::Dated: {
        drawShape(surface, roundedRect(r, h * 8 / 38), r, entry, kHairline, 2, [&] {
            const Text text = measure(label, true, 0.82 * h * 16 / 38);
            drawText(surface, text, {x + 4, y + 0.75 * h - text.height / 2 - 3}, entry.ink);
            const Text dateText = measure(date, true, 0.82 * h * 8 / 38);
            drawText(surface, dateText, {x + 4, y + h / 4 - dateText.height / 2 + 1}, entry.ink);
        });
        break;
    }
    case Form::Arrow: {
        const qsizetype length = label.size();
        double s = h * 30 / 38, m = 8;
        if (entry.arrow == Arrow::SignHere && length < 3)
            s = h * 20 / 38;
        if (entry.arrow == Arrow::Witness && length <= 2) {
            s = h * 20 / 38;
            m = 4;
        }
        drawShape(surface, arrowOutline(r, s, m), r, entry, kHairline, 1, [&] {
            if (entry.arrow == Arrow::Witness) {
                const Text text = measure(label, true, h * 16 / 38 * 0.82 * 0.81);
                drawText(surface, text, {x + s + (w - 2 * m - s) / 2 - text.width / 2, y + h / 2 - text.height / 2},
                         entry.ink);
                return;
            }
            const double base = w * 16 / 110;
            const double size = entry.arrow == Arrow::SignHere && length < 3 ? base * 1.6 : base * 0.82 * 0.8;
            const Text text = measure(label, true, size);
            drawText(surface, text, {x + s, y + h / 2 - text.height / 2}, entry.ink);
        });
        break;
    }
    }
}

void PFStampDrawing::drawCell(PFDrawingSurface &surface, int index, const QRectF &r, const QString &date,
                              bool chinese)
{
    if (!PFStampCatalogue::isValid(index) || r.isEmpty())
        return;
    const PFStampCatalogue::Entry &entry = PFStampCatalogue::entry(index);
    const QString label = PFStampCatalogue::label(index);
    const double w = r.width(), h = r.height();
    switch (entry.form) {
    case Form::Rectangle: {
        double size = 13;
        if (!chinese) {
            if (index == 10 || index == 11)
                size = 10;
            else if (index == 12)
                size = 8;
            else if (index == 14)
                size = 9;
        }
        drawShape(surface, roundedRect(r, 8), r, entry, 2, 2, [&] {
            const Text text = measure(label, index == 0, size);
            drawText(surface, text, {r.x() + w / 2 - text.width / 2, r.y() + h / 2 - text.height / 2}, entry.ink);
        });
        break;
    }
    case Form::Dated:
        drawShape(surface, roundedRect(r, 8), r, entry, 2, 2, [&] {
            const Text text = measure(label, false, 12);
            drawText(surface, text, {r.x() + 4, r.y() + 0.75 * h - text.height / 2 - 2}, entry.ink);
            const Text dateText = measure(date, false, 7);
            drawText(surface, dateText, {r.x() + 4, r.y() + h / 4 - dateText.height / 2}, entry.ink);
        });
        break;
    case Form::Arrow:
        drawShape(surface, arrowOutline(r, 30, 6), r, entry, 1, 1, [&] {
            const Text text = measure(label, false, 12);
            const double left = entry.arrow == Arrow::Witness ? (w - 12 - 30) / 2 + 30 - text.width / 2 : 30;
            drawText(surface, text, {r.x() + left, r.y() + h / 2 - text.height / 2}, entry.ink);
        });
        break;
    }
}
