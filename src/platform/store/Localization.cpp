#include "Localization.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QList>
#include <QPointer>
#include <QTranslator>

QString pfLocalized(const char *key)
{
    return QCoreApplication::translate("Quirna", key);
}

namespace Localization {

QString tableSuffix(const QLocale &locale)
{
    return locale.language() == QLocale::Chinese ? QStringLiteral("zh_CN") : QStringLiteral("en");
}

int install(const QLocale &locale)
{
    // Installed from the main thread at start-up (and by tests switching locales).
    // The application owns the tables; a deleted translator uninstalls itself.
    static QList<QPointer<QTranslator>> installed;
    qDeleteAll(installed);
    installed.clear();
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return 0;
    const QString pattern = QStringLiteral("*_%1.qm").arg(tableSuffix(locale));
    // An installed program reads the tables installed beside it, so they can be updated without
    // a rebuild; otherwise the ones built into it.
    QDir tables(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quirna/translations"));
    if (!tables.exists() || tables.entryList({pattern}, QDir::Files).isEmpty())
        tables.setPath(QStringLiteral(":/i18n"));
    for (const QString &name : tables.entryList({pattern}, QDir::Files, QDir::Name)) {
        auto *translator = new QTranslator(application);
        if (translator->load(tables.filePath(name)) && QCoreApplication::installTranslator(translator))
            installed.append(translator);
        else
            delete translator;
    }
    const int ownTables = int(installed.size());
    // Qt's own texts (file and print dialogs, message box buttons) in the same language, from
    // Qt's translations when they are installed; in English they are Qt's own.
    if (tableSuffix(locale) == QLatin1String("zh_CN")) {
        auto *qt = new QTranslator(application);
        if (qt->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))
            && QCoreApplication::installTranslator(qt))
            installed.append(qt);
        else
            delete qt;
    }
    return ownTables;
}

} // namespace Localization
