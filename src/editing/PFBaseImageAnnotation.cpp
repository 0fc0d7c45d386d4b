#include "PFBaseImageAnnotation.h"

#include "PFDrawingSurface.h"
#include "PFPdfDrawingSurface.h"
#include "PFUprightTransform.h"

#include "platform/pdf/PDFDocument.h"

PFBaseImageAnnotation::PFBaseImageAnnotation(const PDFPage &page, const QImage &image,
                                             const QRectF &bounds)
    : PFBaseImageAnnotation(page, PDFDrawing::Image{image, {}}, bounds)
{
}

PFBaseImageAnnotation::PFBaseImageAnnotation(const PDFPage &page, const PDFDrawing::Image &picture,
                                             const QRectF &bounds)
    : m_page(page), m_picture(picture)
{
    if (page.isNull() || picture.image.isNull() || bounds.isEmpty())
        return;
    PDFAnnotation::operator=(PDFAnnotation::create(page.document(), QStringLiteral("Stamp"), bounds));
    if (isNull())
        return;
    setPrivateValue(QLatin1String(kKindKey), QLatin1String(kKind));
    if (!writeAppearance())
        PDFAnnotation::operator=(PDFAnnotation());
}

void PFBaseImageAnnotation::setBounds(const QRectF &bounds)
{
    if (isNull() || bounds.isEmpty())
        return;
    PDFAnnotation::setBounds(bounds);
    writeAppearance();
}

void PFBaseImageAnnotation::drawWithBox(PFDrawingSurface &surface, PDFDisplayBox box) const
{
    if (isNull() || m_picture.image.isNull())
        return;
    const QTransform upright = pfTransformContextForBox(m_page, box);
    surface.save();
    surface.concatTransform(upright.inverted());
    surface.drawPicture(m_picture, upright.mapRect(bounds()));
    surface.restore();
}

bool PFBaseImageAnnotation::isImageAnnotation(const PDFAnnotation &annotation)
{
    return !annotation.isNull() && annotation.type() == QLatin1String("Stamp")
           && annotation.privateValue(QLatin1String(kKindKey)) == QLatin1String(kKind);
}

bool PFBaseImageAnnotation::writeAppearance()
{
    // The appearance's space is the bounds with the origin at their lower left.
    const QRectF rect = bounds();
    PFPdfDrawingSurface surface(rect.size());
    surface.concatTransform(QTransform::fromTranslate(-rect.x(), -rect.y()));
    drawWithBox(surface, PDFDisplayBox::CropBox);
    return setAppearance(surface.drawing());
}
