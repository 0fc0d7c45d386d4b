#include "PFHudSpinner.h"

#include <QPainter>

PFHudSpinner::PFHudSpinner(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    resize(kSide, kSide);
    m_timer.setInterval(80);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % kSpokes;
        update();
    });
}

void PFHudSpinner::startAnimation() { m_timer.start(); }

void PFHudSpinner::stopAnimation() { m_timer.stop(); }

void PFHudSpinner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    const double outer = qMin(width(), height()) * 0.32;
    QPen pen(Qt::white, qMax(2.0, outer * 0.22), Qt::SolidLine, Qt::RoundCap);
    for (int i = 0; i < kSpokes; ++i) {
        // The spoke at the current step is brightest; the ones behind it fade out.
        const int age = (m_step - i + kSpokes) % kSpokes;
        QColor colour(Qt::white);
        colour.setAlphaF(1.0 - 0.8 * age / double(kSpokes));
        pen.setColor(colour);
        painter.setPen(pen);
        painter.save();
        painter.rotate(360.0 * i / kSpokes);
        painter.drawLine(QPointF(0, -outer * 0.5), QPointF(0, -outer));
        painter.restore();
    }
}
