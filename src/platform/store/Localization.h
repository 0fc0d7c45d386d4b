#pragma once

#include <QLocale>
#include <QString>

// Every user-interface text is looked up here, with its Chinese literal as the key. A key
// without a translation shows the key itself.
QString pfLocalized(const char *key);

namespace Localization {

// True when the locale shows the English tables; a Chinese locale shows the keys themselves,
// and English is the only translation shipped, so every other language gets it.
bool usesEnglishTables(const QLocale &locale);

// Installs the tables for the locale (replacing any installed before) on the running
// application: every compiled ":/i18n/*_en.qm" when usesEnglishTables(locale). Returns the
// number of tables installed.
int install(const QLocale &locale = QLocale::system());

} // namespace Localization
