#pragma once

#include <QString>
#include <functional>

// A file or folder in the making. It is written under a hidden name beside where it will
// appear (".NAME.XXXXXX"), made durable, and then either published under a name that nothing
// holds, never replacing anything, or put in place of an existing file. A staged entry that is
// never published is removed. While it exists, the entry is locked, so a later run of the same
// kind can tell the leftovers of a killed run (unlocked, untouched for a while) from live work
// and removes them.
class StagedOutput {
public:
    enum class Kind { File, Folder };
    // The first vacant candidate of a name sequence, starting from the wanted path.
    using VacantName = std::function<QString(const QString &wantedPath)>;

    // `wantedPath` is where the output is meant to appear; its folder must exist. New entries get
    // the permissions the user's umask gives.
    StagedOutput(const QString &wantedPath, Kind kind);
    ~StagedOutput();
    StagedOutput(const StagedOutput &) = delete;
    StagedOutput &operator=(const StagedOutput &) = delete;

    bool isValid() const { return m_fd >= 0; }
    // Where the output is written until it is published.
    QString path() const { return m_path; }

    // Makes the entry durable and gives it the first vacant name of the sequence; when another
    // process takes that name meanwhile, the next one is tried. Returns the name used, or an empty
    // text on failure (the staged entry is then removed).
    QString publish(const VacantName &vacant);
    // Files only: makes the entry durable and renames it over `target`, which keeps its
    // permissions (and owner and group where the user may set them). False on failure.
    bool replace(const QString &target);

    // The file a path finally names: symbolic links followed, even to a file that does not exist
    // yet. Saving "through" a link writes this file and leaves the link in place.
    static QString resolvedTarget(const QString &path);
    // Staging entries of the kind of `wantedPath` left behind by runs that were killed.
    static void removeStaleEntries(const QString &wantedPath);

private:
    bool makeDurable();
    void discard();

    QString m_wanted;
    QString m_path;
    Kind m_kind;
    int m_fd = -1; // holds the lock
};
