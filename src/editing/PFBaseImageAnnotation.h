#pragma once

#include "platform/pdf/PDFAnnotation.h"
#include "platform/pdf/PDFPage.h"

#include <QImage>

class PFDrawingSurface;

// A picture placed on a page (pictures, custom image stamps, image signatures): a "Stamp"
// annotation that draws its image upright on its page, scaled into its bounds. The drawing is
// kept in the file as the annotation's appearance, so every reader shows it; a private key
// marks it so that it is recognised after the file is reopened.
class PFBaseImageAnnotation : public PDFAnnotation {
public:
    static constexpr const char *kKindKey = "Kind";
    static constexpr const char *kKind = "ImageStamp";

    // A new image annotation for `page` with the bounds in page space; not yet on the page
    // (it enters through the view's undoable add). Null when it could not be made.
    PFBaseImageAnnotation(const PDFPage &page, const QImage &image, const QRectF &bounds);
    // The same for a picture read from a file, whose JPEG bytes (if any) the file keeps as they are.
    PFBaseImageAnnotation(const PDFPage &page, const PDFDrawing::Image &picture, const QRectF &bounds);

    const QImage &pfImage() const { return m_picture.image; }
    // Moves or resizes it and draws its appearance anew for the new bounds. (Through a plain
    // PDFAnnotation handle the kept appearance is stretched onto the new bounds instead, which
    // for a picture that fills its bounds is the same drawing.)
    void setBounds(const QRectF &bounds);
    // Draws it in page space of `box`.
    void drawWithBox(PFDrawingSurface &surface, PDFDisplayBox box) const;

    // True for an annotation made by this class, also one read back from a file.
    static bool isImageAnnotation(const PDFAnnotation &annotation);

private:
    bool writeAppearance();

    PDFPage m_page;
    PDFDrawing::Image m_picture;
};
