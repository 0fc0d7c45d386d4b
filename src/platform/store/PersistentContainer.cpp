#include "PersistentContainer.h"

#include "Localization.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QAtomicInt>

namespace {

const QString driverName = QStringLiteral("QSQLITE");

QVariant bindable(const std::optional<QString> &value)
{
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<QString>());
}

template <typename T>
std::optional<T> optionalValue(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return value.value<T>();
}

QString describe(const QSqlError &error)
{
    return error.text().trimmed();
}

} // namespace

PersistentContainer &PersistentContainer::shared()
{
    static PersistentContainer container(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                         + QLatin1Char('/') + QLatin1String(containerName)
                                         + QStringLiteral(".sqlite"));
    return container;
}

PersistentContainer::PersistentContainer(const QString &databasePath) : m_databasePath(databasePath)
{
    static QAtomicInt serial;
    m_connectionName = QLatin1String(containerName) + QLatin1Char('-') + QString::number(serial.fetchAndAddRelaxed(1));
    open(databasePath);
}

PersistentContainer::~PersistentContainer()
{
    {
        QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
        if (database.isOpen() && m_pending)
            database.rollback();
        database.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

void PersistentContainer::failOpen(const QString &detail)
{
    m_available = false;
    m_lastError = pfLocalized("无法打开签名库（%1）。已保存的签名暂不可用。")
                      .arg(m_databasePath + QStringLiteral(": ") + detail);
    QSqlDatabase::database(m_connectionName, false).close();
}

void PersistentContainer::failWrite(const QString &detail)
{
    m_lastError = pfLocalized("无法保存签名库（%1）。").arg(m_databasePath + QStringLiteral(": ") + detail);
}

QSqlError PersistentContainer::createSchema(QSqlDatabase &database)
{
    // SQLite opens lazily: a damaged or foreign file shows itself only here.
    QSqlQuery query(database);
    const QString statements[] = {
        QStringLiteral("CREATE TABLE IF NOT EXISTS PFSignData ("
                       "id INTEGER PRIMARY KEY AUTOINCREMENT, dateID TEXT, signType INTEGER, "
                       "fontName TEXT, inputText TEXT, fontColor BLOB, imagePath TEXT)"),
        QStringLiteral("SELECT id, dateID, signType, fontName, inputText, fontColor, imagePath "
                       "FROM PFSignData LIMIT 0"),
    };
    for (const QString &statement : statements) {
        if (!query.exec(statement))
            return query.lastError();
    }
    return {};
}

QString PersistentContainer::moveAside(const QString &databasePath)
{
    const QString stem = databasePath + QStringLiteral(".corrupt-")
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
    QString target = stem;
    for (int n = 1; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = stem + QLatin1Char('-') + QString::number(n);
    // QFile::rename never replaces an existing file, so the damaged one is never lost.
    return QFile::rename(databasePath, target) ? target : QString();
}

void PersistentContainer::open(const QString &databasePath)
{
    if (!QSqlDatabase::isDriverAvailable(driverName))
        return failOpen(QStringLiteral("the SQLite driver of Qt SQL is not installed"));
    const QFileInfo info(databasePath);
    if (info.isDir())
        return failOpen(QStringLiteral("the path is a folder"));
    if (!QDir().mkpath(info.absolutePath()))
        return failOpen(QStringLiteral("its folder cannot be created"));

    QSqlDatabase database = QSqlDatabase::addDatabase(driverName, m_connectionName);
    database.setDatabaseName(databasePath);
    for (int attempt = 0;; ++attempt) {
        if (!database.open())
            return failOpen(describe(database.lastError()));
        const QSqlError error = createSchema(database);
        if (!error.isValid())
            break;
        // A damaged or foreign file is kept under another name and a fresh store begins, as
        // the preference store does; any other failure leaves the store unavailable.
        const QString code = error.nativeErrorCode();
        const bool damaged = code == QLatin1String("26") || code == QLatin1String("11");
        database.close();
        if (attempt > 0 || !damaged)
            return failOpen(describe(error));
        const QString aside = moveAside(databasePath);
        if (aside.isEmpty())
            return failOpen(describe(error));
        m_notice = pfLocalized("签名库已损坏，已移至 %1，已新建空的签名库。").arg(aside);
    }
    // SQLite silently opens a read-only file for reading; saving would then fail much later.
    // The folder must be writable too, for the journal.
    if (!QFileInfo(databasePath).isWritable() || !QFileInfo(info.absolutePath()).isWritable())
        return failOpen(QStringLiteral("the file or its folder is read-only"));
    m_available = true;
}

bool PersistentContainer::beginChange()
{
    if (!m_available)
        return false;
    if (m_pending)
        return true;
    QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
    if (!database.transaction()) {
        failWrite(describe(database.lastError()));
        return false;
    }
    m_pending = true;
    return true;
}

bool PersistentContainer::insert(PFSignData &record)
{
    if (!beginChange())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("INSERT INTO PFSignData (dateID, signType, fontName, inputText, "
                                 "fontColor, imagePath) VALUES (?, ?, ?, ?, ?, ?)"));
    query.addBindValue(bindable(record.dateID));
    query.addBindValue(record.signType ? QVariant(*record.signType) : QVariant(QMetaType::fromType<qint64>()));
    query.addBindValue(bindable(record.fontName));
    query.addBindValue(bindable(record.inputText));
    query.addBindValue(record.fontColor ? QVariant(*record.fontColor) : QVariant(QMetaType::fromType<QByteArray>()));
    query.addBindValue(bindable(record.imagePath));
    if (!query.exec()) {
        failWrite(describe(query.lastError()));
        return false;
    }
    record.objectID = query.lastInsertId().toLongLong();
    return true;
}

QList<PFSignData> PersistentContainer::fetchAll() const
{
    QList<PFSignData> records;
    if (!m_available)
        return records;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT id, dateID, signType, fontName, inputText, fontColor, "
                                   "imagePath FROM PFSignData ORDER BY id")))
        return records;
    while (query.next()) {
        PFSignData record;
        record.objectID = query.value(0).toLongLong();
        record.dateID = optionalValue<QString>(query.value(1));
        record.signType = optionalValue<qint64>(query.value(2));
        record.fontName = optionalValue<QString>(query.value(3));
        record.inputText = optionalValue<QString>(query.value(4));
        record.fontColor = optionalValue<QByteArray>(query.value(5));
        record.imagePath = optionalValue<QString>(query.value(6));
        records.append(record);
    }
    return records;
}

int PersistentContainer::removeWithDateID(const QString &dateID)
{
    if (!beginChange())
        return -1;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("DELETE FROM PFSignData WHERE dateID = ?"));
    query.addBindValue(dateID);
    if (!query.exec()) {
        failWrite(describe(query.lastError()));
        return -1;
    }
    return query.numRowsAffected();
}

bool PersistentContainer::save()
{
    if (!m_pending)
        return true;
    QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
    if (!database.commit()) {
        failWrite(describe(database.lastError()));
        return false;
    }
    m_pending = false;
    m_lastError.clear();
    return true;
}
