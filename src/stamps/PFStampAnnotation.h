#pragma once

#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFPage.h"

class PFDrawingSurface;

// A catalogue stamp on a page: a "Stamp" annotation that draws stamp `selectStampIndex` of the
// catalogue upright into its bounds. The drawing is kept in the file as its appearance, so every
// reader shows it; its index and the fixed date of a dated stamp are kept in private keys, so it
// is recognised (and redrawn at new bounds) after the file is reopened.
class PFStampAnnotation : public PDFAnnotation {
public:
    static constexpr const char *kKind = "CatalogueStamp";
    static constexpr const char *kIndexKey = "StampIndex";
    static constexpr const char *kDateKey = "StampDate";

    // A new stamp for `page` with the bounds in page space; not yet on the page. A dated stamp
    // takes the date now, once. An index outside the catalogue makes a stamp that draws nothing.
    PFStampAnnotation(const PDFPage &page, int index, const QRectF &bounds);
    // The stamp behind an annotation read from the page; null when it is not a catalogue stamp.
    explicit PFStampAnnotation(const PDFAnnotation &annotation);

    int selectStampIndex() const { return m_index; }
    // The date text of a dated stamp; empty for the others.
    QString pfDateStr() const { return m_date; }

    // Moves or resizes it and draws it anew for the new bounds.
    void setBounds(const QRectF &bounds);
    void drawWithBox(PFDrawingSurface &surface, PDFDisplayBox box) const;

    static bool isStampAnnotation(const PDFAnnotation &annotation);

private:
    bool writeAppearance();

    PDFPage m_page;
    int m_index = -1;
    QString m_date;
};
