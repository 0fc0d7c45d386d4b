#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A test's own temporary folder, for the documents it writes and the files it saves.
class TestFolder {
public:
    bool isValid() const { return m_dir.isValid(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // Writes the bytes to a new docN.pdf; an empty string when that failed.
    QString writePdf(const QByteArray &bytes);

private:
    QTemporaryDir m_dir;
    int m_count = 0;
};
