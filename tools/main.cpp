// quirna-tool: the page tools on the command line, over the same page engine as the app.
#include "ToolCommands.h"

#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QTranslator>
#include <cstring>
#include <malloc.h>
#include <memory>

int main(int argc, char **argv)
{
    // Every command builds and frees objects by the hundred thousand (the PDF engines' object
    // graphs). glibc's fast bins then spend a tenth of the run merging freed chunks whenever a
    // large block is asked for; without them the commands run 10-15 % faster.
    mallopt(M_MXFAST, 0);
    // The watermark needs fonts, which need a GUI application, but never a display. The other
    // commands start without one: setting up the fonts alone costs more than splitting a small file.
    const bool needsFonts = argc > 1 && std::strcmp(argv[1], "watermark") == 0;
    if (needsFonts && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The tool speaks for itself: one line per failure, no framework chatter on stderr.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const std::unique_ptr<QCoreApplication> app = needsFonts ? std::make_unique<QGuiApplication>(argc, argv)
                                                             : std::make_unique<QCoreApplication>(argc, argv);
    Q_INIT_RESOURCE(translations);
    if (!QLocale().name().startsWith(QStringLiteral("zh"))) {
        for (const QString &table : QDir(QStringLiteral(":/i18n")).entryList({QStringLiteral("*_en.qm")})) {
            auto *t = new QTranslator(app.get());
            if (t->load(QStringLiteral(":/i18n/") + table))
                QCoreApplication::installTranslator(t);
        }
    }
    return ToolCommands::run(QCoreApplication::arguments().mid(1));
}
