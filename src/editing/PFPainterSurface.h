#pragma once

#include "PFDrawingSurface.h"

class QPainter;

// Draws on a QPainter (picker cells, previews, overlays on the view). The painter's transform
// must already map the y-up drawing space to the device, as PDFView::pageTransform does.
class PFPainterSurface : public PFDrawingSurface {
public:
    explicit PFPainterSurface(QPainter &painter) : m_painter(painter) {}

    void save() override;
    void restore() override;
    void concatTransform(const QTransform &transform) override;
    void fillPath(const QPainterPath &path, const QColor &color) override;
    void strokePath(const QPainterPath &path, const QColor &color, double width) override;
    void drawImage(const QImage &image, const QRectF &rect) override;
    void clipPath(const QPainterPath &path) override;

private:
    QPainter &m_painter;
};
