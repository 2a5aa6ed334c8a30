#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include "as_ordinary_user.h"
#include "autostart.h"
#include "platform_tests.h"
#include "test_env.h"

using namespace zk::platform;

namespace {

QMap<QString, QString> readEntry(const QString& path, QString* firstLine) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (firstLine)
        *firstLine = lines.value(0);
    QMap<QString, QString> keys;
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            keys.insert(line.left(eq), line.mid(eq + 1));
    }
    return keys;
}

const QString failure = QStringLiteral("Failed to set data for 'ZelkoHTML'");

} // namespace

class AutostartTest final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    }

    void entryName_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("name");
        QTest::newRow("exe") << "ZelkoHTML.exe"
                             << "ZelkoHTML";
        QTest::newRow("no dot") << "zelkohtml"
                                << "zelkohtml";
        QTest::newRow("many dots") << "a.b.c.d.e.f.g.h.i.j"
                                   << "a.f.g.h.i.j";
        QTest::newRow("two extensions") << "Zelko.HTML.exe"
                                        << "Zelkoe";
        QTest::newRow("exactly eight") << "x.toolong12345"
                                       << "x12345";
        QTest::newRow("trailing dot") << "name."
                                      << "name";
        QTest::newRow("space kept") << "Zelko HTML.bin"
                                    << "Zelko HTML";
        QTest::newRow("leading dot") << ".hidden"
                                     << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void entryName() {
        QFETCH(QString, fileName);
        QFETCH(QString, name);
        QCOMPARE(autostartEntryName(fileName), name);
    }

    void entryPathFollowsConfigHome() {
        EnvGuard guard("XDG_CONFIG_HOME");
        QCOMPARE(autostartEntryPath(QStringLiteral("/opt/z/ZelkoHTML.exe")),
                 config_.path() + QStringLiteral("/autostart/ZelkoHTML.desktop"));
        // Unset or relative: the home folder's .config, as the base directory rules say.
        const QString home =
            QDir::homePath() + QStringLiteral("/.config/autostart/zelkohtml.desktop");
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(autostartEntryPath(QStringLiteral("/usr/bin/zelkohtml")), home);
        qputenv("XDG_CONFIG_HOME", "relative/config");
        QCOMPARE(autostartEntryPath(QStringLiteral("/usr/bin/zelkohtml")), home);
    }

    void onWritesEntry_data() {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/opt/zelko/ZelkoHTML"
                               << "/opt/zelko/ZelkoHTML";
        QTest::newRow("spaces quoted") << "/opt/my apps/ZelkoHTML"
                                       << "\"/opt/my apps/ZelkoHTML\"";
        // Inside quotes '$' is escaped, then the string escape doubles the backslash.
        QTest::newRow("dollar") << "/opt/a$b/ZelkoHTML"
                                << "\"/opt/a\\\\$b/ZelkoHTML\"";
        QTest::newRow("quote") << "/opt/a\"b/ZelkoHTML"
                               << "\"/opt/a\\\\\"b/ZelkoHTML\"";
        QTest::newRow("percent doubled") << "/opt/100%/ZelkoHTML"
                                         << "/opt/100%%/ZelkoHTML";
        QTest::newRow("accents kept") << "/opt/Élodie/ZelkoHTML"
                                      << "/opt/Élodie/ZelkoHTML";
    }
    void onWritesEntry() {
        QFETCH(QString, executable);
        QFETCH(QString, exec);
        QString error = QStringLiteral("untouched");
        QVERIFY(setStartAtLogon(true, executable, &error));
        QCOMPARE(error, QStringLiteral("untouched"));
        QString firstLine;
        const auto keys =
            readEntry(config_.path() + QStringLiteral("/autostart/ZelkoHTML.desktop"), &firstLine);
        QCOMPARE(firstLine, QStringLiteral("[Desktop Entry]"));
        QCOMPARE(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
        QCOMPARE(keys.value(QStringLiteral("Name")), QStringLiteral("ZelkoHTML"));
        QCOMPARE(keys.value(QStringLiteral("Exec")), exec);
        QCOMPARE(keys.value(QStringLiteral("X-GNOME-Autostart-enabled")), QStringLiteral("true"));
    }

    void onReplacesEarlierEntryAndLeavesNoTemporaryFile() {
        QVERIFY(setStartAtLogon(true, QStringLiteral("/old/place/ZelkoHTML.exe"), nullptr));
        QVERIFY(setStartAtLogon(true, QStringLiteral("/new/place/ZelkoHTML.exe"), nullptr));
        const QString folder = config_.path() + QStringLiteral("/autostart");
        QCOMPARE(readEntry(folder + QStringLiteral("/ZelkoHTML.desktop"), nullptr)
                     .value(QStringLiteral("Exec")),
                 QStringLiteral("/new/place/ZelkoHTML.exe"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("ZelkoHTML.desktop")});
    }

    void onCreatesMissingFolders() {
        const QString nested = config_.path() + QStringLiteral("/not/yet");
        qputenv("XDG_CONFIG_HOME", nested.toUtf8());
        QVERIFY(setStartAtLogon(true, QStringLiteral("/opt/ZelkoHTML.exe"), nullptr));
        QVERIFY(QFile::exists(nested + QStringLiteral("/autostart/ZelkoHTML.desktop")));
    }

    void offRemovesEntryAndMissingIsNoError() {
        const QString exe = QStringLiteral("/opt/ZelkoHTML.exe");
        QVERIFY(setStartAtLogon(true, exe, nullptr));
        QVERIFY(QFile::exists(autostartEntryPath(exe)));
        QString error;
        QVERIFY(setStartAtLogon(false, exe, &error));
        QVERIFY(!QFile::exists(autostartEntryPath(exe)));
        QVERIFY(setStartAtLogon(false, exe, &error));
        QVERIFY(error.isEmpty());
        // Without an autostart folder at all.
        qputenv("XDG_CONFIG_HOME", (config_.path() + QStringLiteral("/none")).toUtf8());
        QVERIFY(setStartAtLogon(false, exe, &error));
        QVERIFY(!QDir(config_.path() + QStringLiteral("/none")).exists());
    }

    void otherEntriesUntouched() {
        const QString folder = config_.path() + QStringLiteral("/autostart");
        QVERIFY(QDir().mkpath(folder));
        QFile other(folder + QStringLiteral("/other.desktop"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("[Desktop Entry]\n");
        other.close();
        QVERIFY(setStartAtLogon(true, QStringLiteral("/opt/ZelkoHTML.exe"), nullptr));
        QVERIFY(setStartAtLogon(false, QStringLiteral("/opt/ZelkoHTML.exe"), nullptr));
        QVERIFY(QFile::exists(other.fileName()));
    }

    // Something in the way that even root cannot write through.
    void failuresReportTheEntryName_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("obstacle"); // "folder-is-file" or "entry-is-folder"
        QTest::newRow("on, autostart is a file") << true << "folder-is-file";
        QTest::newRow("on, entry is a folder") << true << "entry-is-folder";
        QTest::newRow("off, entry is a folder") << false << "entry-is-folder";
    }
    void failuresReportTheEntryName() {
        QFETCH(bool, on);
        QFETCH(QString, obstacle);
        const QString folder = config_.path() + QStringLiteral("/autostart");
        if (obstacle == QLatin1String("folder-is-file")) {
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(folder + QStringLiteral("/ZelkoHTML.desktop/inside")));
        }
        QString error;
        QVERIFY(!setStartAtLogon(on, QStringLiteral("/opt/ZelkoHTML.exe"), &error));
        QCOMPARE(error, failure);
        QVERIFY(!setStartAtLogon(on, QStringLiteral("/opt/ZelkoHTML.exe"), nullptr));
    }

    void readOnlyFolderFails() {
        if (zktest::runsAsRoot()) {
            // Root writes into read-only folders: the test runs again as an ordinary user.
            const zktest::OrdinaryUserRun run =
                zktest::runSelfAsOrdinaryUser({"autostart", "readOnlyFolderFails"});
            QVERIFY2(zktest::qtestRunPassed(run), run.output.c_str());
            return;
        }
        const QString folder = config_.path() + QStringLiteral("/autostart");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        QString error;
        const bool written = setStartAtLogon(true, QStringLiteral("/opt/ZelkoHTML.exe"), &error);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!written);
        QCOMPARE(error, failure);
    }

    void cleanup() {
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
        QDir(config_.path()).removeRecursively();
        QDir().mkpath(config_.path());
    }

private:
    QTemporaryDir config_;
};

int runAutostartTests(int argc, char** argv) {
    EnvGuard guard("XDG_CONFIG_HOME");
    AutostartTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "autostart_test.moc"
