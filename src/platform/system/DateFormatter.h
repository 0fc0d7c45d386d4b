#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The one date formatter the program shares. Each user sets the format before formatting, so it
// is used from the main thread only.
class DateFormatter {
public:
    static DateFormatter &instance();

    QLocale locale() const { return m_locale; }
    void setLocale(const QLocale &locale) { m_locale = locale; }
    // A QDateTime format string, such as "yyyy/MM/dd HH:mm:ss".
    void setDateFormat(const QString &format) { m_format = format; }
    QString stringFromDate(const QDateTime &date) const { return m_locale.toString(date, m_format); }

    // The locale's own order and punctuation for year, abbreviated month, day, and 24-hour
    // time: "MMM d, yyyy HH:mm" in American English, "yyyy年M月d日 HH:mm" in Chinese.
    static QString abbreviatedDateTimeFormat(const QLocale &locale);

private:
    DateFormatter() = default;
    QLocale m_locale;
    QString m_format;
};
