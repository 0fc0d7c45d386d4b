#include "DateFormatter.h"

#include <QRegularExpression>

DateFormatter &DateFormatter::instance()
{
    static DateFormatter formatter;
    return formatter;
}

QString DateFormatter::abbreviatedDateTimeFormat(const QLocale &locale)
{
    // The long date format carries the locale's order of year, month and day; drop its weekday
    // (with the separator that follows or precedes it) and shorten the month name.
    QString date = locale.dateFormat(QLocale::LongFormat);
    static const QRegularExpression weekday(QStringLiteral("dddd[\\s,，、]*|[\\s,，、]*dddd"));
    date.remove(weekday);
    date.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    return date.trimmed() + QStringLiteral(" HH:mm");
}
