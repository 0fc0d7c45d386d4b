#include "app/AppDelegate.h"
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

    AppDelegate delegate(UserDefaults::standard());
    QStringList paths;
    // Paths from a terminal or a file manager (%F); a file URL is taken as its path.
    for (const QString &argument : app.arguments().mid(1)) {
        const QUrl url(argument);
        paths.append(QFileInfo(url.isLocalFile() ? url.toLocalFile() : argument).absoluteFilePath());
    }
    delegate.applicationDidFinishLaunching(paths);
    return app.exec();
}
