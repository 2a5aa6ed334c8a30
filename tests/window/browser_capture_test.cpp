// The capture of the browser's address: the reply made from the browser's list of pages,
// the request over the loopback interface against small servers of the test's own and a
// real headless Chromium, and the capture command of the window.
#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <arpa/inet.h>
#include <atomic>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "browser_capture.h"
#include "clipboard.h"
#include "image_list_panel.h"
#include "sounds.h"
#include "window_test_support.h"

using zk::platform::BrowserAnswer;
using zktest::AppFolder;

namespace {

// A port on which nothing listens (a moment ago something did, and let it go).
quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

// Answers one connection with a fixed response on a thread of its own, then closes it
// (or keeps it open until destroyed).
class CannedServer final {
public:
    explicit CannedServer(QByteArray response, bool keepOpen = false)
        : response_(std::move(response)), keepOpen_(keepOpen) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(fd_, 1);
        socklen_t len = sizeof addr;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~CannedServer() {
        done_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
        ::close(fd_);
    }
    quint16 port() const { return port_; }
    QByteArray request() const { return request_; }

private:
    void serve() {
        const int client = ::accept(fd_, nullptr, nullptr);
        if (client < 0)
            return;
        char buf[4096];
        while (!request_.contains("\r\n\r\n")) {
            const ssize_t n = ::read(client, buf, sizeof buf);
            if (n <= 0)
                break;
            request_.append(buf, n);
        }
        [[maybe_unused]] const ssize_t sent =
            ::write(client, response_.constData(), static_cast<size_t>(response_.size()));
        while (keepOpen_ && !done_)
            ::usleep(10000);
        ::close(client);
    }

    QByteArray response_;
    bool keepOpen_ = false;
    int fd_ = -1;
    quint16 port_ = 0;
    QByteArray request_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

QByteArray ok(const QByteArray& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=UTF-8\r\nContent-Length:" +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

const QByteArray kTargets =
    R"([{"type":"browser_ui","url":"chrome://omnibox/","title":"Omnibox"},)"
    R"({"type":"page","url":"http://img.example/a.gif","title":"Une image, en effet"},)"
    R"({"type":"page","url":"http://other/","title":"Autre"}])";

// Sets a variable of the environment for the life of the object.
class ScopedEnv final {
public:
    ScopedEnv(const char* name, const QByteArray& value) : name_(name) {
        had_ = qEnvironmentVariableIsSet(name);
        old_ = qgetenv(name);
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_ = nullptr;
    bool had_ = false;
    QByteArray old_;
};

// One request, waited for on the event loop.
zk::platform::BrowserReply ask(quint16 port, int timeoutMs) {
    zk::platform::BrowserWindowInfoRequest request;
    QSignalSpy finished(&request, &zk::platform::BrowserWindowInfoRequest::finished);
    if (!request.start(port, timeoutMs) || !finished.wait(60000) || finished.size() != 1)
        return {QStringLiteral("no answer heard"), BrowserAnswer::BadReply};
    return finished.at(0).at(0).value<zk::platform::BrowserReply>();
}

// A server on the test's own thread, so that it hears a request only while the window's
// event loop runs. It answers when the test tells it to, piece by piece, or at once with
// a canned response.
class ScriptedServer final {
public:
    ScriptedServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* client = server_.nextPendingConnection()) {
                clients_.append(client);
                QObject::connect(client, &QTcpSocket::readyRead, [this, client] {
                    requests_[client] += client->readAll();
                    if (!canned_.isNull() && requests_[client].contains("\r\n\r\n") &&
                        !answered_.contains(client)) {
                        answered_.append(client);
                        client->write(canned_);       // written as the loop turns
                        client->disconnectFromHost(); // once it is written
                    }
                });
            }
        });
    }
    quint16 port() const { return server_.serverPort(); }
    // Answered with response as soon as a request is whole.
    void answerAtOnce(const QByteArray& response) { canned_ = response; }
    int connections() const { return static_cast<int>(clients_.size()); }
    // Whether the first connection's request has come in whole.
    bool heardRequest() const {
        return !clients_.isEmpty() && requests_.value(clients_[0]).contains("\r\n\r\n");
    }
    QTcpSocket* first() const { return clients_.value(0); }
    // Writes a piece and waits until the system has taken it.
    static void send(QTcpSocket* client, const QByteArray& bytes) {
        client->write(bytes);
        while (client->bytesToWrite() > 0 && client->waitForBytesWritten(10000)) {
        }
    }

private:
    QTcpServer server_;
    QList<QTcpSocket*> clients_; // children of the server
    QHash<QTcpSocket*, QByteArray> requests_;
    QList<QTcpSocket*> answered_;
    QByteArray canned_;
};

