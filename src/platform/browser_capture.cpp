#include "browser_capture.h"

#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <optional>
#include <utility>

namespace zk::platform {

namespace {

// A list of targets is a few kilobytes; anything far larger is not one.
constexpr qsizetype kMaxReplyBytes = 8 * 1024 * 1024;
constexpr qsizetype kMaxHeaderBytes = 64 * 1024;

struct HttpResponse {
    int status = 0;
    QByteArray body;
};

// The body of a chunked transfer; nullopt while the last chunk has not arrived.
std::optional<QByteArray> dechunk(const QByteArray& data) {
    QByteArray body;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype lineEnd = data.indexOf("\r\n", pos);
        if (lineEnd < 0)
            return std::nullopt;
        QByteArray sizeText = data.mid(pos, lineEnd - pos);
        if (const qsizetype semi = sizeText.indexOf(';'); semi >= 0)
            sizeText.truncate(semi);
        bool ok = false;
        const qlonglong size = sizeText.trimmed().toLongLong(&ok, 16);
        if (!ok || size < 0)
            return QByteArray(); // malformed: no body
        if (size == 0)
            return body;
        const qsizetype start = lineEnd + 2;
        if (data.size() < start + size + 2)
            return std::nullopt;
        body += data.mid(start, size);
        pos = start + size + 2;
    }
}

// A complete response in data, or nullopt while more is to come. closed: the server has
// closed the connection, so a body without a length ends here.
std::optional<HttpResponse> parseResponse(const QByteArray& data, bool closed) {
    const qsizetype headerEnd = data.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return closed ? std::optional<HttpResponse>(HttpResponse{}) : std::nullopt;
    const QList<QByteArray> lines = data.left(headerEnd).split('\n');
    HttpResponse response;
    const QList<QByteArray> statusLine = lines.value(0).trimmed().split(' ');
    if (statusLine.size() >= 2 && statusLine[0].startsWith("HTTP/"))
        response.status = statusLine[1].toInt();
    std::optional<qsizetype> length;
    bool chunked = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length") {
            bool ok = false;
            const qlonglong n = value.toLongLong(&ok);
            if (ok && n >= 0)
                length = n;
        } else if (name == "transfer-encoding" && value.toLower().contains("chunked")) {
            chunked = true;
        }
    }
    // Cheap checks first, so that an answer trickling in is not parsed whole at every
    // piece: a chunked body ends with an empty line, a sized one at its length.
    const qsizetype restSize = data.size() - headerEnd - 4;
    if (!closed && (chunked ? !data.endsWith("\r\n\r\n") : !length || restSize < *length))
        return std::nullopt;
    const QByteArray rest = data.mid(headerEnd + 4);
    if (chunked) {
        std::optional<QByteArray> body = dechunk(rest);
        if (!body)
            return closed ? std::optional<HttpResponse>(HttpResponse{}) : std::nullopt;
        response.body = *body;
        return response;
    }
    if (length) {
        if (rest.size() < *length)
            return closed ? std::optional<HttpResponse>(HttpResponse{}) : std::nullopt;
        response.body = rest.left(*length);
        return response;
    }
    if (!closed)
        return std::nullopt;
    response.body = rest;
    return response;
}

QString percentEncodeSeparators(QString url) {
    url.replace(QLatin1Char(','), QStringLiteral("%2C"));
    url.replace(QLatin1Char('"'), QStringLiteral("%22"));
    return url;
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
    const QJsonDocument doc = QJsonDocument::fromJson(json);
    if (!doc.isArray())
        return {};
    const QJsonArray targets = doc.array();
    for (const QJsonValue& value : targets) {
        const QJsonObject target = value.toObject();
        if (target.value(QLatin1String("type")).toString() != QLatin1String("page"))
            continue;
        const QString url = percentEncodeSeparators(target.value(QLatin1String("url")).toString());
        const QString title = target.value(QLatin1String("title")).toString();
        return QLatin1Char('"') + url + QStringLiteral("\",\"") + title + QLatin1Char('"');
    }
    return {};
}

namespace {

BrowserReply replyFrom(const HttpResponse& response) {
    if (response.status != 200 || !QJsonDocument::fromJson(response.body).isArray())
        return {{}, BrowserAnswer::BadReply};
    QString text = windowInfoFromTargetList(response.body);
    if (text.isEmpty())
        return {{}, BrowserAnswer::NoPage};
    return {text, BrowserAnswer::Answered};
}

} // namespace

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
    if (data_.size() > kMaxReplyBytes ||
        (data_.size() > kMaxHeaderBytes && !data_.left(kMaxHeaderBytes).contains("\r\n\r\n"))) {
        finish({{}, BrowserAnswer::BadReply});
        return;
    }
    if (const std::optional<HttpResponse> response = parseResponse(data_, false))
        finish(replyFrom(*response));
}

void BrowserWindowInfoRequest::onClosed() {
    if (!socket_)
        return;
    data_ += socket_->readAll();
    if (data_.size() > kMaxReplyBytes) {
        finish({{}, BrowserAnswer::BadReply});
        return;
    }
    // Read out to its end: a body without a length ends here, a cut one is no answer.
    finish(replyFrom(*parseResponse(data_, true)));
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
