#include "PFSystemPagePrompts.h"

#include <QColorDialog>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

QString PFSystemPagePrompts::chooseFolder(QWidget *parent, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, QString(), start);
}

QStringList PFSystemPagePrompts::chooseFiles(QWidget *parent, const QStringList &extensions)
{
    QStringList patterns;
    for (const QString &extension : extensions)
        patterns << QStringLiteral("*.") + extension;
    return QFileDialog::getOpenFileNames(parent, QString(), QString(),
                                         QStringLiteral("(%1)").arg(patterns.join(u' ')));
}

std::optional<PFPagePrompts::SaveChoice> PFSystemPagePrompts::saveFile(QWidget *parent, const QString &name,
                                                                      const QList<std::pair<QString, QString>> &formats)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(name);
    QStringList filters;
    for (const auto &[title, extension] : formats)
        filters << QStringLiteral("%1 (*.%2)").arg(title, extension);
    dialog.setNameFilters(filters);
    if (!formats.isEmpty())
        dialog.setDefaultSuffix(formats.first().second);
    // The chosen format decides the extension the saved name gets.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &filter) {
        const qsizetype index = filters.indexOf(filter);
        if (index >= 0)
            dialog.setDefaultSuffix(formats.at(index).second);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    // The panel asks before it accepts an existing file, so a file there now is one to replace.
    const QString path = dialog.selectedFiles().first();
    return SaveChoice{path, int(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()))),
                      QFileInfo::exists(path)};
}

std::optional<QColor> PFSystemPagePrompts::chooseColor(QWidget *parent, const QColor &initial)
{
    const QColor color = QColorDialog::getColor(initial, parent, QString(), QColorDialog::ShowAlphaChannel);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

void PFSystemPagePrompts::reveal(const QString &path)
{
    const QUrl url = QUrl::fromLocalFile(path);
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
                                                       QStringLiteral("/org/freedesktop/FileManager1"),
                                                       QStringLiteral("org.freedesktop.FileManager1"),
                                                       QStringLiteral("ShowItems"));
    call << QStringList{url.toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}
