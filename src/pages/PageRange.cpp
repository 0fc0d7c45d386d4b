#include "PageRange.h"

#include <algorithm>
#include <limits>

qint64 PageRange::readNumber(const QString &piece)
{
    int i = 0;
    while (i < piece.size() && piece[i].isSpace())
        ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == u'+' || piece[i] == u'-')) {
        negative = piece[i] == u'-';
        ++i;
    }
    constexpr qint64 limit = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (; i < piece.size() && piece[i] >= u'0' && piece[i] <= u'9'; ++i) {
        const int digit = piece[i].unicode() - u'0';
        value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
    }
    return negative ? -value : value;
}

QVector<int> PageRange::pages(const QString &text, int pageCount)
{
    QVector<bool> named(std::max(pageCount, 0) + 1, false);
    for (const QString &item : text.split(u',')) {
        const QStringList pieces = item.split(u'-');
        const qint64 a = readNumber(pieces[0]);
        const qint64 b = pieces.size() >= 2 ? readNumber(pieces[1]) : a;
        const qint64 low = std::max<qint64>(std::min(a, b), 1);
        const qint64 high = std::min<qint64>(std::max(a, b), pageCount);
        for (qint64 n = low; n <= high; ++n)
            named[int(n)] = true;
    }
    QVector<int> result;
    for (int n = 1; n <= pageCount; ++n)
        if (named[n])
            result.append(n);
    return result;
}
