#pragma once

#include <QString>

// An output folder the user chooses once and the tools remember under a preference key. The
// default is the application folder in the user's pictures folder.
class PFOutputFolder {
public:
    // `createDefault`: whether the default folder is created when it is used.
    PFOutputFolder(const QString &key, bool createDefault);

    // The stored folder (created when missing), or the default.
    QString path() const;
    // Remembers `folder` as the user's choice.
    void choose(const QString &folder);

    static QString defaultPath();

private:
    QString m_key;
    bool m_createDefault;
};
