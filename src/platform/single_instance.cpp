#include "single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

namespace zk::platform {

namespace {

constexpr int connectTimeoutMs = 1000;
constexpr int writeTimeoutMs = 1000;
constexpr int lockTimeoutMs = 5000;
const char raiseMessage[] = "raise\n";
const char answerMessage[] = "ok\n";

// Asks a running copy to raise its window; false when no copy answers on name in time.
// Events are processed while waiting, so that a copy in this same process can answer.
bool askRunningCopy(const QString& name, int answerTimeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    socket.write(raiseMessage);
    socket.flush();
    if (!socket.canReadLine()) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
            if (socket.canReadLine())
                loop.quit();
        });
        QObject::connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
        timer.start(answerTimeoutMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    const bool answered = socket.canReadLine() && socket.readLine() == QByteArray(answerMessage);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(writeTimeoutMs);
    return answered;
}

unsigned long long inodeOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return static_cast<unsigned long long>(st.st_ino);
}

} // namespace

QString SingleInstance::serverNameFor(const QString& key) {
    const QByteArray hash =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("zelkohtml-%1-%2").arg(QString::fromLatin1(hash)).arg(getuid());
}

SingleInstance::SingleInstance(const QString& key, QObject* parent, int answerTimeoutMs)
    : QObject(parent) {
    const QString name = serverNameFor(key);

    // Two copies started together must not both decide to be the first: the decision is
    // made under a lock file, which a crashed holder does not keep.
    QLockFile decision(QDir::tempPath() + QLatin1Char('/') + name + QStringLiteral(".lock"));
    decision.setStaleLockTime(0);
    decision.tryLock(lockTimeoutMs);

    if (askRunningCopy(name, answerTimeoutMs))
        return;

    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) {
        // Nobody answered, so the socket file is in the way: left by a crashed copy, or
        // held by one whose start hung. This copy takes the key.
        QLocalServer::removeServer(name);
        if (!server_->listen(name)) {
            // Still no server: run anyway rather than refuse to start at all.
            qWarning("zelkohtml: cannot listen on %s: %s", qPrintable(name),
                     qPrintable(server_->errorString()));
        }
    }
    primary_ = true;
    if (server_->isListening()) {
        socketPath_ = server_->fullServerName();
        socketId_ = inodeOf(socketPath_);
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::holdsKey() const {
    if (!primary_)
        return false;
    // Without a socket of its own (it could not listen) there is nothing to lose.
    return socketId_ == 0 || inodeOf(socketPath_) == socketId_;
}

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
                // The answer tells the new copy that this one is alive and will show itself.
                socket->write(answerMessage);
                socket->flush();
                emit raiseRequested();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, readMessage);
        connect(socket, &QLocalSocket::disconnected, this, readMessage);
        readMessage();
    }
}

} // namespace zk::platform
