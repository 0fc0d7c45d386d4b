#pragma once

#include "PFLinkFieldController.h"

// The web site tab of the link tab: the address is kept exactly as typed.
class PFLinkURLController : public PFLinkFieldController {
    Q_OBJECT
public:
    explicit PFLinkURLController(QWidget *parent = nullptr);

protected:
    std::pair<QString, int> report(const QString &text) const override;
};
