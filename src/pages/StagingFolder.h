#pragma once

#include "platform/system/StagedOutput.h"

#include <QString>
#include <memory>

// A new output folder whose files appear all at once. They are written into a hidden folder
// beside the target; commit() makes them durable with one file-system sync and renames the
// folder to the first vacant name of the folder sequence. Syncing once for the whole folder
// instead of once per file is what makes writing thousands of files fast, and the folder is
// the unit of atomicity: a run that fails or is interrupted leaves no visible folder, and the
// hidden folder of a killed run is removed by the next run that writes the same folder.
class StagingFolder {
public:
    // `wantedPath` is the folder's intended path; its parent is created when missing.
    explicit StagingFolder(const QString &wantedPath);
    StagingFolder(const StagingFolder &) = delete;
    StagingFolder &operator=(const StagingFolder &) = delete;

    bool isValid() const { return m_stage && m_stage->isValid(); }
    // Where a file of the folder is written before the commit.
    QString file(const QString &name) const { return m_stage->path() + u'/' + name; }
    // The final path of the folder, or an empty text when it could not be published (the
    // staging folder is then removed).
    QString commit();

private:
    std::unique_ptr<StagedOutput> m_stage;
};
