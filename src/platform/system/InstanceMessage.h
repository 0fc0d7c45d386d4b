#pragma once

#include <QByteArray>
#include <QStringList>

// The bytes a later launch sends to the running instance: a tag, the number of files, then
// each file's absolute path as a length and its UTF-8 bytes (lengths are 32-bit big-endian).
// Every field is bounded, and anything but a list of absolute paths is refused, so a stray or
// hostile peer can at most ask for files to be opened.
class InstanceMessage {
public:
    static constexpr int kMaxPaths = 1000;
    static constexpr int kMaxPathBytes = 4096; // PATH_MAX on Linux
    static constexpr int kMaxBytes = 1 << 20;

    enum class State { Incomplete, Complete, Invalid };

    // Empty when the list breaks one of the bounds above.
    static QByteArray encode(const QStringList &paths);

    // Reads what has arrived so far; `paths` is filled once it is Complete.
    static State decode(const QByteArray &bytes, QStringList *paths);
};
