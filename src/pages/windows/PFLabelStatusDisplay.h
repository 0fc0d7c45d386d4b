#pragma once

#include "PFStatusDisplay.h"

#include <QPointer>

class QLabel;
class QWidget;

// A plain stand-in for the message overlay: a dark label centred on the host that shows a
// message for 2 seconds, or "…" while work runs.
class PFLabelStatusDisplay : public PFStatusDisplay {
public:
    explicit PFLabelStatusDisplay(QWidget *host);
    void showMessage(const QString &message) override;
    void showProgress() override;
    void hide() override;

private:
    QLabel *makeLabel(const QString &text);
    QPointer<QWidget> m_host;
    QPointer<QLabel> m_progress;
};
