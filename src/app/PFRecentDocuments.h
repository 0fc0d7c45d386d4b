#pragma once

#include <QStringList>

class UserDefaults;

// The program's own list of recently opened files, newest first, kept in the preference store.
namespace PFRecentDocuments {

constexpr int kMaximum = 30;
QStringList paths(UserDefaults &defaults);
void note(const QString &path, UserDefaults &defaults);

} // namespace PFRecentDocuments
