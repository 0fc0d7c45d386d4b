#pragma once

#include "PFLinkFieldController.h"

// The e-mail tab of the link tab: the address becomes a "mailto:" link.
class PFLinkEmailController : public PFLinkFieldController {
    Q_OBJECT
public:
    explicit PFLinkEmailController(QWidget *parent = nullptr);

protected:
    std::pair<QString, int> report(const QString &text) const override;
};
