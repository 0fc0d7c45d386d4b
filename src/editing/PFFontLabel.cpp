#include "PFFontLabel.h"

#include "settings/PFManager.h"

#include <QStringList>

QString PFFontLabel::format(long size, const QString &fontName)
{
    return QStringLiteral("%1,%2").arg(size).arg(fontName);
}

PFFontLabel::Parts PFFontLabel::parse(const QString &label)
{
    Parts parts;
    if (label.isEmpty())
        return parts;
    const QStringList pieces = label.split(QLatin1Char(','));
    parts.count = int(pieces.size());
    bool ok = false;
    const int size = pieces.first().toInt(&ok);
    if (ok && !pieces.first().isEmpty() && PFManager::pfIsNum(pieces.first()))
        parts.size = size;
    if (pieces.size() > 1)
        parts.fontName = pieces.at(1);
    return parts;
}
