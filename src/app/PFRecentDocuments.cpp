#include "PFRecentDocuments.h"

#include "platform/store/UserDefaults.h"

namespace {
const QString kKey = QStringLiteral("PFRecentDocuments");
}

namespace PFRecentDocuments {

QStringList paths(UserDefaults &defaults) { return defaults.value(kKey).toStringList(); }

void note(const QString &path, UserDefaults &defaults)
{
    QStringList list = paths(defaults);
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > kMaximum)
        list.removeLast();
    defaults.setValue(kKey, list);
}

} // namespace PFRecentDocuments
