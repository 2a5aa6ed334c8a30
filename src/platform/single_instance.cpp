#include "single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <unistd.h>

namespace zk::platform {

namespace {

constexpr int connectTimeoutMs = 1000;
constexpr int writeTimeoutMs = 1000;
constexpr int lockTimeoutMs = 5000;
const char raiseMessage[] = "raise\n";

// Asks a running copy to raise its window; false when no copy answers on name.
bool askRunningCopy(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    socket.write(raiseMessage);
    socket.waitForBytesWritten(writeTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(writeTimeoutMs);
    return true;
}

} // namespace

QString SingleInstance::serverNameFor(const QString& key) {
    const QByteArray hash =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("zelkohtml-%1-%2").arg(QString::fromLatin1(hash)).arg(getuid());
}

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent) {
    const QString name = serverNameFor(key);

    // Two copies started together must not both decide to be the first: the decision is
    // made under a lock file, which a crashed holder does not keep.
    QLockFile decision(QDir::tempPath() + QLatin1Char('/') + name + QStringLiteral(".lock"));
    decision.setStaleLockTime(0);
    decision.tryLock(lockTimeoutMs);

    if (askRunningCopy(name))
        return;

    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) {
        // Nobody answered, so a socket file left by a crashed copy is in the way.
        QLocalServer::removeServer(name);
        if (!server_->listen(name)) {
            // Still no server: run anyway rather than refuse to start at all.
            qWarning("zelkohtml: cannot listen on %s: %s", qPrintable(name),
                     qPrintable(server_->errorString()));
        }
    }
    primary_ = true;
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto readMessage = [this, socket] {
            if (socket->property("zkDone").toBool())
                return;
            if (!socket->canReadLine() && socket->state() == QLocalSocket::ConnectedState)
                return;
            const QByteArray line = socket->readLine().trimmed();
            if (line == QByteArray(raiseMessage).trimmed()) {
                socket->setProperty("zkDone", true);
                emit raiseRequested();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, readMessage);
        connect(socket, &QLocalSocket::disconnected, this, readMessage);
        readMessage();
    }
}

} // namespace zk::platform
