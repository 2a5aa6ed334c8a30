// The window under a Wayland compositor (the runner starts weston headless, with a seat):
// it starts, takes typing, previews, copies and closes with its settings saved. What a
// Wayland compositor keeps to itself (where windows stand, which stays on top, which
// comes to the front) and the missing notification area cost nothing but those effects:
// no error box, no crash, no warning.
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QToolButton>

#include <cstdio>

#include "window_test_support.h"

using zktest::AppFolder;

namespace {

// The warnings and errors the program and the toolkit print while it is armed.
class WarningRecorder final {
public:
    WarningRecorder() {
        active_ = this;
        previous_ = qInstallMessageHandler(&WarningRecorder::record);
    }
    ~WarningRecorder() {
        qInstallMessageHandler(previous_);
        active_ = nullptr;
    }
    QStringList messages;

private:
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (active_ && (type == QtWarningMsg || type == QtCriticalMsg))
            active_->messages.append(QString::fromLatin1(context.category) + QLatin1String(": ") +
                                     text);
        if (active_ && active_->previous_)
            active_->previous_(type, context, text);
    }
    static inline WarningRecorder* active_ = nullptr;
    QtMessageHandler previous_ = nullptr;
};

QByteArray settingsValue(const AppFolder& folder, const char* name) {
    const int index = zk::findSettingsField(name);
    const QList<QByteArray> lines = folder.settingsLines();
    return index >= 0 && index < lines.size() ? lines[index].trimmed() : QByteArray();
}

// Another client of the compositor reads the clipboard: a window of its own takes the
// keyboard focus, to which the compositor offers the clipboard. It prints the text.
int readClipboard(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(200, 100);
    window.show();
    QClipboard* clipboard = QGuiApplication::clipboard();
    const bool got = QTest::qWaitFor([&] { return !clipboard->text().isEmpty(); },
                                     zktest::kWindowSystemTimeoutMs);
    std::fputs(clipboard->text().toUtf8().constData(), stdout);
    return got ? 0 : 1;
}

} // namespace

class WaylandTest final : public QObject {
    Q_OBJECT

private slots:
    void runsUnderWayland() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        QVERIFY(qEnvironmentVariableIsEmpty("DISPLAY"));
    }

    void startsTypesPreviewsCopiesAndClosesWithItsSettingsSaved() {
        AppFolder folder;
        folder.writeSettings({{zk::findSettingsField("WindowLeft") + 1, "300"},
                              {zk::findSettingsField("WindowTop") + 1, "200"},
                              {zk::findSettingsField("AlwaysOnTop") + 1, "1"}});
        WarningRecorder warnings;
        auto form = zktest::openWindow(folder);
        QTRY_VERIFY(form->isActiveWindow());
        QTRY_VERIFY(form->codeOutput()->WebB != nullptr);

        QTest::keyClicks(form->Memo1, QStringLiteral("Bonjour Wayland"));
        QTest::keyClick(form->Memo1, Qt::Key_F12);
        QVERIFY(zktest::waitForBody(form->codeOutput()->WebB, QStringLiteral("Bonjour Wayland"))
                    .contains(QStringLiteral("Bonjour Wayland")));

        form->BoutClipBoard->click();
        const QString code = QString::fromStdString(form->codeOutput()->GeneratedCode());
        QVERIFY(code.contains(QStringLiteral("Bonjour Wayland")));
        QProcess reader;
        reader.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--read-clipboard")});
        QTRY_COMPARE(reader.state(), QProcess::NotRunning);
        QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()), code);

        form->close();
        QCOMPARE(settingsValue(folder, "WindowLeft"), QByteArray("300"));
        QCOMPARE(settingsValue(folder, "WindowTop"), QByteArray("200"));
        QCOMPARE(settingsValue(folder, "AlwaysOnTop"), QByteArray("1"));
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QVERIFY2(warnings.messages.isEmpty(), qPrintable(warnings.messages.join(u'\n')));
    }

    // Always on top, the front and the notification area: asked for, left to the compositor.
    void whatTheCompositorKeepsToItselfCostsNothingElse() {
        AppFolder folder;
        WarningRecorder warnings;
        auto form = zktest::openWindow(folder);
        QTRY_VERIFY(form->isActiveWindow());
        QTRY_VERIFY(form->codeOutput()->WebB != nullptr);
        QVERIFY(!form->TrayAvailable());

        for (const int expected : {1, 0, 1}) {
            form->BoutTop->click();
            QCOMPARE(int(form->settings.AlwaysOnTop), expected);
            QCOMPARE(form->BoutTop->isChecked(), expected == 1);
            QTRY_VERIFY(form->isVisible() && form->windowHandle()->isExposed());
        }
        QTRY_VERIFY(form->isActiveWindow());
        QTest::keyClicks(form->Memo1, QStringLiteral("encore"));
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("encore"));

        form->RaiseFromOtherCopy(); // a second copy was started
        QVERIFY(form->isVisible());

        // No notification area: "Réduire" minimises the window instead of hiding it.
        form->CacherTrayClick();
        QTRY_VERIFY(form->isMinimized());
        QVERIFY(form->isVisible());
        form->RaiseFromOtherCopy();
        QVERIFY(form->isVisible());

        form->close();
        QCOMPARE(settingsValue(folder, "AlwaysOnTop"), QByteArray("1"));
        QVERIFY(!form->PanError->isVisible());
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QVERIFY2(warnings.messages.isEmpty(), qPrintable(warnings.messages.join(u'\n')));
    }

    // Started at log-on with no notification area: shown minimised, as on X11.
    void startedAtLogonWithoutANotificationAreaItIsMinimised() {
        AppFolder folder;
        folder.writeSettings({{zk::findSettingsField("StartAtLogon") + 1, "1"}});
        WarningRecorder warnings;
        auto form = zktest::openWindow(folder, false);
        form->ShowAtStart();
        QTRY_VERIFY(form->isVisible() && form->isMinimized());
        form->close();
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QVERIFY2(warnings.messages.isEmpty(), qPrintable(warnings.messages.join(u'\n')));
    }
};

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], "--read-clipboard") == 0)
        return readClipboard(argc, argv);
    WaylandTest test;
    return zktest::runWindowTests(&test, argc, argv);
}

#include "wayland_test.moc"
