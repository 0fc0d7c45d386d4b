#include "PFColorButton.h"

#include <QIcon>
#include <QPainter>

PFColorButton::PFColorButton(const QColor &color, QWidget *parent) : QToolButton(parent), m_color(color)
{
    setFixedSize(22, 22);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void PFColorButton::setPfInputColor(const QColor &color)
{
    m_color = color;
    update();
}

void PFColorButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF swatch = QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5);
    if (showsEmptyColor()) {
        QIcon(QStringLiteral(":/resources/icons/colorEmpty.svg")).paint(&painter, swatch.toAlignedRect());
    } else {
        painter.setPen(QPen(QColor(0, 0, 0, 60), 1));
        painter.setBrush(m_color);
        painter.drawRoundedRect(swatch, 3, 3);
    }
    if (underMouse() || isDown()) {
        painter.setPen(QPen(QColor(36, 118, 247), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
}
