#include "PFDataManager.h"

#include "platform/store/PFSignData.h"
#include "platform/store/PersistentContainer.h"
#include "settings/PFManager.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
}

QByteArray encodeColor(const QColor &color)
{
    const QVariantMap dictionary = PFManager::pfConvertColorToModel(color).toDictionary();
    return QJsonDocument(QJsonObject::fromVariantMap(dictionary)).toJson(QJsonDocument::Indented);
}

std::optional<QColor> decodeColor(const std::optional<QByteArray> &bytes)
{
    if (!bytes)
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(*bytes);
    if (!document.isObject())
        return std::nullopt;
    const std::optional<PFSignColorModel> model = PFSignColorModel::fromDictionary(document.object().toVariantMap());
    if (!model)
        return std::nullopt;
    return PFManager::pfColorFromModel(*model);
}

} // namespace

PFDataManager &PFDataManager::sharedManager()
{
    static PFDataManager manager(PersistentContainer::shared());
    return manager;
}

bool PFDataManager::insertAndSave(PFSignData &record)
{
    record.dateID = now();
    return m_container.insert(record) && m_container.save();
}

bool PFDataManager::pfSaveSignFont(const QString &fontName, const QColor &color, const QString &content)
{
    PFSignData record;
    record.signType = PFSignParameterModel::Typed;
    record.fontName = fontName;
    record.inputText = content;
    record.fontColor = encodeColor(color);
    return insertAndSave(record);
}

bool PFDataManager::pfSaveSignDrawImage(const QString &name)
{
    PFSignData record;
    record.signType = PFSignParameterModel::Drawn;
    record.imagePath = name;
    return insertAndSave(record);
}

bool PFDataManager::pfSaveSignImage(const QString &name)
{
    PFSignData record;
    record.signType = PFSignParameterModel::Image;
    record.imagePath = name;
    return insertAndSave(record);
}

QList<PFSignParameterModel> PFDataManager::pfGetAllSignData() const
{
    QList<PFSignParameterModel> entries;
    for (const PFSignData &record : m_container.fetchAll()) {
        PFSignParameterModel entry;
        entry.signType = record.signType.value_or(0);
        entry.dateID = record.dateID;
        if (entry.signType == PFSignParameterModel::Typed) {
            if (!record.inputText || record.inputText->isEmpty())
                continue;
            entry.fontName = record.fontName;
            entry.inputText = record.inputText;
            entry.colorT = decodeColor(record.fontColor).value_or(QColor(Qt::black));
        } else if (entry.signType == PFSignParameterModel::Drawn || entry.signType == PFSignParameterModel::Image) {
            if (!record.imagePath || record.imagePath->isEmpty())
                continue;
            const QString path = PFManager::pfGetCacheSignImagePathByID(*record.imagePath);
            if (!QFileInfo(path).isFile())
                continue;
            entry.imagePath = path;
        } else {
            continue;
        }
        entries.append(entry);
    }
    return entries;
}

bool PFDataManager::pfDeleteSignData(const QString &dateID)
{
    QSet<QString> files;
    for (const PFSignData &record : m_container.fetchAll()) {
        if (record.dateID == dateID && record.imagePath && !record.imagePath->isEmpty())
            files.insert(*record.imagePath);
    }
    if (m_container.removeWithDateID(dateID) < 0 || !m_container.save())
        return false;
    for (const PFSignData &record : m_container.fetchAll()) {
        if (record.imagePath)
            files.remove(*record.imagePath);
    }
    for (const QString &name : std::as_const(files))
        PFManager::pfDeleteFileIfExist(PFManager::pfGetCacheSignImagePathByID(name));
    return true;
}

bool PFDataManager::isAvailable() const { return m_container.isAvailable(); }

QString PFDataManager::lastError() const { return m_container.lastError(); }

QString PFDataManager::openingNotice() const { return m_container.openingNotice(); }
