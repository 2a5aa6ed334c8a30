#include "browser_capture.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkProxy>
#include <QTcpSocket>

#include <algorithm>
#include <optional>

namespace zk::platform {

namespace {

// A list of targets is a few kilobytes; anything far larger is not one.
constexpr qsizetype kMaxReplyBytes = 8 * 1024 * 1024;

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

BrowserReply requestBrowserWindowInfo(quint16 port, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    const auto left = [&] {
        return static_cast<int>(std::max<qint64>(0, timeoutMs - clock.elapsed()));
    };

    QTcpSocket socket;
    socket.setProxy(QNetworkProxy::NoProxy);
    socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    if (!socket.waitForConnected(left())) {
        const bool timedOut = socket.error() == QAbstractSocket::SocketTimeoutError;
        return {{}, timedOut ? BrowserAnswer::TimedOut : BrowserAnswer::NoBrowser};
    }

    const QByteArray request =
        "GET /json/list HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
        "\r\nAccept: application/json\r\nConnection: close\r\n\r\n";
    socket.write(request);
    while (socket.bytesToWrite() > 0) {
        if (left() == 0 || !socket.waitForBytesWritten(left()))
            break;
    }

    QByteArray data;
    std::optional<HttpResponse> response;
    for (;;) {
        const bool closed = socket.state() != QAbstractSocket::ConnectedState;
        data += socket.readAll();
        if (data.size() > kMaxReplyBytes)
            return {{}, BrowserAnswer::BadReply};
        response = parseResponse(data, closed);
        if (response || closed)
            break;
        if (left() == 0)
            break;
        // Still connected after a failed wait: the time is up. A closed link is read out
        // on the next turn.
        if (!socket.waitForReadyRead(left()) && socket.state() == QAbstractSocket::ConnectedState)
            break;
    }
    socket.abort();

    if (!response)
        return {{}, BrowserAnswer::TimedOut};
    if (response->status != 200)
        return {{}, BrowserAnswer::BadReply};
    if (!QJsonDocument::fromJson(response->body).isArray())
        return {{}, BrowserAnswer::BadReply};
    QString text = windowInfoFromTargetList(response->body);
    if (text.isEmpty())
        return {{}, BrowserAnswer::NoPage};
    return {text, BrowserAnswer::Answered};
}

QString RequestBrowserWindowInfo() {
    return requestBrowserWindowInfo(browserDebuggingPort(), kBrowserTimeoutMs).text;
}

} // namespace zk::platform
