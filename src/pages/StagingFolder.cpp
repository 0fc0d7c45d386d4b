#include "StagingFolder.h"

#include "FreeName.h"

#include <QDir>
#include <QFileInfo>

StagingFolder::StagingFolder(const QString &wantedPath)
{
    const QString wanted = QDir::cleanPath(wantedPath);
    if (QDir().mkpath(QFileInfo(wanted).absolutePath()))
        m_stage = std::make_unique<StagedOutput>(wanted, StagedOutput::Kind::Folder);
}

QString StagingFolder::commit()
{
    return isValid() ? m_stage->publish(&FreeName::forFolder) : QString();
}
