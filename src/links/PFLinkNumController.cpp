#include "PFLinkNumController.h"

#include "platform/store/Localization.h"
#include "settings/PFManager.h"

#include <QHBoxLayout>
#include <QLabel>

PFLinkNumController::PFLinkNumController(QWidget *parent) : PFLinkFieldController(pfLocalized("Page:"), parent)
{
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("pfTotalPageLB"));
    fieldRow()->addWidget(m_total);
}

void PFLinkNumController::pfSetTotalPageNum(int count) { m_total->setText(QStringLiteral("/%1").arg(count)); }

std::pair<QString, int> PFLinkNumController::report(const QString &text) const
{
    if (text.isEmpty() || !PFManager::pfIsNum(text))
        return {QString(), Cancel};
    return {text, Page};
}