const QByteArray kListBytes = "http://img.example/1.gif\r\n";

// The list "images" with one entry, kListBytes.
bool putList(const AppFolder& folder) {
    QFile list(folder.file(QStringLiteral("Data/Listes/images.lst")));
    return list.open(QIODevice::WriteOnly) && list.write(kListBytes) == kListBytes.size();
}

// Whether the event loop takes a turn: a posted call runs.
bool loopTurns(QObject* context) {
    bool ran = false;
    QTimer::singleShot(0, context, [&ran] { ran = true; });
    return QTest::qWaitFor([&ran] { return ran; }, 20000);
}

QByteArray targetsWithUrl(const QByteArray& jsonUrl, const QByteArray& jsonTitle = "t") {
    return R"([{"type":"page","url":")" + jsonUrl + R"(","title":")" + jsonTitle + R"("}])";
}

} // namespace

Q_DECLARE_METATYPE(zk::platform::BrowserReply)

class BrowserCaptureTest final : public QObject {
    Q_OBJECT

private slots:
    void replyFromTheListOfTargets() {
        struct Case {
            const char* name;
            QByteArray json;
            QString reply;
        };
        const Case cases[] = {
            {"first page", kTargets,
             QStringLiteral("\"http://img.example/a.gif\",\"Une image, en effet\"")},
            {"no page", R"([{"type":"service_worker","url":"x","title":"y"}])", QString()},
            {"empty list", "[]", QString()},
            {"not a list", R"({"type":"page","url":"x"})", QString()},
            {"not json", "<html>", QString()},
            {"unicode title",
             R"([{"type":"page","url":"file:///tmp/%C3%A9.html","title":"été 😀"}])",
             QStringLiteral("\"file:///tmp/%C3%A9.html\",\"été 😀\"")},
            // The address always ends at the first comma of the reply.
            {"comma in the address", R"([{"type":"page","url":"http://x/a,b.gif","title":"t"}])",
             QStringLiteral("\"http://x/a%2Cb.gif\",\"t\"")},
        };
        for (const Case& c : cases)
            QVERIFY2(zk::platform::windowInfoFromTargetList(c.json) == c.reply, c.name);
    }

    void portFromTheEnvironment() {
        struct Case {
            const char* value; // nullptr: not set
            quint16 port;
        };
        const Case cases[] = {{nullptr, 9222}, {"9333", 9333}, {" 9444 ", 9444}, {"0", 9222},
                              {"65536", 9222}, {"abc", 9222},  {"", 9222},       {"-5", 9222}};
        for (const Case& c : cases) {
            if (c.value) {
                ScopedEnv env("ZELKOHTML_BROWSER_PORT", c.value);
                QCOMPARE(zk::platform::browserDebuggingPort(), c.port);
            } else {
                const QByteArray old = qgetenv("ZELKOHTML_BROWSER_PORT");
                qunsetenv("ZELKOHTML_BROWSER_PORT");
                QCOMPARE(zk::platform::browserDebuggingPort(), c.port);
                if (!old.isNull())
                    qputenv("ZELKOHTML_BROWSER_PORT", old);
            }
        }
    }

