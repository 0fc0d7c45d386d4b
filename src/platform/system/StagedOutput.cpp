#include "StagedOutput.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A run of the same kind that finds an unlocked staging entry leaves it alone for this long,
// so that an entry created a moment ago, before its creator could lock it, is never taken for
// a leftover.
constexpr qint64 kStaleAfterSeconds = 2;

QByteArray encoded(const QString &path) { return QFile::encodeName(path); }

// ".NAME." for the wanted path's name, shortened so that the staging name stays a valid name.
QString stagingPrefix(const QString &wantedPath)
{
    QString name = QFileInfo(wantedPath).fileName();
    while (QFile::encodeName(name).size() > 200)
        name.chop(1);
    return u'.' + name + u'.';
}

QString randomSuffix()
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QLatin1Char(alphabet[QRandomGenerator::global()->bounded(int(sizeof alphabet) - 1)]);
    return suffix;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

void removeEntry(const QString &path, bool folder)
{
    if (folder)
        QDir(path).removeRecursively();
    else
        ::unlink(encoded(path).constData());
}

} // namespace

StagedOutput::StagedOutput(const QString &wantedPath, Kind kind)
    : m_wanted(QDir::cleanPath(wantedPath)), m_kind(kind)
{
    removeStaleEntries(m_wanted);
    const QString base = QFileInfo(m_wanted).absolutePath() + u'/' + stagingPrefix(m_wanted);
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const QString candidate = base + randomSuffix();
        const QByteArray name = encoded(candidate);
        int fd = -1;
        if (kind == Kind::File) {
            // 0666 before the umask: a new output gets the permissions the user asked for.
            fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        } else if (::mkdir(name.constData(), 0777) == 0) {
            fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0)
                ::rmdir(name.constData());
        }
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return;
        }
        ::flock(fd, LOCK_EX | LOCK_NB);
        m_fd = fd;
        m_path = candidate;
    }
}

StagedOutput::~StagedOutput() { discard(); }

void StagedOutput::discard()
{
    if (!m_path.isEmpty())
        removeEntry(m_path, m_kind == Kind::Folder);
    m_path.clear();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool StagedOutput::makeDurable()
{
    // One file-system sync for a whole folder is far cheaper than one per file in it.
    return m_kind == Kind::File ? ::fsync(m_fd) == 0 : ::syncfs(m_fd) == 0;
}

QString StagedOutput::publish(const VacantName &vacant)
{
    if (!isValid() || !makeDurable()) {
        discard();
        return {};
    }
    const QByteArray from = encoded(m_path);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const QString target = vacant(m_wanted);
        const QByteArray to = encoded(target);
        bool done = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0;
        if (!done && (errno == EINVAL || errno == ENOSYS)) {
            // A file system without no-replace renames: a hard link never replaces either, and
            // a folder first reserves its name as an empty folder of our own.
            if (m_kind == Kind::File) {
                done = ::link(from.constData(), to.constData()) == 0;
                if (done)
                    ::unlink(from.constData());
            } else if (::mkdir(to.constData(), 0700) == 0) {
                done = ::rename(from.constData(), to.constData()) == 0;
                if (!done)
                    ::rmdir(to.constData());
            }
        }
        if (done) {
            m_path.clear();
            discard();
            syncFolder(QFileInfo(target).absolutePath()); // make the new name itself durable
            return target;
        }
        if (errno != EEXIST && errno != ENOTEMPTY)
            break;
    }
    discard();
    return {};
}

bool StagedOutput::replace(const QString &target)
{
    if (!isValid() || m_kind != Kind::File)
        return false;
    struct stat existing;
    if (::stat(encoded(target).constData(), &existing) == 0) {
        // Owner and group first: a change of owner may clear the set-id bits.
        if (::fchown(m_fd, existing.st_uid, existing.st_gid) != 0 && ::fchown(m_fd, uid_t(-1), existing.st_gid) != 0) {
            // Not ours to give away: the new file keeps our own owner and group.
        }
        if (::fchmod(m_fd, existing.st_mode & 07777) != 0) {
            discard();
            return false;
        }
    }
    if (!makeDurable() || ::rename(encoded(m_path).constData(), encoded(target).constData()) != 0) {
        discard();
        return false;
    }
    m_path.clear();
    discard();
    syncFolder(QFileInfo(target).absolutePath());
    return true;
}

QString StagedOutput::resolvedTarget(const QString &path)
{
    QFileInfo info(path);
    if (!info.isSymLink())
        return info.absoluteFilePath();
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    // A link to a file that does not exist yet: follow the chain by hand.
    QString current = info.absoluteFilePath();
    for (int hop = 0; hop < 40 && QFileInfo(current).isSymLink(); ++hop)
        current = QFileInfo(current).symLinkTarget();
    return current;
}

void StagedOutput::removeStaleEntries(const QString &wantedPath)
{
    const QFileInfo wanted(wantedPath);
    const QRegularExpression pattern(u'^' + QRegularExpression::escape(stagingPrefix(wantedPath))
                                     + QStringLiteral("[A-Za-z0-9]{6}$"));
    QDir folder(wanted.absolutePath());
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const QStringList names = folder.entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (!pattern.match(name).hasMatch())
            continue;
        const QString path = folder.filePath(name);
        const QByteArray file = encoded(path);
        struct stat entry;
        if (::lstat(file.constData(), &entry) != 0 || entry.st_uid != ::geteuid()
            || !(S_ISREG(entry.st_mode) || S_ISDIR(entry.st_mode)) || now - entry.st_mtime < kStaleAfterSeconds)
            continue;
        const int fd = ::open(file.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        // A live run holds its entry locked; a killed one left it unlocked.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            removeEntry(path, S_ISDIR(entry.st_mode));
        ::close(fd);
    }
}
