#include "ImagePageSetup.h"

#include <QRegularExpression>

namespace {

bool digitsOnly(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]*$"));
    return digits.match(text).hasMatch();
}

// A positive whole number of at most 6 digits (a page far beyond A0 is an input error).
std::optional<int> positive(const QString &text)
{
    if (text.isEmpty() || !digitsOnly(text) || text.size() > 6)
        return std::nullopt;
    const int value = text.toInt();
    return value > 0 ? std::optional<int>(value) : std::nullopt;
}

} // namespace

QSizeF ImagePageSetup::standardSize(int index)
{
    static const QSizeF sizes[] = {{612, 792},   {516, 729},   {612, 1008},  {2382, 3370}, {1682, 2382},
                                   {1191, 1684}, {842, 1191},  {595, 842},   {420, 595}};
    return index >= 1 && index <= 8 ? sizes[index] : sizes[0];
}

std::optional<ImagePageSetup> ImagePageSetup::fromTexts(bool standard, int index, const QString &width,
                                                        const QString &height, const QString &margin)
{
    QSizeF page = standardSize(index);
    if (!standard) {
        const auto w = positive(width), h = positive(height);
        if (!w || !h)
            return std::nullopt;
        page = QSizeF(*w, *h);
    }
    if (!digitsOnly(margin) || margin.size() > 6)
        return std::nullopt;
    const double m = margin.isEmpty() ? 0 : margin.toInt();
    if (2 * m >= page.width() || 2 * m >= page.height())
        return std::nullopt;
    return ImagePageSetup(page, m);
}

QRectF ImagePageSetup::placement(QSizeF image) const
{
    // Single precision, as the fitting has always been computed.
    const float iw = float(image.width()), ih = float(image.height());
    const float bw = float(m_page.width() - 2 * m_margin), bh = float(m_page.height() - 2 * m_margin);
    if (iw <= 0 || ih <= 0)
        return {};
    QSizeF fitted = iw / ih > bw / bh ? QSizeF(bw, ih * bw / iw) : QSizeF(iw * bh / ih, bh);
    return QRectF(QPointF((m_page.width() - fitted.width()) * 0.5, (m_page.height() - fitted.height()) * 0.5), fitted);
}
