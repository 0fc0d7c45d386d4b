#include "app/AppDelegate.h"
#include "platform/store/Localization.h"
#include "platform/store/UserDefaults.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Quirna"));
    app.setWindowIcon(QIcon(QStringLiteral(":/resources/icons/IconTop.svg")));
    Localization::install();

    AppDelegate delegate(UserDefaults::standard());
    QStringList paths;
    for (const QString &argument : app.arguments().mid(1))
        paths.append(QFileInfo(argument).absoluteFilePath());
    delegate.applicationDidFinishLaunching(paths);
    return app.exec();
}
