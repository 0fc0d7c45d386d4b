#include "PFSignDrawView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

PFSignDrawView::PFSignDrawView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PFSignDrawView"));
    setCursor(Qt::CrossCursor);
}

void PFSignDrawView::pfRefreshColor(const QColor &color)
{
    m_color = color;
    if (!m_strokes.isEmpty())
        m_strokes.last().color = color;
    update();
}

void PFSignDrawView::pfRefreshWidth(double width)
{
    m_thickness = width;
    if (!m_strokes.isEmpty())
        m_strokes.last().width = width;
    update();
}

void PFSignDrawView::pfResetView()
{
    m_strokes.clear();
    update();
}

void PFSignDrawView::drawStrokes(QPainter &painter) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Stroke &stroke : m_strokes) {
        painter.setPen(QPen(stroke.color, stroke.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (stroke.points.size() == 1)
            painter.drawPoint(stroke.points.first());
        else
            painter.drawPolyline(stroke.points);
    }
}

QImage PFSignDrawView::pfGetimageData() const
{
    QImage image(std::max(1, width()), std::max(1, height()), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    drawStrokes(painter);
    return image;
}

void PFSignDrawView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    drawStrokes(painter);
}

void PFSignDrawView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_strokes.append({QPolygonF{event->position()}, m_color, m_thickness});
    update();
}

void PFSignDrawView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_strokes.isEmpty())
        return;
    m_strokes.last().points.append(event->position());
    update();
}
