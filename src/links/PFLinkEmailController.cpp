#include "PFLinkEmailController.h"

#include "platform/store/Localization.h"

PFLinkEmailController::PFLinkEmailController(QWidget *parent) : PFLinkFieldController(pfLocalized("Email:"), parent) {}

std::pair<QString, int> PFLinkEmailController::report(const QString &text) const
{
    if (text.isEmpty())
        return {QString(), Cancel};
    return {text, Email};
}
