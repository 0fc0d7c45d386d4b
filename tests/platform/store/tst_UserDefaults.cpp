#include "platform/store/UserDefaults.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointF>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cmath>
#include <memory>

class TestUserDefaults : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString storePath() const { return m_dir.filePath(QStringLiteral("prefs.json")); }
    QStringList corruptCopies() const
    {
        return QDir(m_dir.path()).entryList({QStringLiteral("prefs.json.corrupt-*")}, QDir::Files);
    }
    void writeStoreFile(const QByteArray &bytes) const
    {
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        QDir dir(m_dir.path());
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
            dir.remove(name);
    }

    void freshStoreIsEmptyAndWritesNothingUntilSet()
    {
        UserDefaults store(storePath());
        QVERIFY(!store.contains(QStringLiteral("HilightColor")));
        QVERIFY(!store.value(QStringLiteral("HilightColor")).isValid());
        QVERIFY(!QFile::exists(storePath()));
        QVERIFY(store.setValue(QStringLiteral("DrawLineWidth"), QStringLiteral("4")));
        QVERIFY(QFile::exists(storePath()));
    }

    void valuesSurviveInAnotherInstance_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("string") << QVariant(QStringLiteral("宋体 Regular"));
        QTest::newRow("empty string") << QVariant(QString(""));
        QTest::newRow("integer") << QVariant(qlonglong(-42));
        QTest::newRow("integer beyond double precision") << QVariant(qlonglong(9007199254740993LL));
        QTest::newRow("double") << QVariant(0.1 + 0.2);
        QTest::newRow("bool") << QVariant(true);
        QTest::newRow("data") << QVariant(QByteArrayLiteral("\x00\xff\xfe binary\n"));
        QTest::newRow("empty data") << QVariant(QByteArray(""));
        QTest::newRow("array") << QVariant(QVariantList{1, QStringLiteral("two"), false, QByteArray("3")});
        QTest::newRow("dictionary") << QVariant(QVariantMap{
            {QStringLiteral("isHue"), 1.0},
            {QStringLiteral("nested"), QVariantMap{{QStringLiteral("bytes"), QByteArrayLiteral("\x01\x02")}}},
            {QStringLiteral("list"), QVariantList{QVariantMap{}, QVariantList{}}}});
        // Dictionaries that look like the file's own tags stay dictionaries.
        QTest::newRow("dictionary named like the data tag")
            << QVariant(QVariantMap{{QStringLiteral("$data"), QStringLiteral("AAAA")}});
        QTest::newRow("dictionary named like the dictionary tag")
            << QVariant(QVariantMap{{QStringLiteral("$dict"), QVariantMap{{QStringLiteral("$data"), 1}}}});
    }

    void valuesSurviveInAnotherInstance()
    {
        QFETCH(QVariant, value);
        const QString key = QStringLiteral("key");
        {
            UserDefaults writer(storePath());
            QVERIFY(writer.setValue(key, value));
        }
        UserDefaults reader(storePath());
        const QVariant read = reader.value(key);
        QCOMPARE(read, value);
        // The kind matters too: data must not come back as a string, a bool not as a number.
        const bool numeric = value.metaType() == QMetaType::fromType<qlonglong>()
                             || value.metaType() == QMetaType::fromType<double>();
        if (!numeric)
            QCOMPARE(read.metaType(), value.metaType());
    }

    void anyStringIsAKey()
    {
        const QStringList keys = {QStringLiteral("/home/u/文档/a b.pdfPageMark"),
                                  QStringLiteral("file:///tmp/a%20b.pdfthumb"), QStringLiteral(""),
                                  QStringLiteral("$data"), QStringLiteral("\"quoted\\key\"\n")};
        {
            UserDefaults writer(storePath());
            for (int i = 0; i < keys.size(); ++i)
                QVERIFY(writer.setValue(keys[i], i));
        }
        UserDefaults reader(storePath());
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(reader.value(keys[i]).toInt(), i);
    }

    void removalIsDurable()
    {
        {
            UserDefaults writer(storePath());
            writer.setValue(QStringLiteral("a"), 1);
            writer.setValue(QStringLiteral("b"), 2);
            QVERIFY(writer.removeValue(QStringLiteral("a")));
            QVERIFY(writer.setValue(QStringLiteral("b"), QVariant())); // invalid removes too
        }
        UserDefaults reader(storePath());
        QVERIFY(!reader.contains(QStringLiteral("a")));
        QVERIFY(!reader.contains(QStringLiteral("b")));
    }

    void rejectsValuesThatAreNoPropertyList()
    {
        UserDefaults store(storePath());
        store.setValue(QStringLiteral("kept"), 1);
        const QByteArray before = readFile(storePath());
        QVERIFY(!store.setValue(QStringLiteral("point"), QPointF(1, 2)));
        QVERIFY(!store.setValue(QStringLiteral("nan"), std::nan("")));
        QVERIFY(!store.setValue(QStringLiteral("nested"), QVariantList{1, QPointF(1, 2)}));
        QVERIFY(!store.contains(QStringLiteral("point")));
        QVERIFY(!store.contains(QStringLiteral("nested")));
        QVERIFY(!store.contains(QStringLiteral("nan")));
        QCOMPARE(readFile(storePath()), before);
    }

    void damagedFileIsMovedAsideAndKept_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("garbage") << QByteArrayLiteral("\x89PNG not a store\x00\x01");
        QTest::newRow("truncated") << QByteArray("{\"DrawLineWidth\": \"4\", \"Hil");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("array at the top") << QByteArray("[1, 2, 3]");
        QTest::newRow("bad data tag") << QByteArray("{\"k\": {\"$data\": \"@@not base64@@\"}}");
        QTest::newRow("null value") << QByteArray("{\"k\": null}");
    }

    void damagedFileIsMovedAsideAndKept()
    {
        QFETCH(QByteArray, content);
        writeStoreFile(content);
        UserDefaults store(storePath());
        QVERIFY(!store.contains(QStringLiteral("DrawLineWidth")));
        QVERIFY(!store.contains(QStringLiteral("k")));
        const QStringList copies = corruptCopies();
        QCOMPARE(copies.size(), 1);
        QCOMPARE(readFile(m_dir.filePath(copies.first())), content);

        // The store starts over in a new file; the damaged copy stays as it was.
        QVERIFY(store.setValue(QStringLiteral("DrawLineWidth"), QStringLiteral("6")));
        QCOMPARE(UserDefaults(storePath()).value(QStringLiteral("DrawLineWidth")).toString(), QStringLiteral("6"));
        QCOMPARE(readFile(m_dir.filePath(copies.first())), content);
    }

    void repeatedDamageNeverReplacesAnEarlierCopy()
    {
        writeStoreFile("first damage");
        UserDefaults first(storePath());
        writeStoreFile("second damage");
        UserDefaults second(storePath()); // very likely within the same second
        QStringList contents;
        for (const QString &name : corruptCopies())
            contents << QString::fromLatin1(readFile(m_dir.filePath(name)));
        contents.sort();
        QCOMPARE(contents, (QStringList{QStringLiteral("first damage"), QStringLiteral("second damage")}));
    }

    void unreadableFileIsMovedAside()
    {
        writeStoreFile("{\"k\": 1}");
        QFile::setPermissions(storePath(), QFileDevice::WriteOwner);
        QFile probe(storePath());
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("file permissions do not apply to this user");
        UserDefaults store(storePath());
        QVERIFY(!store.contains(QStringLiteral("k")));
        QCOMPARE(corruptCopies().size(), 1);
    }

    void damagedFileThatCannotBeMovedIsNeverOverwritten()
    {
        const QString folder = m_dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/prefs.json");
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("damaged");
        }
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool enforced = !QFileInfo(folder).isWritable();
        if (enforced) {
            UserDefaults store(path);
            QVERIFY(!store.setValue(QStringLiteral("k"), 1));
            QCOMPARE(readFile(path), QByteArray("damaged"));
        }
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (!enforced)
            QSKIP("file permissions do not apply to this user");
    }

    void failedWriteIsReportedAndTheValueKeptForTheSession()
    {
        // A regular file where the store's folder should be: nothing can be written there.
        QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        UserDefaults store(m_dir.filePath(QStringLiteral("blocker/prefs.json")));
        QVERIFY(!store.setValue(QStringLiteral("k"), 3));
        QCOMPARE(store.value(QStringLiteral("k")).toInt(), 3);
    }

    void concurrentWritersAllLand()
    {
        UserDefaults store(storePath());
        constexpr int threads = 4;
        constexpr int perThread = 25;
        std::vector<std::unique_ptr<QThread>> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back(QThread::create([&store, t] {
                for (int i = 0; i < perThread; ++i)
                    store.setValue(QStringLiteral("%1-%2").arg(t).arg(i), i);
            }));
            workers.back()->start();
        }
        for (auto &worker : workers)
            QVERIFY(worker->wait());
        UserDefaults reader(storePath());
        for (int t = 0; t < threads; ++t)
            for (int i = 0; i < perThread; ++i)
                QCOMPARE(reader.value(QStringLiteral("%1-%2").arg(t).arg(i)).toInt(), i);
    }
};

QUIRNA_TEST_MAIN(QCoreApplication, TestUserDefaults)
#include "tst_UserDefaults.moc"
