#pragma once

#include <QLocale>
#include <QString>

// Every user-interface text is looked up here, with its Chinese literal as the key. A key
// without a translation shows the key itself.
QString pfLocalized(const char *key);

namespace Localization {

// The table suffix for a locale: "zh_CN" for any Chinese locale (its table shows each key
// without its disambiguating suffix), "en" for every other language.
QString tableSuffix(const QLocale &locale);

// Installs the tables for the locale (replacing any installed before) on the running
// application: every "*_<suffix>.qm" of the program's installed translations folder
// (<prefix>/share/quirna/translations), or else of the built-in ":/i18n"; for Chinese also
// Qt's own Chinese table, so Qt's dialogs read as the rest. Returns the number of the
// program's tables installed.
int install(const QLocale &locale = QLocale::system());

} // namespace Localization
