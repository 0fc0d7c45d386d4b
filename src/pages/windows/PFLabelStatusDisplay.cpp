#include "PFLabelStatusDisplay.h"

#include <QLabel>
#include <QTimer>

PFLabelStatusDisplay::PFLabelStatusDisplay(QWidget *host) : m_host(host) {}

QLabel *PFLabelStatusDisplay::makeLabel(const QString &text)
{
    auto *label = new QLabel(text, m_host);
    label->setStyleSheet(QStringLiteral("background: rgba(0,0,0,204); color: white; border-radius: 10px;"
                                        "padding: 15px 20px; font-size: 16px;"));
    label->adjustSize();
    label->move((m_host->width() - label->width()) / 2, (m_host->height() - label->height()) / 2);
    label->show();
    label->raise();
    return label;
}

void PFLabelStatusDisplay::showMessage(const QString &message)
{
    if (!m_host)
        return;
    QLabel *label = makeLabel(message);
    QTimer::singleShot(2000, label, &QObject::deleteLater);
}

void PFLabelStatusDisplay::showProgress()
{
    if (m_host && !m_progress)
        m_progress = makeLabel(QStringLiteral("…"));
}

void PFLabelStatusDisplay::hide()
{
    delete m_progress;
}
