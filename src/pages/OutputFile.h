#pragma once

#include "platform/system/StagedOutput.h"

#include <QByteArray>
#include <QString>

// Encoded bytes put on disk with every step checked (write, flush, close), so that a full disk
// or an I/O error is a failure and never a short file reported as written.
namespace OutputFile {

// A file of a staging folder: the folder's commit makes it durable and publishes it, so the
// file itself is written plainly. A failed write removes what was written.
bool writeStaged(const QString &path, const QByteArray &bytes);

// A file the user chose in a save panel, replacing what is there only once the new file is
// complete: written to a temporary file beside it, synced, then renamed over it.
bool writeReplacing(const QString &path, const QByteArray &bytes);

// A new file that replaces nothing: written under a hidden name beside `wantedPath`, then
// published under the first vacant name `vacant` gives. The name used; empty on failure.
QString writeNew(const QString &wantedPath, const QByteArray &bytes, const StagedOutput::VacantName &vacant);

} // namespace OutputFile
