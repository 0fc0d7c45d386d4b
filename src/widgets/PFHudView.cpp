#include "PFHudView.h"

#include "PFHudBKView.h"
#include "PFHudSpinner.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>

namespace {
QFont messageFont()
{
    QFont font;
    font.setPixelSize(16);
    return font;
}
} // namespace

PFHudView::PFHudView(QWidget *host) : QWidget(host)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setGeometry(host->rect());
    host->installEventFilter(this);
}

PFHudView *PFHudView::showHUDAddedTo(QWidget *host, const QString &text)
{
    if (!host)
        return nullptr;
    auto *hud = new PFHudView(host);
    hud->m_textHint = text;
    // A message only informs: clicks go through to what lies under it.
    hud->setAttribute(Qt::WA_TransparentForMouseEvents);
    hud->raise();
    hud->show();
    return hud;
}

PFHudView *PFHudView::showProgressHUDTo(QWidget *host)
{
    if (!host)
        return nullptr;
    auto *hud = new PFHudView(host);
    hud->m_box = new PFHudBKView(hud);
    hud->m_spinner = new PFHudSpinner(hud->m_box);
    hud->m_spinner->move((PFHudBKView::kSide - PFHudSpinner::kSide) / 2,
                         (PFHudBKView::kSide - PFHudSpinner::kSide) / 2);
    hud->m_box->move((hud->width() - PFHudBKView::kSide) / 2, (hud->height() - PFHudBKView::kSide) / 2);
    hud->raise();
    hud->show();
    hud->m_spinner->startAnimation();
    return hud;
}

bool PFHudView::hideHUDForView(QWidget *host, bool)
{
    if (!host)
        return true;
    const QObjectList children = host->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        auto *hud = qobject_cast<PFHudView *>(*it);
        if (!hud || hud->property("pfRemoved").toBool())
            continue;
        if (hud->m_spinner)
            hud->m_spinner->stopAnimation();
        hud->removeFromHost();
        break;
    }
    return true;
}

void PFHudView::show()
{
    QWidget::show();
}

void PFHudView::hide(bool, double delay)
{
    update();
    QTimer::singleShot(qMax(0, qRound(delay * 1000)), Qt::PreciseTimer, this, [this] { removeFromHost(); });
}

void PFHudView::removeFromHost()
{
    // Marked first so that a later lookup on the host skips an overlay on its way out.
    setProperty("pfRemoved", true);
    if (parentWidget())
        parentWidget()->removeEventFilter(this);
    QWidget::hide();
    deleteLater();
}

bool PFHudView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
        if (m_box)
            m_box->move((width() - PFHudBKView::kSide) / 2, (height() - PFHudBKView::kSide) / 2);
    }
    return QWidget::eventFilter(watched, event);
}

void PFHudView::paintEvent(QPaintEvent *)
{
    if (m_textHint.isEmpty())
        return; // a progress overlay shows only its box and spinner
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(messageFont());
    const QFontMetricsF metrics(messageFont());
    const QSizeF text(metrics.horizontalAdvance(m_textHint), metrics.height());
    const QSizeF boxSize(text.width() + 40, text.height() + 30);
    const QRectF box(QPointF((width() - boxSize.width()) / 2, (height() - boxSize.height()) / 2), boxSize);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, qRound(0.8 * 255)));
    painter.drawRoundedRect(box, 10, 10);
    painter.setPen(Qt::white);
    const QRectF line(0, (height() - text.height()) / 2, width(), text.height());
    painter.drawText(line, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, m_textHint);
}
