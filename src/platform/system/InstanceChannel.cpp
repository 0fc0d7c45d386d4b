#include "InstanceChannel.h"

#include "InstanceMessage.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

namespace {

constexpr char kAccepted = 'A';
// How long a launch waits for the running instance: it may still be opening its own files.
constexpr int kAnswerTimeoutMs = 5000;
constexpr int kConnectTimeoutMs = 1000;
constexpr int kLockTimeoutMs = 3000;

} // namespace

QString InstanceChannel::defaultSocketPath()
{
    // The runtime folder is the user's own (mode 0700), so only the user reaches the socket.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/quirna-instance");
}

InstanceChannel::InstanceChannel(QString socketPath, QObject *parent)
    : QObject(parent), m_socketPath(std::move(socketPath))
{
}

InstanceChannel::~InstanceChannel()
{
    if (m_server)
        m_server->close(); // removes the socket file, so the next launch need not wait on it
}

InstanceChannel::Role InstanceChannel::claim(const QStringList &paths)
{
    // Two launches at once must not both take over the socket: the decision is made under a
    // lock, which a crashed holder does not keep (its process is gone).
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    const bool locked = lock.tryLock(kLockTimeoutMs);
    switch (handOver(paths)) {
    case HandOver::Accepted:
        return Role::HandedOver;
    case HandOver::Unanswered:
        return Role::Alone; // an instance runs but is busy: its socket stays its own
    case HandOver::NobodyListens:
        break;
    }
    return locked && listen() ? Role::Serving : Role::Alone;
}

InstanceChannel::HandOver InstanceChannel::handOver(const QStringList &paths)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return HandOver::NobodyListens; // none runs, or a crashed one left its socket file
    const QByteArray message = InstanceMessage::encode(paths);
    if (message.isEmpty())
        return HandOver::Unanswered;
    socket.write(message);
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs))
        return HandOver::Unanswered;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(kAnswerTimeoutMs))
            return HandOver::Unanswered;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == kAccepted ? HandOver::Accepted : HandOver::Unanswered;
}

bool InstanceChannel::listen()
{
    // Only a socket nobody listens on is removed here (the lock is held and no connection was
    // possible), so this replaces what a crashed instance left.
    QLocalServer::removeServer(m_socketPath);
    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    server->setMaxPendingConnections(kMaxPeers);
    if (!server->listen(m_socketPath)) {
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::accept);
    return true;
}

void InstanceChannel::accept()
{
    while (QLocalSocket *peer = m_server->nextPendingConnection()) {
        if (m_peers >= kMaxPeers) {
            peer->abort();
            peer->deleteLater();
            continue;
        }
        ++m_peers;
        connect(peer, &QObject::destroyed, this, [this] { --m_peers; });
        connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        connect(peer, &QLocalSocket::readyRead, this, [this, peer] { readFrom(peer); });
        // A peer that connects and says nothing does not hold its place for ever.
        auto *timeout = new QTimer(peer);
        timeout->setSingleShot(true);
        connect(timeout, &QTimer::timeout, peer, [peer] {
            peer->abort();
            peer->deleteLater();
        });
        timeout->start(kPeerTimeoutMs);
        if (peer->bytesAvailable() > 0)
            readFrom(peer);
    }
}

void InstanceChannel::readFrom(QLocalSocket *peer)
{
    QByteArray received = peer->property("received").toByteArray();
    received += peer->read(InstanceMessage::kMaxBytes + 1 - received.size());
    QStringList paths;
    switch (InstanceMessage::decode(received, &paths)) {
    case InstanceMessage::State::Incomplete:
        peer->setProperty("received", received);
        return;
    case InstanceMessage::State::Invalid:
        peer->abort();
        peer->deleteLater();
        return;
    case InstanceMessage::State::Complete:
        break;
    }
    peer->setProperty("received", QVariant());
    disconnect(peer, &QLocalSocket::readyRead, this, nullptr); // one message per connection
    peer->putChar(kAccepted);
    peer->flush();
    peer->disconnectFromServer();
    // Opening may ask questions (a password, a damaged file): not inside the socket's signal.
    QMetaObject::invokeMethod(this, [this, paths] { emit openRequested(paths); }, Qt::QueuedConnection);
}
