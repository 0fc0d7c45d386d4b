#pragma once

#include "PFSignParameterModel.h"

#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFPage.h"

class PFDrawingSurface;

// A typed signature on a page: a "Stamp" annotation that draws its text, in the signature's
// font and colour, upright and centred in its bounds, the text scaling with the width. The
// drawing is kept as its appearance (glyph outlines, so no font is embedded); text, font,
// colour and the width it was placed at are kept in private keys, so it is recognised and
// redrawn at new bounds after the file is reopened.
class PFStampTextAnnotation : public PDFAnnotation {
public:
    static constexpr const char *kKind = "TypedSignature";
    // The text's size at the width the signature was placed with.
    static constexpr double kPlacedFontSize = 20;

    // A new typed signature for `page` from the record; not yet on the page.
    PFStampTextAnnotation(const PDFPage &page, const PFSignParameterModel &inputModel, const QRectF &bounds);
    // The signature behind an annotation read from the page; null when it is none.
    explicit PFStampTextAnnotation(const PDFAnnotation &annotation);

    const PFSignParameterModel &inputModel() const { return m_model; }
    QRectF pfOriginRect() const { return m_originRect; }

    // The bounds of the record's text placed centred on the page point, kept on the page.
    static QRectF placementBounds(const PDFPage &page, QPointF click, const PFSignParameterModel &model);

    void setBounds(const QRectF &bounds);
    void drawWithBox(PFDrawingSurface &surface, PDFDisplayBox box) const;

    static bool isTextSignature(const PDFAnnotation &annotation);

private:
    bool writeAppearance();

    PDFPage m_page;
    PFSignParameterModel m_model;
    QRectF m_originRect;
};
