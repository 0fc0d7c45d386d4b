#include "PFRecentFonts.h"

#include "platform/store/UserDefaults.h"

namespace {
const QString kKey = QStringLiteral("FontTitlePickMenu");

// Moves `name` to the front, dropping the oldest entry when the list would exceed the limit.
void moveToFront(QStringList &list, const QString &name)
{
    list.removeAll(name);
    if (list.size() > PFRecentFonts::kStoredLimit - 1)
        list.removeLast();
    list.prepend(name);
}
} // namespace

PFRecentFonts::PFRecentFonts(UserDefaults &defaults) : m_defaults(defaults) {}

QStringList PFRecentFonts::stored() const { return m_defaults.value(kKey).toStringList(); }

QStringList PFRecentFonts::pfOpeningOrder(const QString &current)
{
    if (!m_defaults.contains(kKey)) {
        const QStringList first{current};
        m_defaults.setValue(kKey, first);
        return first;
    }
    QStringList list = stored();
    if (list.contains(current))
        moveToFront(list, current);
    else
        list.prepend(current);
    return list;
}

QStringList PFRecentFonts::pfPick(const QString &name)
{
    QStringList list = stored();
    moveToFront(list, name);
    m_defaults.setValue(kKey, list);
    return list;
}
