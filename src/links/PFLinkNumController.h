#pragma once

#include "PFLinkFieldController.h"

// The page tab of the link tab: a page number of this document, out of the total shown.
class PFLinkNumController : public PFLinkFieldController {
    Q_OBJECT
public:
    explicit PFLinkNumController(QWidget *parent = nullptr);

    QLabel *pfTotalPageLB() const { return m_total; }
    void pfSetTotalPageNum(int count);

protected:
    std::pair<QString, int> report(const QString &text) const override;

private:
    QLabel *m_total;
};
