#pragma once

#include <QMutex>
#include <QString>
#include <QVariantMap>

// The per-user preference store: a map from any string (file paths included) to a
// property-list value: string, number, bool, dictionary (QVariantMap), array (QVariantList) or
// data (QByteArray), nested freely. It lives in one JSON file that is rewritten atomically and
// flushed to disk on every change, so a value is durable when its setter returns.
//
// A file that cannot be read or decoded is moved aside (to "<file>.corrupt-<time>") and the
// store starts empty; it is never overwritten in place. Safe to use from any thread.
class UserDefaults {
public:
    // The process-wide store, "prefs.json" in the application config folder. The application
    // name must be set before the first call.
    static UserDefaults &standard();

    explicit UserDefaults(const QString &filePath);
    UserDefaults(const UserDefaults &) = delete;
    UserDefaults &operator=(const UserDefaults &) = delete;

    QString filePath() const { return m_filePath; }

    bool contains(const QString &key) const;
    // The stored value, or an invalid QVariant when the key is absent.
    QVariant value(const QString &key) const;
    // Stores the value (an invalid QVariant removes the key). Returns false when the value is not
    // of a property-list kind (nothing changes) or when it could not be written to disk (the
    // value is kept for this session).
    bool setValue(const QString &key, const QVariant &value);
    bool removeValue(const QString &key);

private:
    void load();
    bool moveAside();
    bool writeLocked();

    const QString m_filePath;
    mutable QMutex m_mutex;
    QVariantMap m_values;
    // False after a damaged file could not be moved aside: it must not be overwritten.
    bool m_writable = true;
};
