#pragma once

#include <QUrl>
#include <functional>

// Hands a link's address to the desktop, but only web and mail addresses: a document must
// never make the desktop open local files or run programs.
class PDFURLOpener {
public:
    using Opener = std::function<bool(const QUrl &)>;

    static bool isAllowed(const QUrl &url);
    // Opens an allowed address; false (and nothing opened) otherwise.
    static bool open(const QString &address);
    // Replaces the desktop hand-off (tests observe it instead of launching anything).
    static void setOpener(Opener opener);
};
