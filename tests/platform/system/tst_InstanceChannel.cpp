#include "platform/store/UserDefaults.h"
#include "platform/system/InstanceChannel.h"
#include "platform/system/InstanceMessage.h"
#include "support/TestEnvironment.h"
#include "support/TestPdf.h"

#include <QLocalSocket>
#include <QProcess>
#include <QtConcurrent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QByteArray lengthBytes(quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    return QByteArray(bytes, 4);
}

// What a crashed instance leaves: a socket file nobody listens on.
bool leaveStaleSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    memcpy(address.sun_path, name.constData(), name.size());
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound && QFileInfo::exists(path);
}

// A peer that sends `bytes` and reports whether the instance accepted them.
bool sendRaw(const QString &socketPath, const QByteArray &bytes)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(2000))
        return false;
    socket.write(bytes);
    socket.waitForBytesWritten(2000);
    // The instance answers from its event loop, which runs while this waits.
    const bool answered = QTest::qWaitFor(
        [&] { return socket.bytesAvailable() > 0 || socket.state() != QLocalSocket::ConnectedState; }, 10000);
    return answered && socket.read(1) == "A";
}

// A later launch in this process: it blocks while it waits for the answer, so it runs on a
// thread of its own while this one serves.
InstanceChannel::Role claimElsewhere(const QString &socketPath, const QStringList &paths)
{
    QFuture<InstanceChannel::Role> role = QtConcurrent::run([socketPath, paths] {
        InstanceChannel launch(socketPath);
        return launch.claim(paths);
    });
    if (!QTest::qWaitFor([&] { return role.isFinished(); }, 30000))
        return InstanceChannel::Role::Alone;
    return role.result();
}

} // namespace

