#include "PFFileCollector.h"

#include <QDirIterator>
#include <QFileInfo>

namespace PFFileCollector {

QStringList collect(const QStringList &paths, const QStringList &extensions)
{
    const auto accepted = [&](const QFileInfo &info) { return extensions.contains(info.suffix().toLower()); };
    QStringList files;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            if (info.isFile() && accepted(info))
                files << info.absoluteFilePath();
            continue;
        }
        QStringList found;
        QDirIterator walk(path, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (walk.hasNext()) {
            const QFileInfo entry(walk.next());
            if (entry.isFile() && !entry.isHidden() && accepted(entry)
                && !entry.absoluteFilePath().mid(path.size()).contains(QStringLiteral("/.")))
                found << entry.absoluteFilePath();
        }
        found.sort(); // a walk has no order of its own; names give a predictable one
        files += found;
    }
    return files;
}

} // namespace PFFileCollector
