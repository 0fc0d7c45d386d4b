#include "PFStampAnnotation.h"

#include "PFStampCatalogue.h"
#include "PFStampDrawing.h"

#include "editing/PFBaseImageAnnotation.h"
#include "editing/PFPdfDrawingSurface.h"
#include "editing/PFUprightTransform.h"
#include "platform/pdf/PDFDocument.h"
#include "settings/PFManager.h"

PFStampAnnotation::PFStampAnnotation(const PDFPage &page, int index, const QRectF &bounds)
    : m_page(page), m_index(index)
{
    if (page.isNull() || bounds.isEmpty())
        return;
    PDFAnnotation::operator=(PDFAnnotation::create(page.document(), QStringLiteral("Stamp"), bounds));
    if (isNull())
        return;
    if (PFStampCatalogue::isValid(index) && PFStampCatalogue::entry(index).form == PFStampCatalogue::Form::Dated)
        m_date = PFManager::pfDateStamp();
    setPrivateValue(QLatin1String(PFBaseImageAnnotation::kKindKey), QLatin1String(kKind));
    setPrivateValue(QLatin1String(kIndexKey), QString::number(index));
    if (!m_date.isEmpty())
        setPrivateValue(QLatin1String(kDateKey), m_date);
    if (PFStampCatalogue::isValid(index))
        setContents(PFStampCatalogue::label(index));
    if (!writeAppearance())
        PDFAnnotation::operator=(PDFAnnotation());
}

PFStampAnnotation::PFStampAnnotation(const PDFAnnotation &annotation)
{
    if (!isStampAnnotation(annotation))
        return;
    PDFAnnotation::operator=(annotation);
    m_page = annotation.page();
    bool ok = false;
    m_index = privateValue(QLatin1String(kIndexKey)).toInt(&ok);
    if (!ok)
        m_index = -1;
    m_date = privateValue(QLatin1String(kDateKey));
}

void PFStampAnnotation::setBounds(const QRectF &bounds)
{
    if (isNull() || bounds.isEmpty())
        return;
    PDFAnnotation::setBounds(bounds);
    writeAppearance();
}

void PFStampAnnotation::drawWithBox(PFDrawingSurface &surface, PDFDisplayBox box) const
{
    if (isNull())
        return;
    const QTransform upright = pfTransformContextForBox(m_page, box);
    surface.save();
    surface.concatTransform(upright.inverted());
    PFStampDrawing::drawStamp(surface, m_index, upright.mapRect(bounds()), m_date);
    surface.restore();
}

bool PFStampAnnotation::isStampAnnotation(const PDFAnnotation &annotation)
{
    return !annotation.isNull() && annotation.type() == QLatin1String("Stamp")
           && annotation.privateValue(QLatin1String(PFBaseImageAnnotation::kKindKey)) == QLatin1String(kKind);
}

bool PFStampAnnotation::writeAppearance()
{
    const QRectF rect = bounds();
    PFPdfDrawingSurface surface(rect.size());
    surface.concatTransform(QTransform::fromTranslate(-rect.x(), -rect.y()));
    drawWithBox(surface, PDFDisplayBox::CropBox);
    return setAppearance(surface.drawing());
}
