#include "Localization.h"

#include <QCoreApplication>
#include <QDir>
#include <QList>
#include <QPointer>
#include <QTranslator>

QString pfLocalized(const char *key)
{
    return QCoreApplication::translate("Quirna", key);
}

namespace Localization {

bool usesEnglishTables(const QLocale &locale)
{
    return locale.language() != QLocale::Chinese;
}

int install(const QLocale &locale)
{
    // Installed from the main thread at start-up (and by tests switching locales).
    // The application owns the tables; a deleted translator uninstalls itself.
    static QList<QPointer<QTranslator>> installed;
    qDeleteAll(installed);
    installed.clear();
    QCoreApplication *application = QCoreApplication::instance();
    if (!application || !usesEnglishTables(locale))
        return 0;
    const QDir tables(QStringLiteral(":/i18n"));
    for (const QString &name : tables.entryList({QStringLiteral("*_en.qm")}, QDir::Files, QDir::Name)) {
        auto *translator = new QTranslator(application);
        if (translator->load(tables.filePath(name)) && QCoreApplication::installTranslator(translator))
            installed.append(translator);
        else
            delete translator;
    }
    return int(installed.size());
}

} // namespace Localization