    void answersOfSmallServers() {
        struct Case {
            const char* name;
            QByteArray response;
            bool keepOpen;
            BrowserAnswer answer;
            QString text;
        };
        const QString first =
            QStringLiteral("\"http://img.example/a.gif\",\"Une image, en effet\"");
        const QByteArray chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" +
                                   QByteArray::number(kTargets.size() - 10, 16) + "\r\n" +
                                   kTargets.left(kTargets.size() - 10) + "\r\n" + "a\r\n" +
                                   kTargets.right(10) + "\r\n0\r\n\r\n";
        const Case cases[] = {
            {"a list with pages", ok(kTargets), false, BrowserAnswer::Answered, first},
            {"answered, left open", ok(kTargets), true, BrowserAnswer::Answered, first},
            {"chunked", chunked, true, BrowserAnswer::Answered, first},
            {"until closed", "HTTP/1.1 200 OK\r\n\r\n" + kTargets, false, BrowserAnswer::Answered,
             first},
            {"no page", ok("[]"), false, BrowserAnswer::NoPage, QString()},
            {"not found", "HTTP/1.1 404 Not Found\r\nContent-Length:0\r\n\r\n", false,
             BrowserAnswer::BadReply, QString()},
            {"not a list", ok("<html></html>"), false, BrowserAnswer::BadReply, QString()},
            {"closed at once", "", false, BrowserAnswer::BadReply, QString()},
            {"cut short, left open", ok(kTargets).chopped(5), true, BrowserAnswer::TimedOut,
             QString()},
        };
        for (const Case& c : cases) {
            CannedServer server(c.response, c.keepOpen);
            const zk::platform::BrowserReply reply = ask(server.port(), 1500);
            QVERIFY2(reply.answer == c.answer, c.name);
            QVERIFY2(reply.text == c.text, c.name);
            if (QByteArray(c.name) == "a list with pages") {
                QVERIFY(server.request().startsWith("GET /json/list HTTP/1.1\r\n"));
                QVERIFY(server.request().contains(
                    "\r\nHost: 127.0.0.1:" + QByteArray::number(server.port()) + "\r\n"));
            }
        }
    }

    void aServerThatNeverAnswersTimesOut() {
        QTcpServer silent; // the system accepts the connection; nobody reads or writes
        QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
        const zk::platform::BrowserReply reply = ask(silent.serverPort(), 300);
        QCOMPARE(reply.answer, BrowserAnswer::TimedOut);
        QCOMPARE(reply.text, QString());
    }

    void noBrowserGivesTheEmptyTextAtOnce() {
        const quint16 port = freePort();
        // A refused connection is an answer of its own: the request does not wait for
        // its time-out (here far longer than the test's).
        const zk::platform::BrowserReply reply = ask(port, 3600 * 1000);
        QCOMPARE(reply.answer, BrowserAnswer::NoBrowser);

        ScopedEnv env("ZELKOHTML_BROWSER_PORT", QByteArray::number(port));
        AppFolder folder;
        auto form = zktest::openWindow(folder);
        form->imagePanel()->SelectedAddress = QStringLiteral("avant");
        zk::platform::setClipboardText(QStringLiteral("avant"));
        form->imagePanel()->BoutCapture->click();
        QCOMPARE(form->LastCommand, QStringLiteral("BoutCaptureClick"));
        QTRY_COMPARE_WITH_TIMEOUT(zk::platform::clipboardText(), QString(), 20000);
        QCOMPARE(form->imagePanel()->SelectedAddress, QString());
        QVERIFY(!form->imagePanel()->BrowserCapture->isPending());
    }

