#include "PFOutputFolder.h"

#include "settings/PFManager.h"
#include "platform/store/UserDefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

PFOutputFolder::PFOutputFolder(const QString &key, bool createDefault) : m_key(key), m_createDefault(createDefault) {}

QString PFOutputFolder::defaultPath()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString resolved = QFileInfo(pictures).canonicalFilePath();
    return (resolved.isEmpty() ? pictures : resolved) + QStringLiteral("/Quirna");
}

QString PFOutputFolder::path() const
{
    const QString stored = UserDefaults::standard().value(m_key).toString();
    if (!stored.isEmpty()) {
        QDir().mkpath(stored);
        return stored;
    }
    if (m_createDefault)
        return PFManager::pfCheckQuirnaPathExistAndCreate();
    return defaultPath();
}

void PFOutputFolder::choose(const QString &folder) { UserDefaults::standard().setValue(m_key, folder); }
