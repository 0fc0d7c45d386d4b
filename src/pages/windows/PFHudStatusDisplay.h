#pragma once

#include "PFStatusDisplay.h"

#include <QPointer>

class PFHudView;
class QWidget;

// The page tools' status shown with the program's overlay: messages that go away after two
// seconds and the spinner while work runs, both over the host widget.
class PFHudStatusDisplay : public PFStatusDisplay {
public:
    explicit PFHudStatusDisplay(QWidget *host);
    void showMessage(const QString &message) override;
    void showProgress() override;
    void hide() override;

private:
    QPointer<QWidget> m_host;
    QPointer<PFHudView> m_progress;
};