    void theAddressOfChromiumsPageIsCaptured() {
        if (!QFileInfo::exists(QStringLiteral("/usr/bin/chromium")))
            QSKIP("/usr/bin/chromium is not installed");
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("page.html"));
        {
            QFile f(page);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("<html><head><title>Essai, page</title></head><body>image</body></html>");
        }
        const QString profile = dir.filePath(QStringLiteral("profile"));
        const QString address = QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded);
        const quint16 port = freePort();

        QProcess browser;
        // A session of its own, so that the browser and every process it starts end together.
        browser.setChildProcessModifier([] { ::setsid(); });
        browser.setStandardOutputFile(QProcess::nullDevice());
        browser.setStandardErrorFile(QProcess::nullDevice());
        browser.start(
            QStringLiteral("/usr/bin/chromium"),
            {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
             QStringLiteral("--disable-gpu"), QStringLiteral("--disable-quic"),
             QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
             QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
             QStringLiteral("--user-data-dir=") + profile,
             QStringLiteral("--remote-debugging-port=%1").arg(port), address});
        QVERIFY(browser.waitForStarted());
        const qint64 group = browser.processId();
        auto stop = qScopeGuard([&] {
            ::kill(static_cast<pid_t>(-group), SIGTERM);
            if (!browser.waitForFinished(10000)) {
                ::kill(static_cast<pid_t>(-group), SIGKILL);
                browser.waitForFinished(5000);
            }
            // Helpers that outlive the group leader by a moment.
            if (!QTest::qWaitFor([group] { return ::kill(static_cast<pid_t>(-group), 0) != 0; },
                                 10000))
                ::kill(static_cast<pid_t>(-group), SIGKILL);
        });

        const QString expected = QLatin1Char('"') + address + QStringLiteral("\",\"Essai, page\"");
        zk::platform::BrowserReply reply;
        QTRY_VERIFY_WITH_TIMEOUT((reply = ask(port, 2000)).text == expected, 60000);
        QCOMPARE(reply.answer, BrowserAnswer::Answered);

        ScopedEnv env("ZELKOHTML_BROWSER_PORT", QByteArray::number(port));
        AppFolder folder;
        QVERIFY(putList(folder));
        auto form = zktest::openWindow(folder);
        form->BoutImage->click();
        zk::platform::setClipboardText(QStringLiteral("avant"));
        form->imagePanel()->BoutCapture->click();
        QTRY_COMPARE_WITH_TIMEOUT(zk::platform::clipboardText(), address, 20000);
        QCOMPARE(form->imagePanel()->SelectedAddress, address); // the title left out
        // Inserted as it was captured: the address alone.
        form->Memo1->clear();
        form->imagePanel()->BoutImgInser->click();
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("<img src=\"%1\">").arg(address));
        // Again, through the list's menu: the same text; the list is unchanged until added.
        zk::platform::setClipboardText(QStringLiteral("avant"));
        form->imagePanel()->CapturerlurlCourante1->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(zk::platform::clipboardText(), address, 20000);
        QCOMPARE(form->imagePanel()->ListImg->count(), 1);
        QCOMPARE(zktest::readFile(folder.file(QStringLiteral("Data/Listes/images.lst"))),
                 kListBytes);
        form->imagePanel()->BoutImgAdd->click();
        QCOMPARE(form->imagePanel()->ListImg->count(), 2);
        QCOMPARE(form->imagePanel()->ListImg->item(1)->text(), address);
    }

    void theWindowGoesOnWhileTheBrowserTakesItsTime() {
        ScriptedServer server;
        ScopedEnv env("ZELKOHTML_BROWSER_PORT", QByteArray::number(server.port()));
        AppFolder folder;
        QVERIFY(putList(folder));
        auto form = zktest::openWindow(folder);
        form->BoutImage->click();
        zk::platform::setClipboardText(QStringLiteral("http://img.example/0.gif"));
        form->imagePanel()->BoutCapture->click();
        QVERIFY(form->imagePanel()->BrowserCapture->isPending());
        // The server, on this thread, hears the request only if the window's event loop
        // runs while the capture waits.
        QTRY_VERIFY_WITH_TIMEOUT(server.heardRequest(), 20000);
        QVERIFY(loopTurns(form.get()));
        // The window's commands work meanwhile; the clipboard is still the user's.
        QTest::keyClicks(form->Memo1, QStringLiteral("abc"));
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("abc"));
        form->imagePanel()->BoutImgAdd->click();
        QCOMPARE(form->imagePanel()->ListImg->count(), 2);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("http://img.example/0.gif"));
        // Pressed again while waiting: ignored, no second request.
        form->imagePanel()->BoutCapture->click();
        form->imagePanel()->CapturerlurlCourante1->trigger();
        QVERIFY(form->imagePanel()->BrowserCapture->isPending());

        // The answer trickles in; the capture waits for the whole of it.
        const QByteArray response = ok(kTargets);
        const qsizetype half = response.size() / 2;
        ScriptedServer::send(server.first(), response.left(half));
        QVERIFY(loopTurns(form.get())); // with half an answer
        QVERIFY(form->imagePanel()->BrowserCapture->isPending());
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("http://img.example/0.gif"));
        ScriptedServer::send(server.first(), response.mid(half));
        QTRY_COMPARE_WITH_TIMEOUT(zk::platform::clipboardText(),
                                  QStringLiteral("http://img.example/a.gif"), 20000);
        QCOMPARE(form->imagePanel()->SelectedAddress, QStringLiteral("http://img.example/a.gif"));
        QVERIFY(!form->imagePanel()->BrowserCapture->isPending());
        QCOMPARE(server.connections(), 1);
    }

    void closingTheWindowWhileTheBrowserIsSilentIsFine() {
        ScriptedServer server;
        ScopedEnv env("ZELKOHTML_BROWSER_PORT", QByteArray::number(server.port()));
        AppFolder folder;
        auto form = zktest::openWindow(folder);
        zk::platform::setClipboardText(QStringLiteral("avant"));
        form->imagePanel()->BoutCapture->click();
        QTRY_VERIFY_WITH_TIMEOUT(server.heardRequest(), 20000);
        // Closed: the answer still arrives when it arrives.
        form->close();
        QVERIFY(!form->isVisible());
        ScriptedServer::send(server.first(), ok(kTargets));
        QTRY_COMPARE_WITH_TIMEOUT(zk::platform::clipboardText(),
                                  QStringLiteral("http://img.example/a.gif"), 20000);

        // Destroyed while waiting: the request goes with the window.
        ScriptedServer second;
        ScopedEnv env2("ZELKOHTML_BROWSER_PORT", QByteArray::number(second.port()));
        form = zktest::openWindow(folder);
        zk::platform::setClipboardText(QStringLiteral("avant"));
        form->imagePanel()->BoutCapture->click();
        QTRY_VERIFY_WITH_TIMEOUT(second.heardRequest(), 20000);
        QPointer<QTcpSocket> link = second.first();
        form.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!link || link->state() != QAbstractSocket::ConnectedState, 20000);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("avant"));
    }

    void refusedAddressesReachNeitherTheClipboardNorAList() {
        struct Case {
            const char* name;
            QByteArray response;
            QString address; // empty: refused
        };
        const QByteArray hugeBody(9 * 1024 * 1024, ' ');
        const Case cases[] = {
            {"javascript", ok(targetsWithUrl("javascript:alert(document.cookie)")), QString()},
            {"javascript, capitals and spaces", ok(targetsWithUrl("  JavaScript:alert(1)")),
             QString()},
            {"line feed", ok(targetsWithUrl(R"(http://x/a.gif\nhttp://evil/b.gif)")), QString()},
            {"carriage return", ok(targetsWithUrl(R"(http://x/a.gif\r)")), QString()},
            {"NUL", ok(targetsWithUrl(R"(http://x/a\u0000.gif)")), QString()},
            {"bell", ok(targetsWithUrl(R"(http://x/a\u0007.gif)")), QString()},
            {"tab", ok(targetsWithUrl(R"(http://x/a\t.gif)")), QString()},
            {"delete", ok(targetsWithUrl(R"(http://x/a\u007f.gif)")), QString()},
            {"next line", ok(targetsWithUrl(R"(http://x/a\u0085.gif)")), QString()},
            {"line separator", ok(targetsWithUrl(R"(http://x/a\u2028.gif)")), QString()},
            {"far too long", ok("[" + hugeBody + "]"), QString()},
            {"a header without end", "HTTP/1.1 200 OK\r\nX: " + QByteArray(100000, 'x'), QString()},
            // What the page's author chose for its title never reaches the clipboard.
            {"hostile title", ok(targetsWithUrl("http://x/a.gif", R"(\",\"javascript:x\n\u0000)")),
             QStringLiteral("http://x/a.gif")},
            {"an address with a javascript: query", ok(targetsWithUrl("http://x/?javascript:1")),
             QStringLiteral("http://x/?javascript:1")},
        };
        AppFolder folder;
        const QString listPath = folder.file(QStringLiteral("Data/Listes/images.lst"));
        QVERIFY(putList(folder));
        auto form = zktest::openWindow(folder);
        form->BoutImage->click();
        for (const Case& c : cases) {
            ScriptedServer server;
            server.answerAtOnce(c.response);
            ScopedEnv env("ZELKOHTML_BROWSER_PORT", QByteArray::number(server.port()));
            zk::platform::setClipboardText(QStringLiteral("avant"));
            form->imagePanel()->SelectedAddress = QStringLiteral("avant");
            form->imagePanel()->BoutCapture->click();
            QTRY_VERIFY2_WITH_TIMEOUT(!form->imagePanel()->BrowserCapture->isPending(), c.name,
                                      20000);
            QVERIFY2(zk::platform::clipboardText() == c.address, c.name);
            QVERIFY2(form->imagePanel()->SelectedAddress == c.address, c.name);
            if (c.address.isEmpty()) {
                // Adding now only beeps.
                const int beeps = zk::platform::beepCount();
                form->imagePanel()->BoutImgAdd->click();
                QVERIFY2(zk::platform::beepCount() == beeps + 1, c.name);
                QVERIFY2(zktest::readFile(listPath) == kListBytes, c.name);
            }
        }
    }
};

ZK_WINDOW_TEST_MAIN(BrowserCaptureTest)
#include "browser_capture_test.moc"
