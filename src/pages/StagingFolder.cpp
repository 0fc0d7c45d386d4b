#include "StagingFolder.h"

#include "FreeName.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool syncPath(const QString &path, bool wholeFileSystem)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool ok = (wholeFileSystem ? ::syncfs(fd) : ::fsync(fd)) == 0;
    ::close(fd);
    return ok;
}

} // namespace

StagingFolder::StagingFolder(const QString &wantedPath) : m_wanted(QDir::cleanPath(wantedPath))
{
    const QFileInfo info(m_wanted);
    if (!QDir().mkpath(info.absolutePath()))
        return;
    QByteArray pattern = QFile::encodeName(info.absolutePath() + QStringLiteral("/.%1.XXXXXX").arg(info.fileName()));
    if (::mkdtemp(pattern.data()))
        m_staging = QFile::decodeName(pattern);
}

StagingFolder::~StagingFolder()
{
    if (!m_staging.isEmpty())
        QDir(m_staging).removeRecursively();
}

QString StagingFolder::commit()
{
    if (m_staging.isEmpty())
        return {};
    // mkdtemp makes the folder private; the published folder gets the usual permissions.
    QFile::setPermissions(m_staging, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                         | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    if (!syncPath(m_staging, true))
        return {};
    // Another process may take the vacant name between the check and the rename; the rename
    // never replaces anything, so try the next vacant name then.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString target = FreeName::forFolder(m_wanted);
        if (::renameat2(AT_FDCWD, QFile::encodeName(m_staging).constData(), AT_FDCWD,
                        QFile::encodeName(target).constData(), RENAME_NOREPLACE)
            == 0) {
            m_staging.clear();
            syncPath(QFileInfo(target).absolutePath(), false); // make the rename itself durable
            return target;
        }
        if (errno != EEXIST && errno != ENOTEMPTY)
            return {};
    }
    return {};
}
