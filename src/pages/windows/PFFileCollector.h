#pragma once

#include <QStringList>

// The files among dropped or chosen paths that a window accepts: a file by its extension in
// lower case, a folder by walking it with its subfolders, skipping hidden entries.
namespace PFFileCollector {
QStringList collect(const QStringList &paths, const QStringList &extensions);
}
