#pragma once

#include <QStringList>

class UserDefaults;

// The recently used font names, most recent first, kept in the preference store.
class PFRecentFonts {
public:
    static constexpr int kStoredLimit = 6;

    explicit PFRecentFonts(UserDefaults &defaults);

    QStringList stored() const;
    // The list to show when the font popover opens on `current`: the stored list with the
    // current font in front. Only a first list (nothing stored yet) is stored.
    QStringList pfOpeningOrder(const QString &current);
    // Puts a picked font in front, keeping at most kStoredLimit names; stores and returns it.
    QStringList pfPick(const QString &name);

private:
    UserDefaults &m_defaults;
};
