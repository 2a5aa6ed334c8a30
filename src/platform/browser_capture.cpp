#include "browser_capture.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <optional>
#include <utility>

namespace zk::platform {

namespace {

std::string_view viewOf(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

BrowserReply replyOf(const zk::BrowserAnswerText& answer) {
    return {QString::fromStdString(answer.text), answer.answer};
}

} // namespace

quint16 browserDebuggingPort() {
    bool ok = false;
    const uint port = qEnvironmentVariable("ZELKOHTML_BROWSER_PORT").trimmed().toUInt(&ok);
    if (ok && port >= 1 && port <= 65535)
        return static_cast<quint16>(port);
    return kDefaultBrowserPort;
}

QString windowInfoFromTargetList(const QByteArray& json) {
    return QString::fromStdString(
        zk::windowInfoFromTargetList(viewOf(json)).value_or(std::string()));
}

BrowserWindowInfoRequest::BrowserWindowInfoRequest(QObject* parent)
    : QObject(parent), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { finish({{}, BrowserAnswer::TimedOut}); });
}

BrowserWindowInfoRequest::~BrowserWindowInfoRequest() {
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
    }
}

bool BrowserWindowInfoRequest::start(quint16 port, int timeoutMs) {
    if (pending_)
        return false;
    pending_ = true;
    port_ = port;
    data_.clear();
    socket_ = new QTcpSocket(this);
    socket_->setProxy(QNetworkProxy::NoProxy);
    connect(socket_, &QTcpSocket::connected, this, &BrowserWindowInfoRequest::onConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &BrowserWindowInfoRequest::onReadyRead);
    connect(socket_, &QTcpSocket::disconnected, this, &BrowserWindowInfoRequest::onClosed);
    connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        // A link that was up and is now closed may still hold a whole answer.
        if (error == QAbstractSocket::RemoteHostClosedError)
            onClosed();
        else if (socket_ && socket_->state() != QAbstractSocket::ConnectedState)
            finish({{}, BrowserAnswer::NoBrowser});
    });
    timer_->start(std::max(timeoutMs, 0));
    starting_ = true;
    socket_->connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    starting_ = false;
    return true;
}

void BrowserWindowInfoRequest::onConnected() {
    if (!socket_)
        return;
    socket_->write("GET /json/list HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port_) +
                   "\r\nAccept: application/json\r\nConnection: close\r\n\r\n");
}

void BrowserWindowInfoRequest::onReadyRead() {
    if (!socket_)
        return;
    data_ += socket_->readAll();
    if (const std::optional<zk::BrowserAnswerText> answer =
            zk::browserAnswerFrom(viewOf(data_), false))
        finish(replyOf(*answer));
}

void BrowserWindowInfoRequest::onClosed() {
    if (!socket_)
        return;
    data_ += socket_->readAll();
    // Read out to its end: a body without a length ends here, a cut one is no answer.
    finish(replyOf(*zk::browserAnswerFrom(viewOf(data_), true)));
}

void BrowserWindowInfoRequest::finish(BrowserReply reply) {
    if (!socket_)
        return;
    QTcpSocket* socket = std::exchange(socket_, nullptr);
    timer_->stop();
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    data_.clear();
    if (!starting_) {
        pending_ = false;
        emit finished(reply);
        return;
    }
    // The link failed inside start(): heard on the event loop's next turn.
    QMetaObject::invokeMethod(
        this,
        [this, reply = std::move(reply)] {
            pending_ = false;
            emit finished(reply);
        },
        Qt::QueuedConnection);
}

} // namespace zk::platform
