// The capture of the browser's address: the reply made from the browser's list of pages,
// the request over the loopback interface against small servers of the test's own and a
// real headless Chromium, and the capture command of the window.
#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QTcpServer>
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

} // namespace

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
            const zk::platform::BrowserReply reply =
                zk::platform::requestBrowserWindowInfo(server.port(), 1500);
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
        const zk::platform::BrowserReply reply =
            zk::platform::requestBrowserWindowInfo(silent.serverPort(), 300);
        QCOMPARE(reply.answer, BrowserAnswer::TimedOut);
        QCOMPARE(reply.text, QString());
    }

    void noBrowserGivesTheEmptyTextAtOnce() {
        const quint16 port = freePort();
        // A refused connection is an answer of its own: the request does not wait for
        // its time-out (here far longer than the test's).
        const zk::platform::BrowserReply reply =
            zk::platform::requestBrowserWindowInfo(port, 3600 * 1000);
        QCOMPARE(reply.answer, BrowserAnswer::NoBrowser);

        ScopedEnv env("ZELKOHTML_BROWSER_PORT", QByteArray::number(port));
        AppFolder folder;
        auto form = zktest::openWindow(folder);
        form->SelectedAddress = QStringLiteral("avant");
        zk::platform::setClipboardText(QStringLiteral("avant"));
        form->BoutCapture->click();
        QCOMPARE(form->LastCommand, QStringLiteral("BoutCaptureClick"));
        QCOMPARE(zk::platform::clipboardText(), QString());
        QCOMPARE(form->SelectedAddress, QString());
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
            QTest::qWait(500);
            ::kill(static_cast<pid_t>(-group), SIGKILL);
        });

        const QString expected = QLatin1Char('"') + address + QStringLiteral("\",\"Essai, page\"");
        zk::platform::BrowserReply reply;
        QTRY_VERIFY_WITH_TIMEOUT(
            (reply = zk::platform::requestBrowserWindowInfo(port, 2000)).text == expected, 60000);
        QCOMPARE(reply.answer, BrowserAnswer::Answered);

        ScopedEnv env("ZELKOHTML_BROWSER_PORT", QByteArray::number(port));
        AppFolder folder;
        {
            QFile list(folder.file(QStringLiteral("Data/Listes/images.lst")));
            QVERIFY(list.open(QIODevice::WriteOnly));
            list.write("http://img.example/1.gif\r\n");
        }
        auto form = zktest::openWindow(folder);
        form->BoutImage->click();
        zk::platform::setClipboardText(QStringLiteral("avant"));
        form->BoutCapture->click();
        QCOMPARE(zk::platform::clipboardText(), address);
        QCOMPARE(form->SelectedAddress, address); // the title left out
        // Inserted as it was captured: the address alone.
        form->Memo1->clear();
        form->BoutImgInser->click();
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("<img src=\"%1\">").arg(address));
        // Again, through the list's menu: the same text; the list is unchanged until added.
        form->CapturerlurlCourante1->trigger();
        QCOMPARE(zk::platform::clipboardText(), address);
        QCOMPARE(form->ListImg->count(), 1);
        QCOMPARE(zktest::readFile(folder.file(QStringLiteral("Data/Listes/images.lst"))),
                 QByteArray("http://img.example/1.gif\r\n"));
        form->BoutImgAdd->click();
        QCOMPARE(form->ListImg->count(), 2);
        QCOMPARE(form->ListImg->item(1)->text(), address);
    }
};

ZK_WINDOW_TEST_MAIN(BrowserCaptureTest)
#include "browser_capture_test.moc"
