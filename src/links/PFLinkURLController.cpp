#include "PFLinkURLController.h"

#include "platform/store/Localization.h"

PFLinkURLController::PFLinkURLController(QWidget *parent) : PFLinkFieldController(pfLocalized("Website:"), parent) {}

std::pair<QString, int> PFLinkURLController::report(const QString &text) const
{
    if (text.isEmpty())
        return {QString(), Cancel};
    return {text, Website};
}
