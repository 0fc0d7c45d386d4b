#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// One running program per user: a later launch hands the files it was given to the running
// instance, which opens them, instead of starting a second program. The channel is a local
// socket in the user's private runtime folder. A socket left behind by a crashed instance is
// replaced; a peer that sends anything but a bounded list of absolute paths, or nothing in
// time, is dropped without effect.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    enum class Role {
        HandedOver, // a running instance took the files: this launch is done
        Serving,    // this is the running instance now
        Alone,      // neither (no usable socket): run without the channel
    };

    static constexpr int kMaxPeers = 8;
    static constexpr int kPeerTimeoutMs = 5000;

    static QString defaultSocketPath();

    explicit InstanceChannel(QString socketPath = defaultSocketPath(), QObject *parent = nullptr);
    ~InstanceChannel() override;

    // Hands `paths` (absolute; none for a plain launch) to a running instance, or else starts
    // serving later launches.
    Role claim(const QStringList &paths);
    QString socketPath() const { return m_socketPath; }

signals:
    // A later launch asked for these files (none: it was started without files).
    void openRequested(const QStringList &paths);

private:
    enum class HandOver { Accepted, Unanswered, NobodyListens };
    HandOver handOver(const QStringList &paths);
    bool listen();
    void accept();
    void readFrom(QLocalSocket *peer);

    QString m_socketPath;
    QLocalServer *m_server = nullptr;
    int m_peers = 0;
};
