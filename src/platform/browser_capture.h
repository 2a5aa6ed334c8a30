// Asking the user's web browser for the address of the page it shows: a Chromium-family
// browser started with a remote debugging port lists its pages at
// http://127.0.0.1:PORT/json/list on the loopback interface.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "browser_reply.h"

class QTcpSocket;
class QTimer;

namespace zk::platform {

constexpr quint16 kDefaultBrowserPort = 9222;
constexpr int kBrowserTimeoutMs = 10000;

// ZELKOHTML_BROWSER_PORT when it holds a port number (1 to 65535), else 9222.
quint16 browserDebuggingPort();

// The reply made from the browser's list of targets (zk::windowInfoFromTargetList): the
// first entry of type "page" gives "URL","TITLE" (the quotes included); empty when there
// is none or the list cannot be read.
QString windowInfoFromTargetList(const QByteArray& json);

using BrowserAnswer = zk::BrowserAnswer;
struct BrowserReply final {
    QString text; // empty unless Answered
    BrowserAnswer answer = BrowserAnswer::NoBrowser;
};

// The request for the browser's list of pages, run by the thread's event loop: the thread
// that starts it goes on at once and hears the reply through finished(). Destroying the
// object drops a pending request without a word.
class BrowserWindowInfoRequest final : public QObject {
    Q_OBJECT

public:
    explicit BrowserWindowInfoRequest(QObject* parent = nullptr);
    ~BrowserWindowInfoRequest() override;

    // Sends a request to the browser on port, given up after timeoutMs. Returns false, and
    // does nothing, while a request is pending.
    bool start(quint16 port, int timeoutMs);
    // From start() until finished() has been emitted.
    bool isPending() const { return pending_; }

signals:
    // Once per started request, on the thread's event loop (never from inside start()).
    void finished(const zk::platform::BrowserReply& reply);

private:
    void onConnected();
    void onReadyRead();
    void onClosed();
    void finish(BrowserReply reply);

    QTcpSocket* socket_ = nullptr;
    QTimer* timer_ = nullptr;
    QByteArray data_;
    quint16 port_ = 0;
    bool pending_ = false;
    bool starting_ = false; // inside start(), where finished() is not emitted
};

} // namespace zk::platform
