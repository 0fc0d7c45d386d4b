#pragma once

#include "platform/pdf/PDFDestination.h"

#include <QVector>

// Back and forward stacks of the places the view jumped from.
class PDFNavigationHistory {
public:
    static constexpr int kLimit = 100;

    // A jump is about to leave `from`: it becomes the way back, and the way forward is forgotten.
    void recordJump(const PDFDestination &from);
    bool canGoBack() const { return !m_back.isEmpty(); }
    bool canGoForward() const { return !m_forward.isEmpty(); }
    // Returns where to go; `current` becomes the way forward (or back).
    PDFDestination back(const PDFDestination &current);
    PDFDestination forward(const PDFDestination &current);
    void clear();

private:
    QVector<PDFDestination> m_back;
    QVector<PDFDestination> m_forward;
};
