#pragma once

#include <QByteArray>
#include <QString>

// What one document window shows: its file (empty for a start window), or its bytes when the
// document was handed over as data, and the page numbers for the title.
struct PFContent {
    QString filePath; // absolute local path
    QByteArray data;
    qint64 totalNum = 0;
    qint64 currentNum = 0;
};
