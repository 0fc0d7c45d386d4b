#include "PFSlideShowBar.h"

#include "platform/store/Localization.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>

PFSlideShowBar::PFSlideShowBar(QWidget *watched, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pfSlideShowBar"));
    setAttribute(Qt::WA_TranslucentBackground);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(14, 8, 14, 8);
    row->setSpacing(10);
    m_previous = addButton("上一页", QStringLiteral("\u25C0"));
    m_next = addButton("下一页", QStringLiteral("\u25B6"));
    m_exit = addButton("退出幻灯片", QStringLiteral("\u2715"));
    connect(m_previous, &QToolButton::clicked, this, &PFSlideShowBar::previousClicked);
    connect(m_next, &QToolButton::clicked, this, &PFSlideShowBar::nextClicked);
    connect(m_exit, &QToolButton::clicked, this, &PFSlideShowBar::exitClicked);
    m_hide.setSingleShot(true);
    m_hide.setInterval(kHideMilliseconds);
    connect(&m_hide, &QTimer::timeout, this, [this] {
        // Not while the pointer rests on the bar itself: the user is about to click.
        if (underMouse())
            m_hide.start();
        else
            hide();
    });
    watched->installEventFilter(this);
    hide();
}

QToolButton *PFSlideShowBar::addButton(const char *key, const QString &glyph)
{
    auto *button = new QToolButton(this);
    button->setText(glyph);
    button->setToolTip(pfLocalized(key));
    button->setAccessibleName(pfLocalized(key));
    button->setAutoRaise(true);
    // The slide keeps the keyboard: arrows and Page Down turn pages, Escape ends the show.
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(QStringLiteral("QToolButton { color: white; font-size: 20px; padding: 4px 10px; }"
                                         "QToolButton:hover { background: rgba(255,255,255,40); border-radius: 6px; }"));
    layout()->addWidget(button);
    return button;
}

void PFSlideShowBar::setActive(bool active)
{
    m_active = active;
    if (!active) {
        m_hide.stop();
        hide();
    }
}

void PFSlideShowBar::reveal()
{
    if (!m_active)
        return;
    place();
    show();
    raise();
    m_hide.start();
}

void PFSlideShowBar::place()
{
    adjustSize();
    const QWidget *host = parentWidget();
    move((host->width() - width()) / 2, host->height() - height() - 24);
}

bool PFSlideShowBar::eventFilter(QObject *watched, QEvent *event)
{
    if (m_active && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter))
        reveal();
    return QWidget::eventFilter(watched, event);
}

void PFSlideShowBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 170));
    painter.drawRoundedRect(rect(), 10, 10);
}
