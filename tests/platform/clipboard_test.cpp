#include <QApplication>
#include <QClipboard>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <cstdio>

#include "clipboard.h"
#include "platform_tests.h"

using namespace zk::platform;

namespace {

const QString samples[] = {
    QStringLiteral("Café crème à l'œil — 5 €"),
    QStringLiteral("emoji 😀👍🏽 and a family 👨‍👩‍👧"),
    QStringLiteral("two\r\nlines\r\n"),
    QStringLiteral("日本語のテキスト"),
};

// A child process that owns the clipboard with the given text until it is ended.
class ClipboardOwner final {
public:
    // Starts the owner and lets the window learn of the new owner, as its event loop would.
    bool start(const QString& text) {
        QSignalSpy changed(QGuiApplication::clipboard(), &QClipboard::dataChanged);
        process_.start(QString::fromLocal8Bit(testExecutable()),
                       {QStringLiteral("--own-clipboard"), text});
        return process_.waitForStarted() && process_.waitForReadyRead(30000) &&
               process_.readLine().trimmed() == "ready" &&
               (changed.count() > 0 || changed.wait(30000));
    }
    qint64 pid() const { return process_.processId(); }
    ~ClipboardOwner() {
        if (process_.state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(process_.processId()), SIGCONT);
            process_.kill();
            process_.waitForFinished();
        }
    }

private:
    QProcess process_;
};

} // namespace

int ownClipboardHelper(const char* text) {
    int argc = 1;
    char name[] = "clipboard-owner";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    setClipboardText(QString::fromUtf8(text));
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

class ClipboardTest final : public QObject {
    Q_OBJECT

private slots:
    void roundTripInProcess() {
        for (const QString& text : samples) {
            setClipboardText(text);
            QCOMPARE(clipboardText(), text);
        }
        setClipboardText(QString());
        QCOMPARE(clipboardText(), QString());
    }

    // Text placed by another program arrives whole, emoji included.
    void textFromAnotherProgram() {
        for (const QString& text : samples) {
            ClipboardOwner owner;
            QVERIFY(owner.start(text));
            // The news that another program took the clipboard arrives as an event.
            QTRY_COMPARE_WITH_TIMEOUT(clipboardText(), text, 30000);
        }
    }

    // An owner that no longer answers must not hang the window: the read gives up.
    void unresponsiveOwnerDoesNotHang() {
        ClipboardOwner owner;
        QVERIFY(owner.start(QStringLiteral("frozen")));
        QTRY_COMPARE_WITH_TIMEOUT(clipboardText(), QStringLiteral("frozen"), 30000);
        QCOMPARE(::kill(static_cast<pid_t>(owner.pid()), SIGSTOP), 0);
        QCOMPARE(clipboardText(), QString());
        // Taking the clipboard back works at once.
        setClipboardText(QStringLiteral("mine again"));
        QCOMPARE(clipboardText(), QStringLiteral("mine again"));
    }
};

int runClipboardTests(int argc, char** argv) {
    ClipboardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "clipboard_test.moc"
