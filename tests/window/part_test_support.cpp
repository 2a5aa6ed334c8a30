#include "part_test_support.h"

#include <QStandardPaths>

#include <cstdlib>

namespace zktest {

namespace {
FakeDialogs fakeDialogs;
}

FakeDialogs& dialogs() {
    return fakeDialogs;
}

int runWindowTests(QObject* test, int argc, char** argv) {
    // The log-on entry, the single-instance socket and the browser's files stay inside a
    // folder of this run, never in the user's own.
    QTemporaryDir home;
    home.setAutoRemove(true);
    const QByteArray base = QFile::encodeName(home.path());
    QDir().mkpath(home.path() + QStringLiteral("/config"));
    QDir().mkpath(home.path() + QStringLiteral("/tmp"));
    QDir().mkpath(home.path() + QStringLiteral("/runtime"));
    qputenv("XDG_CONFIG_HOME", base + "/config");
    qputenv("XDG_RUNTIME_DIR", base + "/runtime");
    qputenv("TMPDIR", base + "/tmp");
    QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    zk::platform::configureWebEngineForRoot();
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral(" ZelkoHTML"));
    // The window tests see the dialogs as the program shows them: in French.
    if (!zk::platform::loadToolkitTranslations())
        qWarning("the toolkit's French translations are not installed");
    zk::platform::setDialogs(&fakeDialogs);
    const int failed = QTest::qExec(test, argc, argv);
    zk::platform::setDialogs(nullptr);
    return failed;
}

bool currentFunctionPassesAsOrdinaryUser(QByteArray& message) {
    QByteArray function = QTest::currentTestFunction();
    if (const char* tag = QTest::currentDataTag())
        function += QByteArray(":") + tag;
    const OrdinaryUserRun run =
        runSelfAsOrdinaryUser({function.toStdString(), "-maxwarnings", "0"});
    message = "as the user nobody (status " + QByteArray::number(run.status) + "):\n" +
              QByteArray::fromStdString(run.output);
    return qtestRunPassed(run);
}

} // namespace zktest
