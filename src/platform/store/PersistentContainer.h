#pragma once

#include "PFSignData.h"

#include <QList>
#include <QSqlError>
#include <QString>

class QSqlDatabase;

// The object store "Kestrelfold": an SQLite database holding the PFSignData records. It works
// like an editing context: inserts and deletions are pending (and visible to fetches) until
// save() commits them; pending changes are discarded when the container is destroyed.
//
// A database that cannot be opened leaves the container unavailable: every call then does
// nothing, and lastError() says why, so the program goes on without saved signatures.
// Use it from the thread that created it.
class PersistentContainer {
public:
    static constexpr const char *containerName = "Kestrelfold";

    // The program's container, "Kestrelfold.sqlite" in the application data folder, opened on
    // first use.
    static PersistentContainer &shared();

    explicit PersistentContainer(const QString &databasePath);
    ~PersistentContainer();
    PersistentContainer(const PersistentContainer &) = delete;
    PersistentContainer &operator=(const PersistentContainer &) = delete;

    bool isAvailable() const { return m_available; }
    // A message for the user about the last failure (opening, changing or saving); empty when
    // nothing failed.
    QString lastError() const { return m_lastError; }
    // Set when a damaged database file was moved aside at opening and a fresh one begun: a
    // message for the user saying where the old file went. Empty otherwise.
    QString openingNotice() const { return m_notice; }

    // Adds the record and sets its objectID. False when it could not be added.
    bool insert(PFSignData &record);
    // Every record, in the order they were inserted.
    QList<PFSignData> fetchAll() const;
    // Deletes every record whose dateID equals the key; the number deleted, -1 on failure.
    int removeWithDateID(const QString &dateID);

    bool hasChanges() const { return m_pending; }
    // Commits the pending changes to disk. True when there was nothing to save.
    bool save();

private:
    void open(const QString &databasePath);
    static QSqlError createSchema(QSqlDatabase &database);
    // Renames the file to a free "….corrupt-yyyyMMddHHmmss" name; that name, or empty on failure.
    static QString moveAside(const QString &databasePath);
    bool beginChange();
    void failOpen(const QString &detail);
    void failWrite(const QString &detail);

    QString m_connectionName;
    QString m_databasePath;
    bool m_available = false;
    bool m_pending = false;
    QString m_lastError;
    QString m_notice;
};
