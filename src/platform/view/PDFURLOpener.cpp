#include "PDFURLOpener.h"

#include <QDesktopServices>

namespace {

PDFURLOpener::Opener &currentOpener()
{
    static PDFURLOpener::Opener opener = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return opener;
}

} // namespace

bool PDFURLOpener::isAllowed(const QUrl &url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !url.host().isEmpty();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    return false;
}

bool PDFURLOpener::open(const QString &address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!isAllowed(url))
        return false;
    return currentOpener()(url);
}

void PDFURLOpener::setOpener(Opener opener) { currentOpener() = std::move(opener); }
