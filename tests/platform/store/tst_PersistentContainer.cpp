#include "platform/store/PersistentContainer.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

PFSignData typedSignature(const QString &dateID)
{
    PFSignData record;
    record.dateID = dateID;
    record.signType = 1;
    record.fontName = QStringLiteral("Noto Serif CJK SC");
    record.inputText = QStringLiteral("张三 Zhang");
    record.fontColor = QByteArrayLiteral("{\n    \"alpha\": 1,\n    \"isHue\": 1\n}\n\x00\xff");
    return record;
}

PFSignData imageSignature(const QString &dateID, qint64 type)
{
    PFSignData record;
    record.dateID = dateID;
    record.signType = type;
    record.imagePath = dateID;
    return record;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPersistentContainer : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_serial = 0;
    QString m_path;

    // What another reader of the file sees.
    int committedRecordCount() const
    {
        int count = -1;
        {
            QSqlDatabase reader = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reader"));
            reader.setDatabaseName(m_path);
            reader.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (reader.open()) {
                QSqlQuery query(reader);
                if (query.exec(QStringLiteral("SELECT count(*) FROM PFSignData")) && query.next())
                    count = query.value(0).toInt();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("reader"));
        return count;
    }

private slots:
    void init() { m_path = m_dir.filePath(QStringLiteral("store-%1/Kestrelfold.sqlite").arg(++m_serial)); }

    void sharedContainerLivesInTheDataFolder()
    {
        PersistentContainer &shared = PersistentContainer::shared();
        QVERIFY2(shared.isAvailable(), qPrintable(shared.lastError()));
        QVERIFY(QFile::exists(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                              + QStringLiteral("/Kestrelfold.sqlite")));
    }

    void savedRecordsKeepEveryAttributeAndTheirOrder()
    {
        QList<PFSignData> inserted = {typedSignature(QStringLiteral("20240305140709")),
                                      imageSignature(QStringLiteral("20240305140710"), 2),
                                      imageSignature(QStringLiteral("20240101000000"), 3), PFSignData()};
        {
            PersistentContainer container(m_path);
            QVERIFY2(container.isAvailable(), qPrintable(container.lastError()));
            QVERIFY(container.fetchAll().isEmpty());
            for (PFSignData &record : inserted) {
                QVERIFY(container.insert(record));
                QVERIFY(record.objectID > 0);
            }
            QVERIFY(container.hasChanges());
            QVERIFY(container.save());
            QVERIFY(!container.hasChanges());
        }
        PersistentContainer reopened(m_path);
        const QList<PFSignData> fetched = reopened.fetchAll();
        QCOMPARE(fetched, inserted); // absent attributes stay absent, not empty
        QVERIFY(!fetched[1].fontName.has_value());
        QVERIFY(!fetched[3].signType.has_value());
    }

    void pendingChangesAreSeenButNotKeptWithoutSave()
    {
        {
            PersistentContainer container(m_path);
            PFSignData record = imageSignature(QStringLiteral("20240305140709"), 2);
            QVERIFY(container.insert(record));
            QCOMPARE(container.fetchAll().size(), 1);
            QCOMPARE(committedRecordCount(), 0);
        }
        QVERIFY(PersistentContainer(m_path).fetchAll().isEmpty()); // discarded with the container

        PersistentContainer container(m_path);
        PFSignData record = imageSignature(QStringLiteral("20240305140709"), 2);
        QVERIFY(container.insert(record));
        QVERIFY(container.save());
        QCOMPARE(committedRecordCount(), 1);
    }

    void removingByDateIDTakesEveryMatchingRecord()
    {
        PersistentContainer container(m_path);
        // Two signatures saved within one second share their key.
        QList<PFSignData> records = {typedSignature(QStringLiteral("20240305140709")),
                                     imageSignature(QStringLiteral("20240305140710"), 3),
                                     imageSignature(QStringLiteral("20240305140709"), 2),
                                     imageSignature(QStringLiteral("20240305140711"), 2)};
        for (PFSignData &record : records)
            QVERIFY(container.insert(record));
        QVERIFY(container.save());

        QCOMPARE(container.removeWithDateID(QStringLiteral("20240305140709")), 2);
        QCOMPARE(container.removeWithDateID(QStringLiteral("19990101000000")), 0);
        QVERIFY(container.save());
        const QList<PFSignData> expected = {records[1], records[3]};
        QCOMPARE(container.fetchAll(), expected);
        QCOMPARE(PersistentContainer(m_path).fetchAll(), expected);
    }

    void unopenableStoreReportsAndDoesNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a folder") << QStringLiteral("folder");
        QTest::newRow("folder cannot be made") << QStringLiteral("blocked");
        QTest::newRow("foreign table") << QStringLiteral("foreign");
    }

    void unopenableStoreReportsAndDoesNothing()
    {
        QFETCH(QString, kind);
        QDir().mkpath(QFileInfo(m_path).path());
        QString path = m_path;
        if (kind == QLatin1String("folder")) {
            QDir().mkpath(path);
        } else if (kind == QLatin1String("blocked")) {
            QFile blocker(m_dir.filePath(QStringLiteral("blocker-%1").arg(m_serial)));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            path = blocker.fileName() + QStringLiteral("/Kestrelfold.sqlite");
        } else {
            QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
            database.setDatabaseName(path);
            QVERIFY(database.open());
            QVERIFY(QSqlQuery(database).exec(QStringLiteral("CREATE TABLE PFSignData (other TEXT)")));
            database.close();
        }
        if (kind == QLatin1String("foreign"))
            QSqlDatabase::removeDatabase(QStringLiteral("foreign"));

        PersistentContainer container(path);
        QVERIFY(!container.isAvailable());
        QVERIFY2(container.lastError().contains(path), qPrintable(container.lastError()));
        PFSignData record = typedSignature(QStringLiteral("20240305140709"));
        QVERIFY(!container.insert(record));
        QVERIFY(container.fetchAll().isEmpty());
        QCOMPARE(container.removeWithDateID(QStringLiteral("20240305140709")), -1);
        QVERIFY(!container.hasChanges());
    }

    void damagedStoreIsMovedAsideAndBegunAfresh()
    {
        QDir().mkpath(QFileInfo(m_path).path());
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.append(char((i * 7919) % 251));
        {
            QFile file(m_path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(garbage);
        }
        PersistentContainer container(m_path);
        QVERIFY2(container.isAvailable(), qPrintable(container.lastError()));
        const QStringList aside = QDir(QFileInfo(m_path).path())
                                      .entryList({QStringLiteral("Kestrelfold.sqlite.corrupt-*")}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QVERIFY2(container.openingNotice().contains(aside.first()), qPrintable(container.openingNotice()));
        QCOMPARE(readFile(QFileInfo(m_path).path() + QLatin1Char('/') + aside.first()), garbage); // kept whole
        PFSignData record = typedSignature(QStringLiteral("20240305140709"));
        QVERIFY(container.insert(record));
        QVERIFY(container.save());
        QCOMPARE(container.fetchAll().size(), 1);
    }

    void readOnlyStoreIsReportedAtOnce()
    {
        { PersistentContainer(m_path).save(); }
        const QString folder = QFileInfo(m_path).path();
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool enforced = !QFileInfo(folder).isWritable();
        if (enforced) {
            PersistentContainer container(m_path);
            QVERIFY(!container.isAvailable());
            QVERIFY(container.lastError().contains(m_path));
        }
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (!enforced)
            QSKIP("file permissions do not apply to this user");
    }
};

QUIRNA_TEST_MAIN(QCoreApplication, TestPersistentContainer)
#include "tst_PersistentContainer.moc"
