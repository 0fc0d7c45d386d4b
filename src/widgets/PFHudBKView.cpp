#include "PFHudBKView.h"

#include <QPainter>

PFHudBKView::PFHudBKView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    resize(kSide, kSide);
}

void PFHudBKView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, qRound(0.8 * 255)));
    painter.drawRoundedRect(QRectF(0, 0, kSide, kSide), 10, 10);
}
