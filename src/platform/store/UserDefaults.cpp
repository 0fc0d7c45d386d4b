#include "UserDefaults.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <unistd.h>

namespace {

// JSON has no binary type, so data is written as {"$data": base64}. A dictionary that would
// read back as such a tag (its only key is one of the tags) is wrapped as {"$dict": {...}}.
const QString dataTag = QStringLiteral("$data");
const QString dictTag = QStringLiteral("$dict");

std::optional<QJsonValue> encode(const QVariant &value);

// The entries as they stand; the file's top level is written this way, never tag-wrapped.
std::optional<QJsonObject> encodeEntries(const QVariantMap &map)
{
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it) {
        const auto encoded = encode(it.value());
        if (!encoded)
            return std::nullopt;
        object.insert(it.key(), *encoded);
    }
    return object;
}

std::optional<QJsonValue> encode(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return QJsonValue(value.toString());
    case QMetaType::Bool:
        return QJsonValue(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return QJsonValue(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        if (value.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return QJsonValue(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        if (!std::isfinite(value.toDouble()))
            return std::nullopt; // JSON cannot carry it
        return QJsonValue(value.toDouble());
    case QMetaType::QByteArray:
        return QJsonObject{{dataTag, QString::fromLatin1(value.toByteArray().toBase64())}};
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        QJsonArray array;
        for (const QVariant &item : value.toList()) {
            const auto encoded = encode(item);
            if (!encoded)
                return std::nullopt;
            array.append(*encoded);
        }
        return array;
    }
    case QMetaType::QVariantMap: {
        const auto object = encodeEntries(value.toMap());
        if (!object)
            return std::nullopt;
        if (object->size() == 1 && (object->contains(dataTag) || object->contains(dictTag)))
            return QJsonObject{{dictTag, *object}};
        return *object;
    }
    default:
        return std::nullopt;
    }
}

std::optional<QVariant> decode(const QJsonValue &value);

std::optional<QVariantMap> decodeEntries(const QJsonObject &object)
{
    QVariantMap map;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const auto decoded = decode(it.value());
        if (!decoded)
            return std::nullopt;
        map.insert(it.key(), *decoded);
    }
    return map;
}

std::optional<QVariant> decode(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::String:
    case QJsonValue::Bool:
    case QJsonValue::Double:
        return value.toVariant();
    case QJsonValue::Array: {
        QVariantList list;
        for (const QJsonValue &item : value.toArray()) {
            const auto decoded = decode(item);
            if (!decoded)
                return std::nullopt;
            list.append(*decoded);
        }
        return list;
    }
    case QJsonValue::Object: {
        const QJsonObject object = value.toObject();
        if (object.size() == 1 && object.contains(dataTag)) {
            if (!object.value(dataTag).isString())
                return std::nullopt;
            const auto bytes = QByteArray::fromBase64Encoding(
                object.value(dataTag).toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (!bytes)
                return std::nullopt;
            return QVariant(*bytes);
        }
        if (object.size() == 1 && object.contains(dictTag)) {
            if (!object.value(dictTag).isObject())
                return std::nullopt;
            if (const auto map = decodeEntries(object.value(dictTag).toObject()))
                return QVariant(*map);
            return std::nullopt;
        }
        if (const auto map = decodeEntries(object))
            return QVariant(*map);
        return std::nullopt;
    }
    default:
        return std::nullopt; // we never write null
    }
}

// Makes a completed rename survive a power loss as well.
void syncDirectory(const QString &directory)
{
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

UserDefaults &UserDefaults::standard()
{
    static UserDefaults store(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
                              + QStringLiteral("/prefs.json"));
    return store;
}

UserDefaults::UserDefaults(const QString &filePath) : m_filePath(filePath)
{
    load();
}

void UserDefaults::load()
{
    const QFileInfo info(m_filePath);
    if (!info.exists() && !info.isSymLink())
        return; // a fresh start
    QFile file(m_filePath);
    std::optional<QVariantMap> values;
    if (file.open(QIODevice::ReadOnly)) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
        if (error.error == QJsonParseError::NoError && document.isObject())
            values = decodeEntries(document.object());
    }
    if (values) {
        m_values = *values;
        return;
    }
    m_writable = moveAside();
}

bool UserDefaults::moveAside()
{
    const QString stem = m_filePath + QStringLiteral(".corrupt-")
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
    QString target = stem;
    for (int n = 1; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = stem + QLatin1Char('-') + QString::number(n);
    // QFile::rename never replaces an existing file, so the damaged one is never lost.
    return QFile::rename(m_filePath, target);
}

bool UserDefaults::contains(const QString &key) const
{
    QMutexLocker locker(&m_mutex);
    return m_values.contains(key);
}

QVariant UserDefaults::value(const QString &key) const
{
    QMutexLocker locker(&m_mutex);
    return m_values.value(key);
}

bool UserDefaults::setValue(const QString &key, const QVariant &value)
{
    if (!value.isValid())
        return removeValue(key);
    if (!encode(value))
        return false;
    QMutexLocker locker(&m_mutex);
    m_values.insert(key, value);
    return writeLocked();
}

bool UserDefaults::removeValue(const QString &key)
{
    QMutexLocker locker(&m_mutex);
    if (!m_values.remove(key))
        return true;
    return writeLocked();
}

bool UserDefaults::writeLocked()
{
    if (!m_writable)
        return false;
    const auto object = encodeEntries(m_values);
    if (!object)
        return false;
    const QString directory = QFileInfo(m_filePath).absolutePath();
    QDir().mkpath(directory);
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(*object).toJson(QJsonDocument::Indented));
    if (!file.commit()) // commit flushes the data to disk before it renames
        return false;
    syncDirectory(directory);
    return true;
}
