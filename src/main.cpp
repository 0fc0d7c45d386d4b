#include "app/AppDelegate.h"
#include "platform/system/InstanceChannel.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"

#include <QApplication>
#include <QFileInfo>
#include <QUrl>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Quirna"));
    app.setApplicationVersion(QStringLiteral(QUIRNA_VERSION));
    app.setDesktopFileName(QStringLiteral("org.quirna.Quirna"));
    app.setWindowIcon(QIcon::fromTheme(QStringLiteral("org.quirna.Quirna"),
                                       QIcon(QStringLiteral(":/resources/desktop/org.quirna.Quirna.svg"))));
    Localization::install();

    QStringList paths;
    // Paths from a terminal or a file manager (%F); a file URL is taken as its path.
    for (const QString &argument : app.arguments().mid(1)) {
        const QUrl url(argument);
        paths.append(QFileInfo(url.isLocalFile() ? url.toLocalFile() : argument).absoluteFilePath());
    }
    // A program already running for this user opens the files in windows of its own.
    InstanceChannel channel;
    if (channel.claim(paths) == InstanceChannel::Role::HandedOver)
        return 0;

    AppDelegate delegate(UserDefaults::standard());
    QObject::connect(&channel, &InstanceChannel::openRequested, &delegate, &AppDelegate::applicationOpenFiles);
    delegate.applicationDidFinishLaunching(paths);
    return app.exec();
}
