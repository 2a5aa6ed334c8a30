#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform_tests.h"
#include "shell.h"
#include "test_env.h"

using namespace zk::platform;

namespace {

// Writes a script that records its arguments, each ended by a NUL byte, into record.
// The file appears whole (written aside, then renamed).
bool writeRecorder(const QString& script, const QString& record) {
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + record.toUtf8() + ".part'\nmv '" +
               record.toUtf8() + ".part' '" + record.toUtf8() + "'\n");
    file.close();
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList recordedArguments(const QString& record) {
    QFile file(record);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    if (bytes.endsWith('\0'))
        bytes.chop(1);
    QStringList arguments;
    for (const QByteArray& part : bytes.split('\0'))
        arguments.append(QString::fromUtf8(part));
    return arguments;
}

} // namespace

class ShellTest final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        QFile::remove(record());
    }

    void browserGetsOneUnchangedArgument_data() {
        QTest::addColumn<QString>("browser"); // $BROWSER, with RECORDER for the script
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QStringList>("expected"); // ARG stands for argument
        const QString page = QStringLiteral("/home/user/Mes documents/ZelkoHTML/Data/Aide/"
                                            "ZelkoHTMLDOC.htm");
        QTest::newRow("path with spaces") << "RECORDER" << page << QStringList{"ARG"};
        QTest::newRow("address with query")
            << "RECORDER"
            << "http://example.com/a b?x=1&y=\"2\"" << QStringList{"ARG"};
        QTest::newRow("quotes and shell characters")
            << "RECORDER"
            << "it's $HOME; `ls` | \"x\" * ~" << QStringList{"ARG"};
        QTest::newRow("accents and emoji") << "RECORDER"
                                           << "/tmp/été 😀.html" << QStringList{"ARG"};
        QTest::newRow("empty argument") << "RECORDER"
                                        << "" << QStringList{"ARG"};
        QTest::newRow("leading dash") << "RECORDER"
                                      << "-rf /" << QStringList{"ARG"};
        QTest::newRow("extra words come first")
            << "RECORDER --new-window" << page << QStringList{"--new-window", "ARG"};
        QTest::newRow("placeholder")
            << "RECORDER --url=%s --x" << page << QStringList{"--url=" + page, "--x"};
        QTest::newRow("first of a list") << "RECORDER:/nowhere/other" << page << QStringList{"ARG"};
    }
    void browserGetsOneUnchangedArgument() {
        QFETCH(QString, browser);
        QFETCH(QString, argument);
        QFETCH(QStringList, expected);
        EnvGuard guard("BROWSER");
        QVERIFY(writeRecorder(dir_.filePath(QStringLiteral("rec")), record()));
        qputenv("BROWSER",
                QString(browser)
                    .replace(QStringLiteral("RECORDER"), dir_.filePath(QStringLiteral("rec")))
                    .toUtf8());
        QVERIFY(launchInBrowser(argument));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record()), 30000);
        expected.replaceInStrings(QStringLiteral("ARG"), argument);
        if (argument.isEmpty())
            expected = QStringList{QString()};
        QCOMPARE(recordedArguments(record()), expected);
    }

    // A browser in a folder with spaces, written the ways a shell user would write it.
    void browserPathWithSpaces_data() {
        QTest::addColumn<QString>("browser"); // SCRIPT stands for the script's folder
        QTest::newRow("single quotes") << "'SCRIPT/rec' --new-window";
        QTest::newRow("double quotes") << "\"SCRIPT/rec\" --new-window";
        QTest::newRow("backslashes") << "SCRIPT/rec --new-window";
    }
    void browserPathWithSpaces() {
        QFETCH(QString, browser);
        EnvGuard guard("BROWSER");
        const QString folder = dir_.filePath(QStringLiteral("mon navigateur"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeRecorder(folder + QStringLiteral("/rec"), record()));
        QString escaped = folder;
        if (browser.startsWith(QLatin1String("SCRIPT")))
            escaped.replace(QLatin1Char(' '), QStringLiteral("\\ "));
        qputenv("BROWSER", browser.replace(QStringLiteral("SCRIPT"), escaped).toUtf8());
        QVERIFY(launchInBrowser(QStringLiteral("a b")));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record()), 30000);
        QCOMPARE(recordedArguments(record()), (QStringList{"--new-window", "a b"}));
    }

    // No $BROWSER (or a blank one): xdg-open, found on PATH.
    void withoutBrowserVariableXdgOpen_data() {
        QTest::addColumn<bool>("blank");
        QTest::newRow("unset") << false;
        QTest::newRow("blank") << true;
    }
    void withoutBrowserVariableXdgOpen() {
        QFETCH(bool, blank);
        EnvGuard browser("BROWSER");
        EnvGuard path("PATH");
        if (blank)
            qputenv("BROWSER", "  ");
        else
            qunsetenv("BROWSER");
        QVERIFY(writeRecorder(dir_.filePath(QStringLiteral("xdg-open")), record()));
        qputenv("PATH", (dir_.path() + QLatin1Char(':') + qEnvironmentVariable("PATH")).toUtf8());
        QVERIFY(launchInBrowser(QStringLiteral("/tmp/a b.html")));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record()), 30000);
        QCOMPARE(recordedArguments(record()), QStringList{QStringLiteral("/tmp/a b.html")});
    }

    void missingBrowserFails_data() {
        QTest::addColumn<QString>("browser");
        QTest::newRow("absolute") << "/nowhere/at/all/browser";
        QTest::newRow("not on path") << "zelkohtml-no-such-browser --new-window";
    }
    void missingBrowserFails() {
        QFETCH(QString, browser);
        EnvGuard guard("BROWSER");
        qputenv("BROWSER", browser.toUtf8());
        QVERIFY(!launchInBrowser(QStringLiteral("/tmp/page.html")));
    }

    void openDocumentRefusesEmpty() { QVERIFY(!openDocument(QString())); }

    // The desktop's opener receives a URL: local paths become file URLs.
    void openDocumentHandsUrlToDesktop_data() {
        QTest::addColumn<QString>("document"); // DIR stands for the temporary folder
        QTest::addColumn<QString>("url");
        QTest::newRow("local path with spaces") << "DIR/Mes pages/page #1.html"
                                                << "file://DIR/Mes%20pages/page%20%231.html";
        QTest::newRow("web address") << "http://example.com/a?b=1"
                                     << "http://example.com/a?b=1";
        QTest::newRow("www without scheme") << "www.example.com"
                                            << "http://www.example.com";
    }
    void openDocumentHandsUrlToDesktop() {
        QFETCH(QString, document);
        QFETCH(QString, url);
        EnvGuard path("PATH");
        QVERIFY(writeRecorder(dir_.filePath(QStringLiteral("xdg-open")), record()));
        qputenv("PATH", (dir_.path() + QLatin1Char(':') + qEnvironmentVariable("PATH")).toUtf8());
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("Mes pages")));
        document.replace(QStringLiteral("DIR"), dir_.path());
        url.replace(QStringLiteral("DIR"), dir_.path());
        QVERIFY(openDocument(document));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record()), 30000);
        QCOMPARE(recordedArguments(record()), QStringList{url});
    }

private:
    QString record() const { return dir_.filePath(QStringLiteral("args")); }
    QTemporaryDir dir_;
};

int runShellTests(int argc, char** argv) {
    ShellTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "shell_test.moc"
