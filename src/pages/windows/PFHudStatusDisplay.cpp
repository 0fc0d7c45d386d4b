#include "PFHudStatusDisplay.h"

#include "widgets/PFHudView.h"

PFHudStatusDisplay::PFHudStatusDisplay(QWidget *host) : m_host(host) {}

void PFHudStatusDisplay::showMessage(const QString &message)
{
    if (!m_host)
        return;
    if (PFHudView *hud = PFHudView::showHUDAddedTo(m_host, message))
        hud->hide(true, PFHudView::kMessageSeconds);
}

void PFHudStatusDisplay::showProgress()
{
    if (m_host && !m_progress)
        m_progress = PFHudView::showProgressHUDTo(m_host);
}

void PFHudStatusDisplay::hide()
{
    // Only our own spinner: a message shown meanwhile keeps its two seconds.
    if (m_progress)
        m_progress->hide(true, 0);
    m_progress = nullptr;
}
