// The real program, started as a user starts it: a copy of the executable in a temporary
// folder (its own folder is the application folder).
#include <QPlainTextEdit>
#include <QProcess>

#include <cstdio>
#include <sys/stat.h>

#include "clipboard.h"
#include "window_test_support.h"

using zktest::AppFolder;

namespace {

// One copy of the program with its own environment.
class Program final {
public:
    explicit Program(const AppFolder& folder, const QString& runtime) {
        exe_ = folder.file(QStringLiteral("zelkohtml"));
        QFile::copy(QStringLiteral(ZK_EXECUTABLE), exe_);
        QFile::setPermissions(exe_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), runtime); // the single-instance socket lives here
        env.insert(QStringLiteral("ZELKOHTML_TRACE"), QStringLiteral("1"));
        env.insert(QStringLiteral("ZELKOHTML_TEST_DIALOGS"), QStringLiteral("auto-accept"));
        process_.setProcessEnvironment(env);
        process_.setWorkingDirectory(folder.path());
        process_.setProgram(exe_);
    }
    ~Program() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000))
                process_.kill();
            process_.waitForFinished(5000);
        }
    }
    void start(const QStringList& args = {}) {
        process_.setArguments(args);
        process_.start();
        QVERIFY(process_.waitForStarted(10000));
    }
    bool waitForTrace(const QByteArray& line, int timeoutMs = 30000) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            err_ += process_.readAllStandardError();
            if (err_.contains("zelkohtml: " + line))
                return true;
            if (process_.state() == QProcess::NotRunning)
                break;
            process_.waitForReadyRead(100);
        }
        err_ += process_.readAllStandardError();
        return err_.contains("zelkohtml: " + line);
    }
    bool finish(int timeoutMs = 30000) {
        const bool done = process_.waitForFinished(timeoutMs);
        err_ += process_.readAllStandardError();
        return done;
    }
    QProcess& process() { return process_; }
    QByteArray errors() const { return err_; }

private:
    QString exe_;
    QProcess process_;
    QByteArray err_;
};

} // namespace

class ProgramTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir runtime; // shared by the copies of one test, so they see each other

private slots:
    void firstStartInAnEmptyFolderEnds() {
        AppFolder folder(false);
        Program program(folder, runtime.path());
        program.start();
        QVERIFY(program.finish());
        QCOMPARE(program.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.process().exitCode(), 0);
        for (const char* f : zktest::kDataFolders)
            QVERIFY2(QFileInfo(folder.file(QLatin1String(f))).isDir(), f);
        QCOMPARE(folder.settingsLines().size(), 59);
        QVERIFY(!program.errors().contains("zelkohtml: shown"));
    }

    void secondCopyRaisesTheFirstAndSavesNothing() {
        AppFolder first;
        Program one(first, runtime.path());
        one.start();
        QVERIFY2(one.waitForTrace("shown"), one.errors().constData());

        AppFolder second(false);
        Program two(second, runtime.path());
        two.start({second.file(QStringLiteral("document.txt"))});
        QVERIFY(two.finish(15000));
        QCOMPARE(two.process().exitCode(), 0);
        QVERIFY(!QFileInfo::exists(second.file(QStringLiteral("Data")))); // created nothing
        QVERIFY(one.waitForTrace("raised", 10000));
        QVERIFY(!QFileInfo::exists(first.settingsPath())); // the first copy has not closed
        QCOMPARE(one.process().state(), QProcess::Running);
    }

    // A named pipe as the settings file: before, the start waited for a writer for ever and
    // every later start gave way to that hung copy without a word.
    void namedPipeAsSettingsFileHangsNothing() {
        AppFolder folder;
        QCOMPARE(::mkfifo(QFile::encodeName(folder.settingsPath()).constData(), 0644), 0);
        Program one(folder, runtime.path());
        one.start();
        QVERIFY2(one.waitForTrace("shown"), one.errors().constData());
        AppFolder other;
        Program two(other, runtime.path());
        two.start();
        QVERIFY(two.finish(30000));
        QCOMPARE(two.process().exitCode(), 0);
        QVERIFY2(one.waitForTrace("raised"), one.errors().constData());
    }

    void badSettingsLineShowsTheErrorBoxAndTheWindow() {
        AppFolder folder;
        folder.writeSettings({{10, "x"}});
        Program program(folder, runtime.path());
        program.start();
        QVERIFY2(program.waitForTrace("shown"), program.errors().constData());
        QVERIFY(program.errors().contains("zelkohtml: error box: Invalid numeric input"));
    }

    void clipboardOwnedByAnotherProgram() {
        // Another program holds the clipboard: the window reads it and replaces it.
        QProcess owner;
        owner.setProgram(QCoreApplication::applicationFilePath());
        owner.setArguments({QStringLiteral("--own-clipboard"), QStringLiteral("ailleurs")});
        owner.start();
        QVERIFY(owner.waitForStarted(10000));
        QVERIFY(owner.waitForReadyRead(20000));
        QTRY_COMPARE(zk::platform::clipboardText(), QStringLiteral("ailleurs"));
        AppFolder folder;
        auto form = zktest::openWindow(folder);
        form->Memo1->setPlainText(QStringLiteral("ici"));
        form->settings.fmt.IgnoreTextTags = 1;
        form->codeOutput()->BoutClipBoardClick();
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("ici"));
        owner.kill();
        owner.waitForFinished(5000);
        // Its owner gone, the clipboard still answers.
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("ici"));
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--own-clipboard") == 0) {
        // A stand-in for another program: takes the clipboard and keeps it until killed.
        QApplication app(argc, argv);
        zk::platform::setClipboardText(QString::fromUtf8(argv[2]));
        std::printf("owning\n");
        std::fflush(stdout);
        return app.exec();
    }
    ProgramTest test;
    return zktest::runWindowTests(&test, argc, argv);
}

#include "program_test.moc"
