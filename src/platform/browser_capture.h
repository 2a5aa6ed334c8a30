// Asking the user's web browser for the address of the page it shows: a Chromium-family
// browser started with a remote debugging port lists its pages at
// http://127.0.0.1:PORT/json/list on the loopback interface.
#pragma once

#include <QByteArray>
#include <QString>

namespace zk::platform {

constexpr quint16 kDefaultBrowserPort = 9222;
constexpr int kBrowserTimeoutMs = 10000;

// ZELKOHTML_BROWSER_PORT when it holds a port number (1 to 65535), else 9222.
quint16 browserDebuggingPort();

// The reply made from the browser's list of targets: the first entry of type "page"
// gives "URL","TITLE" (the quotes included); empty when there is none or the list cannot
// be read. A comma or a double quote in the URL is written %2C or %22, the same address,
// so that the URL always ends at the first comma of the reply.
QString windowInfoFromTargetList(const QByteArray& json);

enum class BrowserAnswer {
    Answered,  // a page was found; text holds the reply
    NoPage,    // the browser answered without any page
    NoBrowser, // nothing listens on the port (known at once) or the link failed
    TimedOut,  // no complete answer within the time-out
    BadReply,  // something answered, but not a list of targets
};
struct BrowserReply final {
    QString text; // empty unless Answered
    BrowserAnswer answer = BrowserAnswer::NoBrowser;
};

// One request, blocking the calling thread until the reply, a refusal or the time-out.
BrowserReply requestBrowserWindowInfo(quint16 port, int timeoutMs);

// The request on browserDebuggingPort() with the 10-second time-out: the reply text, or
// empty when there is no answer.
QString RequestBrowserWindowInfo();

} // namespace zk::platform
