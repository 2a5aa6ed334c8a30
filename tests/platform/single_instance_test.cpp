#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "platform_tests.h"
#include "single_instance.h"

using namespace zk::platform;

namespace {

QString uniqueKey() {
    return QStringLiteral(" ZelkoHTML test ") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString socketPath(const QString& key) {
    return QDir::tempPath() + QLatin1Char('/') + SingleInstance::serverNameFor(key);
}

// A socket bound at path (listening or not); its descriptor, or -1.
int boundSocket(const QString& path, bool listening) {
    const QByteArray bytes = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (bytes.size() >= static_cast<qsizetype>(sizeof(address.sun_path)))
        return -1;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        (listening && ::listen(fd, 8) != 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Leaves a socket file with nobody listening behind it, as a crashed copy does.
bool makeStaleSocket(const QString& path) {
    const int fd = boundSocket(path, false);
    if (fd < 0)
        return false;
    ::close(fd);
    return QFileInfo::exists(path);
}

// A socket with a listener behind it that never answers, as a copy whose start hung
// leaves it: connections are queued, nothing is read. The descriptor, or -1.
int listenWithoutAnswering(const QString& path) {
    return boundSocket(path, true);
}

} // namespace

// Child mode: exit code 0 when this copy is a secondary one, 1 when it became primary.
int singleInstanceHelper(const char* key) {
    int argc = 1;
    char name[] = "single-instance-helper";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    SingleInstance instance(QString::fromUtf8(key));
    return instance.isPrimary() ? 1 : 0;
}

class SingleInstanceTest final : public QObject {
    Q_OBJECT

private slots:
    void secondCopyAsksFirstToRaise() {
        const QString key = uniqueKey();
        SingleInstance first(key);
        QVERIFY(first.isPrimary());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        {
            SingleInstance second(key);
            QVERIFY(!second.isPrimary());
        }
        QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 1, 30000);
        // Every later copy asks again.
        SingleInstance third(key);
        QVERIFY(!third.isPrimary());
        QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 2, 30000);
    }

    void otherKeysAreIndependent() {
        SingleInstance first(uniqueKey());
        SingleInstance other(uniqueKey());
        QVERIFY(first.isPrimary());
        QVERIFY(other.isPrimary());
        QVERIFY(SingleInstance::serverNameFor(QStringLiteral(" ZelkoHTML")) !=
                SingleInstance::serverNameFor(QStringLiteral("ZelkoHTML")));
    }

    void secondProcessIsSecondary() {
        const QString key = uniqueKey();
        SingleInstance first(key);
        QVERIFY(first.isPrimary());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        QProcess child;
        child.start(QString::fromLocal8Bit(testExecutable()), {QStringLiteral("--instance"), key});
        // The primary keeps serving while the child runs.
        QTRY_VERIFY_WITH_TIMEOUT(child.state() == QProcess::NotRunning, 30000);
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 1, 30000);
    }

    void endedCopyFreesTheKey() {
        const QString key = uniqueKey();
        {
            SingleInstance first(key);
            QVERIFY(first.isPrimary());
        }
        SingleInstance next(key);
        QVERIFY(next.isPrimary());
    }

    void staleSocketIsReplaced() {
        const QString key = uniqueKey();
        QVERIFY(makeStaleSocket(socketPath(key)));
        SingleInstance first(key);
        QVERIFY(first.isPrimary());
        // The replacement really serves: a later copy finds it.
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        SingleInstance second(key);
        QVERIFY(!second.isPrimary());
        QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 1, 30000);
    }

    // A copy whose start hung keeps its socket but never answers: a later copy does not
    // give way to it for ever, and the copies after that find the new one.
    void hungCopyDoesNotHoldTheKey() {
        const QString key = uniqueKey();
        const int hung = listenWithoutAnswering(socketPath(key));
        QVERIFY(hung >= 0);
        SingleInstance next(key, nullptr, 100);
        QVERIFY(next.isPrimary());
        QVERIFY(next.holdsKey());
        QSignalSpy raised(&next, &SingleInstance::raiseRequested);
        {
            SingleInstance later(key);
            QVERIFY(!later.isPrimary());
            QVERIFY(!later.holdsKey());
        }
        QCOMPARE(raised.count(), 1);
        ::close(hung);
    }

    // The hung copy, when it comes to, learns that the key is no longer its own.
    void copyWhoseKeyWasTakenKnowsIt() {
        const QString key = uniqueKey();
        SingleInstance first(key);
        QVERIFY(first.isPrimary());
        QVERIFY(first.holdsKey());
        // What a later copy does when this one does not answer.
        QVERIFY(QLocalServer::removeServer(SingleInstance::serverNameFor(key)));
        const int taken = listenWithoutAnswering(socketPath(key));
        QVERIFY(taken >= 0);
        QVERIFY(!first.holdsKey());
        ::close(taken);
    }

    // A client that connects and says nothing is no request to raise the window.
    void silentConnectionIsIgnored() {
        const QString key = uniqueKey();
        SingleInstance first(key);
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        {
            QLocalSocket silent;
            silent.connectToServer(SingleInstance::serverNameFor(key));
            QVERIFY(silent.waitForConnected(10000));
            silent.write("hello\n");
            QVERIFY(silent.waitForBytesWritten(10000));
        }
        SingleInstance second(key);
        QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 1, 30000);
        QCOMPARE(raised.count(), 1);
    }
};

int runSingleInstanceTests(int argc, char** argv) {
    SingleInstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "single_instance_test.moc"
