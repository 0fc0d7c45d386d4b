#include "PDFNavigationHistory.h"

void PDFNavigationHistory::recordJump(const PDFDestination &from)
{
    if (from.isNull())
        return;
    m_back.append(from);
    if (m_back.size() > kLimit)
        m_back.removeFirst();
    m_forward.clear();
}

PDFDestination PDFNavigationHistory::back(const PDFDestination &current)
{
    if (m_back.isEmpty())
        return {};
    m_forward.append(current);
    return m_back.takeLast();
}

PDFDestination PDFNavigationHistory::forward(const PDFDestination &current)
{
    if (m_forward.isEmpty())
        return {};
    m_back.append(current);
    return m_forward.takeLast();
}

void PDFNavigationHistory::clear()
{
    m_back.clear();
    m_forward.clear();
}
