#include "platform/system/ColorSchemePortal.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");

} // namespace

// A settings portal of the current interface version.
class ModernPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    std::atomic<uint> scheme = 0;
    QString askedGroup, askedKey;

public slots:
    QDBusVariant ReadOne(const QString &group, const QString &key)
    {
        askedGroup = group;
        askedKey = key;
        return QDBusVariant(uint(scheme));
    }
};

// An older portal: no ReadOne, and Read wraps the value in a second variant.
class OldPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public slots:
    QDBusVariant Read(const QString &, const QString &)
    {
        return QDBusVariant(QVariant::fromValue(QDBusVariant(uint(ColorSchemePortal::PreferDark))));
    }
};

// A portal that never answers.
class SilentPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public slots:
    QDBusVariant ReadOne(const QString &, const QString &, const QDBusMessage &message)
    {
        message.setDelayedReply(true);
        return {};
    }
};

class TestColorSchemePortal : public QObject {
    Q_OBJECT

private:
    QProcess m_daemon;
    QString m_address;
    QThread m_portalThread; // the fake portal answers there while the test thread blocks
    std::unique_ptr<QObject> m_portal;

    QDBusConnection host() const { return QDBusConnection(QStringLiteral("portal-host")); }
    QDBusConnection client() const { return QDBusConnection(QStringLiteral("portal-client")); }

    template <typename Portal>
    Portal *publish()
    {
        auto *portal = new Portal;
        portal->moveToThread(&m_portalThread);
        m_portal.reset(portal);
        host().registerObject(portalPath, portal, QDBusConnection::ExportAllSlots);
        host().interface()->registerService(portalService);
        return portal;
    }

    void emitChange(const QString &group, const QString &key, uint scheme)
    {
        QDBusMessage signal = QDBusMessage::createSignal(portalPath, QStringLiteral("org.freedesktop.portal.Settings"),
                                                         QStringLiteral("SettingChanged"));
        signal << group << key << QVariant::fromValue(QDBusVariant(scheme));
        QVERIFY(host().send(signal));
    }

private slots:
    void initTestCase()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted())
            QSKIP("dbus-daemon is not installed");
        QTRY_VERIFY(m_daemon.canReadLine());
        m_address = QString::fromLatin1(m_daemon.readLine()).trimmed();
        QVERIFY(QDBusConnection::connectToBus(m_address, QStringLiteral("portal-host")).isConnected());
        QVERIFY(QDBusConnection::connectToBus(m_address, QStringLiteral("portal-client")).isConnected());
        m_portalThread.start();
    }

    void cleanup()
    {
        host().interface()->unregisterService(portalService);
        host().unregisterObject(portalPath);
        m_portal.reset();
    }

    void cleanupTestCase()
    {
        m_portalThread.quit();
        m_portalThread.wait();
        QDBusConnection::disconnectFromBus(QStringLiteral("portal-host"));
        QDBusConnection::disconnectFromBus(QStringLiteral("portal-client"));
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    void readsTheAppearanceSetting_data()
    {
        QTest::addColumn<uint>("published");
        QTest::addColumn<int>("expected");
        QTest::newRow("dark") << 1u << int(ColorSchemePortal::PreferDark);
        QTest::newRow("light") << 2u << int(ColorSchemePortal::PreferLight);
        QTest::newRow("no preference") << 0u << int(ColorSchemePortal::NoPreference);
        QTest::newRow("unknown value") << 7u << int(ColorSchemePortal::NoPreference);
    }

    void readsTheAppearanceSetting()
    {
        QFETCH(uint, published);
        QFETCH(int, expected);
        ModernPortal *portal = publish<ModernPortal>();
        portal->scheme = published;
        const ColorSchemePortal reader(client());
        QCOMPARE(int(reader.scheme()), expected);
        QCOMPARE(portal->askedGroup, QStringLiteral("org.freedesktop.appearance"));
        QCOMPARE(portal->askedKey, QStringLiteral("color-scheme"));
    }

    void olderPortalsAreReadToo()
    {
        publish<OldPortal>();
        QCOMPARE(ColorSchemePortal(client()).scheme(), ColorSchemePortal::PreferDark);
    }

    void noPortalOrNoAnswerMeansNoPreference()
    {
        QCOMPARE(ColorSchemePortal(client()).scheme(), ColorSchemePortal::NoPreference);
        publish<SilentPortal>();
        QCOMPARE(ColorSchemePortal(client(), 100).scheme(), ColorSchemePortal::NoPreference);
        const QDBusConnection noBus = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                                    QStringLiteral("no-bus"));
        QCOMPARE(ColorSchemePortal(noBus).scheme(), ColorSchemePortal::NoPreference);
    }

    void followsLaterChanges()
    {
        publish<ModernPortal>()->scheme = ColorSchemePortal::PreferLight;
        const ColorSchemePortal reader(client());
        QCOMPARE(reader.scheme(), ColorSchemePortal::PreferLight);

        emitChange(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 1);
        QTRY_COMPARE(reader.scheme(), ColorSchemePortal::PreferDark);

        // Other settings leave it alone.
        QVERIFY(client().connect(portalService, portalPath, QStringLiteral("org.freedesktop.portal.Settings"),
                                 QStringLiteral("SettingChanged"), this,
                                 SLOT(countSignal(QString, QString, QDBusVariant))));
        emitChange(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("accent-color"), 2);
        emitChange(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"), 2);
        QTRY_COMPARE(m_signals, 2);
        QCoreApplication::processEvents();
        QCOMPARE(reader.scheme(), ColorSchemePortal::PreferDark);
    }

public slots:
    void countSignal(const QString &, const QString &, const QDBusVariant &) { ++m_signals; }

private:
    int m_signals = 0;
};

QUIRNA_TEST_MAIN(QCoreApplication, TestColorSchemePortal)
#include "tst_ColorSchemePortal.moc"
