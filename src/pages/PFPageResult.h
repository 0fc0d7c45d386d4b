#pragma once

#include <QString>
#include <QStringList>

// What a page operation wrote, or why it wrote nothing: a message for the user.
struct PFPageResult {
    QStringList written;
    QString error;

    bool ok() const { return error.isEmpty(); }
    static PFPageResult failure(const QString &message) { return {{}, message}; }
};