class TestInstanceChannel : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString socketPath() const { return m_dir.filePath(QStringLiteral("instance")); }

    // The real program, as a file manager or xdg-open starts it.
    std::unique_ptr<QProcess> launch(const QStringList &arguments, const QString &workingFolder = {})
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (!workingFolder.isEmpty())
            process->setWorkingDirectory(workingFolder);
        process->start(QStringLiteral(QUIRNA_BINARY), arguments);
        return process->waitForStarted() ? std::move(process) : nullptr;
    }

    static QStringList recentDocuments()
    {
        UserDefaults defaults(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Quirna/prefs.json"));
        return defaults.value(QStringLiteral("PFRecentDocuments")).toStringList();
    }

private slots:
    void messagesCarryBoundedAbsolutePathsOnly()
    {
        const QStringList paths{QStringLiteral("/home/ada/notes.pdf"), QStringLiteral("/tmp/文件 (2).pdf")};
        const QByteArray message = InstanceMessage::encode(paths);
        QStringList decoded;
        QCOMPARE(InstanceMessage::decode(message, &decoded), InstanceMessage::State::Complete);
        QCOMPARE(decoded, paths);
        // Arriving in pieces, it is incomplete until the last byte.
        for (int cut : {1, 4, 7, 8, 12, int(message.size()) - 1})
            QCOMPARE(InstanceMessage::decode(message.left(cut), &decoded), InstanceMessage::State::Incomplete);
        QCOMPARE(InstanceMessage::decode(InstanceMessage::encode({}), &decoded), InstanceMessage::State::Complete);
        QVERIFY(decoded.isEmpty());

        // The sender refuses what the instance would refuse.
        QVERIFY(InstanceMessage::encode({QStringLiteral("relative.pdf")}).isEmpty());
        QVERIFY(InstanceMessage::encode({QStringLiteral("/a") + QString(5000, QLatin1Char('x'))}).isEmpty());
        QVERIFY(InstanceMessage::encode(QStringList(InstanceMessage::kMaxPaths + 1, QStringLiteral("/a"))).isEmpty());

        const auto invalid = [&](const QByteArray &bytes) {
            return InstanceMessage::decode(bytes, &decoded) == InstanceMessage::State::Invalid;
        };
        const QByteArray head = QByteArrayLiteral("QRN1");
        QVERIFY(invalid("GET / HTTP/1.1\r\n"));
        QVERIFY(invalid("Q"
                        "X"));
        QVERIFY(invalid(head + lengthBytes(0xFFFFFFFF)));                                      // absurd count
        QVERIFY(invalid(head + lengthBytes(1) + lengthBytes(0x7FFFFFFF)));                    // absurd length
        QVERIFY(invalid(head + lengthBytes(1) + lengthBytes(0)));                             // empty path
        QVERIFY(invalid(head + lengthBytes(1) + lengthBytes(5) + "a.pdf"));                    // relative
        QVERIFY(invalid(head + lengthBytes(1) + lengthBytes(6) + QByteArray("/a\0pdf", 6)));  // NUL
        QVERIFY(invalid(head + lengthBytes(1) + lengthBytes(4) + "/a\xff\xfe"));             // not UTF-8
        QVERIFY(invalid(message + "more"));                                                   // trailing bytes
        QVERIFY(invalid(QByteArray(InstanceMessage::kMaxBytes + 1, 'Q')));
        // A path is cleaned before it is used.
        QCOMPARE(InstanceMessage::decode(InstanceMessage::encode({QStringLiteral("/tmp/../etc//x.pdf")}), &decoded),
                 InstanceMessage::State::Complete);
        QCOMPARE(decoded, QStringList{QStringLiteral("/etc/x.pdf")});
    }

    void hostilePeersAreDroppedAndTheNextLaunchIsServed()
    {
        InstanceChannel instance(socketPath());
        QCOMPARE(instance.claim({}), InstanceChannel::Role::Serving);
        const QFile::Permissions mode = QFileInfo(socketPath()).permissions();
        QVERIFY(!(mode & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup)));
        QSignalSpy opened(&instance, &InstanceChannel::openRequested);

        // Garbage, a relative path or a flood are refused without effect.
        QVERIFY(!sendRaw(socketPath(), "\x01\x02garbage"));
        QVERIFY(!sendRaw(socketPath(), QByteArrayLiteral("QRN1") + lengthBytes(1) + lengthBytes(5) + "a.pdf"));
        QVERIFY(!sendRaw(socketPath(), QByteArray(InstanceMessage::kMaxBytes + 64, 'Q')));
        QCOMPARE(opened.size(), 0);

        // Peers that connect and say nothing take a bounded number of places; meanwhile a launch
        // runs on its own but leaves the instance its socket.
        std::vector<std::unique_ptr<QLocalSocket>> silent;
        for (int i = 0; i < InstanceChannel::kMaxPeers + 4; ++i) {
            silent.push_back(std::make_unique<QLocalSocket>());
            silent.back()->connectToServer(socketPath());
            QVERIFY(silent.back()->waitForConnected(2000));
        }
        QCOMPARE(claimElsewhere(socketPath(), {QStringLiteral("/tmp/a.pdf")}), InstanceChannel::Role::Alone);
        // Once they have timed out, the next launch is answered.
        QTRY_VERIFY_WITH_TIMEOUT(std::all_of(silent.begin(), silent.end(), [](const auto &peer) {
                                     return peer->state() == QLocalSocket::UnconnectedState;
                                 }),
                                 3 * InstanceChannel::kPeerTimeoutMs);
        QCOMPARE(claimElsewhere(socketPath(), {QStringLiteral("/tmp/b.pdf")}), InstanceChannel::Role::HandedOver);
        QTRY_COMPARE(opened.size(), 1);
        QCOMPARE(opened.first().first().toStringList(), QStringList{QStringLiteral("/tmp/b.pdf")});
    }

    void staleSocketIsReplaced()
    {
        const QString path = m_dir.filePath(QStringLiteral("stale"));
        QVERIFY(leaveStaleSocket(path));
        InstanceChannel instance(path);
        QCOMPARE(instance.claim({QStringLiteral("/tmp/a.pdf")}), InstanceChannel::Role::Serving);
        QSignalSpy opened(&instance, &InstanceChannel::openRequested);
        QCOMPARE(claimElsewhere(path, {}), InstanceChannel::Role::HandedOver);
        QTRY_COMPARE(opened.size(), 1);
        QVERIFY(opened.first().first().toStringList().isEmpty());
    }

    void secondLaunchOpensItsFilesInTheRunningProgram()
    {
        QTemporaryDir folder;
        for (const char *name : {"a.pdf", "b.pdf", "c d.pdf"})
            QVERIFY(TestPdf::write(folder.filePath(QString::fromLatin1(name)), TestPdf::simple(1)));
        const QString runtimeSocket = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/quirna-instance");
        // A crashed run left its socket behind: the first launch starts anyway.
        QVERIFY(leaveStaleSocket(runtimeSocket));

        auto first = launch({folder.filePath(QStringLiteral("a.pdf"))});
        QVERIFY(first);
        QTRY_VERIFY_WITH_TIMEOUT(recentDocuments().contains(folder.filePath(QStringLiteral("a.pdf"))), 30000);

        // A file manager hands over two files, one by relative name and one as a URL.
        auto second = launch({QStringLiteral("b.pdf"), QUrl::fromLocalFile(folder.filePath(QStringLiteral("c d.pdf"))).toString()},
                             folder.path());
        QVERIFY(second);
        QVERIFY(second->waitForFinished(30000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(recentDocuments().contains(folder.filePath(QStringLiteral("b.pdf")))
                                     && recentDocuments().contains(folder.filePath(QStringLiteral("c d.pdf"))),
                                 30000);
        QCOMPARE(first->state(), QProcess::Running);

        first->terminate();
        QVERIFY(first->waitForFinished(30000));
    }
};

QUIRNA_TEST_MAIN(QCoreApplication, TestInstanceChannel)
#include "tst_InstanceChannel.moc"
