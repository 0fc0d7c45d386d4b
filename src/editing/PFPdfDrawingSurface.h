#pragma once

#include "PFDrawingSurface.h"

#include "platform/pdf/PDFDrawing.h"

// Writes what is drawn as a PDF content stream, the appearance an annotation keeps in the
// file. The space is `size` points with the origin at the lower left.
class PFPdfDrawingSurface : public PFDrawingSurface {
public:
    explicit PFPdfDrawingSurface(QSizeF size);

    void save() override;
    void restore() override;
    void concatTransform(const QTransform &transform) override;
    void fillPath(const QPainterPath &path, const QColor &color) override;
    void strokePath(const QPainterPath &path, const QColor &color, double width) override;
    void drawImage(const QImage &image, const QRectF &rect) override;
    void drawPicture(const PDFDrawing::Image &picture, const QRectF &rect) override;
    void clipPath(const QPainterPath &path) override;


    const PDFDrawing &drawing() const { return m_drawing; }

private:
    // Selects the graphics state for the colour's opacity, when it is not opaque.
    void applyOpacity(const QColor &color);
    void drawCurrentImage(const QRectF &rect, const QByteArray &name);

    PDFDrawing m_drawing;
};
