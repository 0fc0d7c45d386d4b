#include "OutputFile.h"

#include <QFile>
#include <QSaveFile>

namespace OutputFile {

bool writeStaged(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    bool ok = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    ok = ok && file.error() == QFileDevice::NoError;
    if (!ok)
        file.remove();
    return ok;
}

bool writeReplacing(const QString &path, const QByteArray &bytes)
{
    // QSaveFile writes beside the target, syncs on commit and renames only when every write
    // succeeded; the target keeps its permissions, a new file follows the umask.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString writeNew(const QString &wantedPath, const QByteArray &bytes, const StagedOutput::VacantName &vacant)
{
    StagedOutput staged(wantedPath, StagedOutput::Kind::File);
    if (!staged.isValid() || !writeStaged(staged.path(), bytes))
        return {};
    return staged.publish(vacant);
}

} // namespace OutputFile
