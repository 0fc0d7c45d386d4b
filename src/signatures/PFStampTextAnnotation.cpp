#include "PFStampTextAnnotation.h"

#include "editing/PFBaseImageAnnotation.h"
#include "editing/PFDrawingSurface.h"
#include "editing/PFPdfDrawingSurface.h"
#include "editing/PFUprightTransform.h"
#include "platform/pdf/PDFDocument.h"
#include "stamps/PFPlacementGeometry.h"

#include <QFontMetricsF>
#include <cmath>

namespace {

const char *const kTextKey = "SignText";
const char *const kFontKey = "SignFont";
const char *const kColorKey = "SignColor";
const char *const kOriginSizeKey = "SignOriginSize"; // "width height" as placed
// Glyphs are laid out at this pixel size and scaled, so fractional sizes stay exact.
constexpr int kLayoutSize = 100;

QFont layoutFont(const QString &family)
{
    QFont font(family);
    font.setPixelSize(kLayoutSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Width and line height of the text at `size` in the family.
QSizeF measured(const QString &text, const QString &family, double size)
{
    const QFontMetricsF metrics(layoutFont(family));
    const double k = size / kLayoutSize;
    return {metrics.horizontalAdvance(text) * k, metrics.height() * k};
}

} // namespace

PFStampTextAnnotation::PFStampTextAnnotation(const PDFPage &page, const PFSignParameterModel &inputModel,
                                             const QRectF &bounds)
    : m_page(page), m_model(inputModel), m_originRect(bounds)
{
    if (page.isNull() || bounds.isEmpty() || !inputModel.inputText || inputModel.inputText->isEmpty())
        return;
    PDFAnnotation::operator=(PDFAnnotation::create(page.document(), QStringLiteral("Stamp"), bounds));
    if (isNull())
        return;
    setPrivateValue(QLatin1String(PFBaseImageAnnotation::kKindKey), QLatin1String(kKind));
    setPrivateValue(QLatin1String(kTextKey), *inputModel.inputText);
    setPrivateValue(QLatin1String(kFontKey), inputModel.fontName.value_or(QString()));
    setPrivateValue(QLatin1String(kColorKey), inputModel.colorT.value_or(QColor(Qt::black)).name(QColor::HexArgb));
    setPrivateValue(QLatin1String(kOriginSizeKey),
                    QString::number(bounds.width(), 'g', 10) + QLatin1Char(' ') + QString::number(bounds.height(), 'g', 10));
    if (!writeAppearance()) {
        PDFAnnotation::operator=(PDFAnnotation());
        return;
    }
    // The annotation's own text properties, for readers that list or edit annotations: its
    // drawing above never depends on them, so set after it (no appearance is regenerated).
    setContents(*inputModel.inputText);
    setFont(inputModel.fontName.value_or(QString()), kPlacedFontSize);
    setFontColor(inputModel.colorT.value_or(QColor(Qt::black)));
}

PFStampTextAnnotation::PFStampTextAnnotation(const PDFAnnotation &annotation)
{
    if (!isTextSignature(annotation))
        return;
    PDFAnnotation::operator=(annotation);
    m_page = annotation.page();
    m_model.signType = PFSignParameterModel::Typed;
    m_model.inputText = privateValue(QLatin1String(kTextKey));
    m_model.fontName = privateValue(QLatin1String(kFontKey));
    const QColor color(privateValue(QLatin1String(kColorKey)));
    m_model.colorT = color.isValid() ? color : QColor(Qt::black);
    const QRectF current = bounds();
    const QStringList size = privateValue(QLatin1String(kOriginSizeKey)).split(QLatin1Char(' '));
    bool okWidth = false, okHeight = false;
    const double width = size.value(0).toDouble(&okWidth), height = size.value(1).toDouble(&okHeight);
    const bool valid = okWidth && okHeight && width > 0 && height > 0 && std::isfinite(width) && std::isfinite(height);
    m_originRect = QRectF(current.topLeft(), valid ? QSizeF(width, height) : current.size());
}

QRectF PFStampTextAnnotation::placementBounds(const PDFPage &page, QPointF click, const PFSignParameterModel &model)
{
    if (!model.inputText || model.inputText->isEmpty())
        return {};
    const QSizeF text = measured(*model.inputText, model.fontName.value_or(QString()), kPlacedFontSize);
    return PFPlacementGeometry::centredOnPage(page, click, QSizeF(text.width() + 20, text.height() + 10));
}

void PFStampTextAnnotation::setBounds(const QRectF &bounds)
{
    if (isNull() || bounds.isEmpty())
        return;
    PDFAnnotation::setBounds(bounds);
    writeAppearance();
}

void PFStampTextAnnotation::drawWithBox(PFDrawingSurface &surface, PDFDisplayBox box) const
{
    if (isNull() || !m_model.inputText || m_originRect.isEmpty())
        return;
    const QTransform upright = pfTransformContextForBox(m_page, box);
    const QRectF r = upright.mapRect(bounds());
    // The text scales with the width; the original width is measured upright as well.
    const QRectF origin = upright.mapRect(QRectF(QPointF(), m_originRect.size()));
    const double size = r.width() * kPlacedFontSize / origin.width();
    const QString family = m_model.fontName.value_or(QString());
    const QFont font = layoutFont(family);
    const QFontMetricsF metrics(font);
    const double k = size / kLayoutSize;
    const QString &text = *m_model.inputText;
    const double tw = metrics.horizontalAdvance(text) * k, th = metrics.height() * k;
    QPainterPath glyphs;
    glyphs.setFillRule(Qt::WindingFill);
    glyphs.addText(QPointF(), font, text);
    const QPointF baseline(r.x() + r.width() / 2 - tw / 2, r.y() + r.height() / 2 - th / 2 + metrics.descent() * k);
    surface.save();
    surface.concatTransform(upright.inverted());
    surface.fillPath(QTransform(k, 0, 0, -k, baseline.x(), baseline.y()).map(glyphs),
                     m_model.colorT.value_or(QColor(Qt::black)));
    surface.restore();
}

bool PFStampTextAnnotation::isTextSignature(const PDFAnnotation &annotation)
{
    return !annotation.isNull() && annotation.type() == QLatin1String("Stamp")
           && annotation.privateValue(QLatin1String(PFBaseImageAnnotation::kKindKey)) == QLatin1String(kKind);
}

bool PFStampTextAnnotation::writeAppearance()
{
    const QRectF rect = bounds();
    PFPdfDrawingSurface surface(rect.size());
    surface.concatTransform(QTransform::fromTranslate(-rect.x(), -rect.y()));
    drawWithBox(surface, PDFDisplayBox::CropBox);
    return setAppearance(surface.drawing());
}
