// quirna-tool: the page tools on the command line, over the same page engine as the app.
#include "ToolCommands.h"

#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QTranslator>

int main(int argc, char **argv)
{
    // Watermarks need fonts, which need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The tool speaks for itself: one line per failure, no framework chatter on stderr.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QGuiApplication app(argc, argv);
    Q_INIT_RESOURCE(translations);
    if (!QLocale().name().startsWith(QStringLiteral("zh"))) {
        for (const QString &table : QDir(QStringLiteral(":/i18n")).entryList({QStringLiteral("*_en.qm")})) {
            auto *t = new QTranslator(&app);
            if (t->load(QStringLiteral(":/i18n/") + table))
                QCoreApplication::installTranslator(t);
        }
    }
    return ToolCommands::run(app.arguments().mid(1));
}
