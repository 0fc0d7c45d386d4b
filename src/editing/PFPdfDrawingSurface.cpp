#include "PFPdfDrawingSurface.h"

#include "platform/pdf/PDFPathWriter.h"

namespace {

QByteArray number(double value)
{
    return QByteArray::number(value, 'f', 4);
}

QByteArray rgb(const QColor &color)
{
    const QColor c = color.toRgb();
    return number(c.redF()) + ' ' + number(c.greenF()) + ' ' + number(c.blueF());
}

} // namespace

PFPdfDrawingSurface::PFPdfDrawingSurface(QSizeF size)
{
    m_drawing.size = size;
}

void PFPdfDrawingSurface::save()
{
    m_drawing.content += "q\n";
}

void PFPdfDrawingSurface::restore()
{
    m_drawing.content += "Q\n";
}

void PFPdfDrawingSurface::concatTransform(const QTransform &t)
{
    m_drawing.content += number(t.m11()) + ' ' + number(t.m12()) + ' ' + number(t.m21()) + ' '
                         + number(t.m22()) + ' ' + number(t.dx()) + ' ' + number(t.dy()) + " cm\n";
}

void PFPdfDrawingSurface::applyOpacity(const QColor &color)
{
    const double alpha = color.alphaF();
    if (alpha >= 1.0)
        return;
    qsizetype index = m_drawing.opacities.indexOf(alpha);
    if (index < 0) {
        index = m_drawing.opacities.size();
        m_drawing.opacities.append(alpha);
    }
    m_drawing.content += "/Gs" + QByteArray::number(index) + " gs\n";
}

void PFPdfDrawingSurface::fillPath(const QPainterPath &path, const QColor &color)
{
    if (path.isEmpty() || color.alpha() == 0)
        return;
    save();
    applyOpacity(color);
    m_drawing.content += rgb(color) + " rg\n";
    m_drawing.content += PDFPathWriter::operators(path);
    m_drawing.content += path.fillRule() == Qt::OddEvenFill ? "f*\n" : "f\n";
    restore();
}

void PFPdfDrawingSurface::strokePath(const QPainterPath &path, const QColor &color, double width)
{
    if (path.isEmpty() || color.alpha() == 0 || width <= 0)
        return;
    save();
    applyOpacity(color);
    m_drawing.content += rgb(color) + " RG " + number(width) + " w 1 J 1 j\n";
    m_drawing.content += PDFPathWriter::operators(path, PDFPathWriter::Subpaths::KeepOpen);
    m_drawing.content += "S\n";
    restore();
}

void PFPdfDrawingSurface::drawImage(const QImage &image, const QRectF &rect)
{
    if (image.isNull() || rect.isEmpty())
        return;
    const QByteArray name = "/Im" + QByteArray::number(m_drawing.images.size());
    m_drawing.images.append({image, {}});
    drawCurrentImage(rect, name);
}

void PFPdfDrawingSurface::drawPicture(const PDFDrawing::Image &picture, const QRectF &rect)
{
    if ((picture.image.isNull() && picture.jpeg.isEmpty()) || rect.isEmpty())
        return;
    const QByteArray name = "/Im" + QByteArray::number(m_drawing.images.size());
    m_drawing.images.append(picture);
    drawCurrentImage(rect, name);
}

void PFPdfDrawingSurface::drawCurrentImage(const QRectF &rect, const QByteArray &name)
{
    // An image fills the unit square, its first row at the top.
    save();
    concatTransform(QTransform(rect.width(), 0, 0, rect.height(), rect.x(), rect.y()));
    m_drawing.content += name + " Do\n";
    restore();
}

void PFPdfDrawingSurface::clipPath(const QPainterPath &path)
{
    m_drawing.content += PDFPathWriter::operators(path);
    m_drawing.content += path.fillRule() == Qt::OddEvenFill ? "W* n\n" : "W n\n";
}
