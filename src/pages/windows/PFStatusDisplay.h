#pragma once

#include <QString>

// Where a window shows the outcome of its work: a short message that goes away by itself, and
// a progress indicator while long work runs. The program's overlay implements it; tests record.
class PFStatusDisplay {
public:
    virtual ~PFStatusDisplay() = default;
    virtual void showMessage(const QString &message) = 0;
    virtual void showProgress() = 0;
    // Takes the progress indicator down.
    virtual void hide() = 0;
};
