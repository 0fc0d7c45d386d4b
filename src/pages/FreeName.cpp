#include "FreeName.h"

#include "PageRange.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

bool taken(const QString &path) { return QFileInfo::exists(path) || QFileInfo(path).isSymLink(); }

QString folderOf(const QString &path) { return QFileInfo(path).path(); }

} // namespace

bool FreeName::isPureInt(const QString &text)
{
    static const QRegularExpression integer(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
    return integer.match(text).hasMatch();
}

qint64 FreeName::leadingInt(const QString &text) { return PageRange::readNumber(text); }

QString FreeName::forFile(const QString &path)
{
    QString candidate = path;
    while (taken(candidate)) {
        QStringList parts = QFileInfo(candidate).completeBaseName().split(u'-');
        // The number follows the old last part's leading digits even when a new part takes it:
        // 2x.pdf is followed by 2x-3.pdf.
        const qint64 next = leadingInt(parts.last()) + 1;
        if (!isPureInt(parts.last()))
            parts.append(QString());
        parts.last() = QString::number(next);
        candidate = folderOf(candidate) + u'/' + parts.join(u'-') + QStringLiteral(".pdf");
    }
    return candidate;
}

QString FreeName::forAnyFile(const QString &path)
{
    const QFileInfo info(path);
    const QString ending = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString candidate = path;
    for (qint64 n = 1; taken(candidate); ++n)
        candidate = folderOf(path) + u'/' + info.completeBaseName() + u'-' + QString::number(n) + ending;
    return candidate;
}

QString FreeName::forFolder(const QString &path)
{
    QString candidate = path;
    while (taken(candidate)) {
        QStringList parts = QFileInfo(candidate).fileName().split(u'-');
        if (isPureInt(parts.last()))
            parts.last() = QString::number(leadingInt(parts.last()) + 1);
        else
            parts.append(QString::number(leadingInt(parts.last()) + 1));
        candidate = folderOf(candidate) + u'/' + parts.join(u'-');
    }
    return candidate;
}

QString FreeName::forSplitFile(const QString &path)
{
    QString candidate = path;
    while (taken(candidate)) {
        QStringList parts = QFileInfo(candidate).completeBaseName().split(u'-');
        const QString head = parts.last().section(u'.', 0, 0);
        if (head == QStringLiteral("splited"))
            parts.append(QStringLiteral("1"));
        else
            parts.last() = QString::number(leadingInt(head) + 1);
        candidate = folderOf(candidate) + u'/' + parts.join(u'-') + QStringLiteral(".pdf");
    }
    return candidate;
}
