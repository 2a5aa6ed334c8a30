// Shared pieces of the window tests and of the tests of a window part alone: a temporary
// application folder, dialogs that answer by themselves, a host that stands in for the main
// window, the browser's DOM read back, and a main() that prepares the engine.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QWindow>

#include <functional>
#include <memory>
#include <optional>

#include "as_ordinary_user.h"
#include "commands.h"
#include "dialogs.h"
#include "html_view.h"
#include "settings_file.h"
#include "window_host.h"

namespace zktest {

// How long a test waits for a state of the window system: generous, as a loaded machine
// or a slow X server may take long; a wait ends as soon as the state is there.
constexpr int kWindowSystemTimeoutMs = 30000;

// Every QTRY_VERIFY and QTRY_COMPARE of the window tests waits that long.
#undef QTRY_VERIFY
#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT((expr), zktest::kWindowSystemTimeoutMs)
#undef QTRY_VERIFY2
#define QTRY_VERIFY2(expr, messageExpression)                                                      \
    QTRY_VERIFY2_WITH_TIMEOUT((expr), (messageExpression), zktest::kWindowSystemTimeoutMs)
#undef QTRY_COMPARE
#define QTRY_COMPARE(expr, expected)                                                               \
    QTRY_COMPARE_WITH_TIMEOUT((expr), (expected), zktest::kWindowSystemTimeoutMs)

// Answers the window's dialogs and records the error boxes.
class FakeDialogs final : public zk::platform::Dialogs {
public:
    std::optional<QColor> color; // answer of the colour dialog; nullopt = cancelled
    QColor colorOffered;
    int colorCalls = 0;
    QString saveAnswer; // answer of the save dialog; empty = cancelled
    QStringList errors;

    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override {
        ++colorCalls;
        colorOffered = initial;
        return color;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&,
                         QString*) override {
        return saveAnswer;
    }
    bool confirmReplace(QWidget*, const QString&) override { return true; }
    void runtimeError(QWidget*, const QString& message) override { errors.append(message); }
};

// The one instance the test main installs.
FakeDialogs& dialogs();

inline const char* const kDataFolders[] = {
    "Data",         "Data/Bin",  "Data/Listes", "Data/Listes/BakListes",
    "Data/Presets", "Data/Temp", "Data/Aide"};

// A temporary application folder; with a Data tree unless told otherwise.
class AppFolder final {
public:
    explicit AppFolder(bool withData = true, const QString& subfolder = {}) {
        path_ = dir_.path() + QLatin1Char('/') + subfolder;
        if (!subfolder.isEmpty())
            QDir().mkpath(path_);
        if (!path_.endsWith(QLatin1Char('/')))
            path_ += QLatin1Char('/');
        if (withData) {
            for (const char* f : kDataFolders)
                QDir().mkpath(path_ + QLatin1String(f));
        }
    }
    QString path() const { return path_; }
    QString file(const QString& relative) const { return path_ + relative; }
    QString settingsPath() const { return file(QStringLiteral("Data/Bin/ZelkoHTML.ini")); }
    QString optionsPath() const { return file(QStringLiteral("Data/Bin/Options.ini")); }

    void writeOptions(const QByteArray& bytes) const {
        QFile f(optionsPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // Writes the 59-line settings file with some lines replaced (1-based line -> text).
    void writeSettings(const QMap<int, QByteArray>& lines) const {
        zk::AppSettings defaults;
        defaults.LastFolder = path_.toStdString();
        const QByteArray base = QByteArray::fromStdString(zk::FormatSettings(defaults));
        QList<QByteArray> all = base.split('\n');
        for (auto it = lines.begin(); it != lines.end(); ++it)
            all[it.key() - 1] = it.value() + '\r';
        QFile f(settingsPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(all.join('\n'));
    }
    QList<QByteArray> settingsLines() const {
        QFile f(settingsPath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QByteArray all = f.readAll();
        QList<QByteArray> lines = all.split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

private:
    QTemporaryDir dir_;
    QString path_;
};

// Stands in for the main window when a part is tested alone: records what the part asks.
// Stands in for the desktop's handler of a kind of address (QDesktopServices::setUrlHandler
// with the slot "open"): records what the program asks to open.
class UrlRecorder final : public QObject {
    Q_OBJECT
public:
    explicit UrlRecorder(QList<QUrl>* out) : out_(out) {}
public slots:
    void open(const QUrl& url) { out_->append(url); }

private:
    QList<QUrl>* out_ = nullptr;
};

class FakeHost final : public zk::platform::WindowHost {
public:
    QWidget window; // the parent of the part's dialogs
    QStringList errors;
    int openPanel = 0;
    int closeCalls = 0;
    QList<QPair<QString, QString>> insertions; // opening, closing
    QStringList launched;
    int hideCalls = 0;
    QString lastCommand; // what the builder recorded
    zk::platform::CommandBuilder builder{lastCommand, [](const QString&) { return QIcon(); }};

    QWidget* hostWindow() override { return &window; }
    void ShowError(const QString& message) override { errors.append(message); }
    void CloseOverlayPanels() override {
        ++closeCalls;
        openPanel = 0;
    }
    void ToggleOverlayPanel(int n, const std::function<void()>& fill,
                            const std::function<void()>& closeAction) override {
        if (openPanel == n) {
            if (closeAction)
                closeAction();
            return;
        }
        CloseOverlayPanels();
        openPanel = n;
        if (fill)
            fill();
    }
    int OpenPanelNumber() const override { return openPanel; }
    void InsertAtCaret(const QString& opening, const QString& closing) override {
        insertions.append({opening, closing});
    }
    void LaunchDocument(const QString& path, const QString&) override { launched.append(path); }
    void ShowNewBrowserView(QWebEngineView* view) override { view->show(); }
    void HideToTray() override { ++hideCalls; }
    zk::platform::CommandBuilder& commands() override { return builder; }
};

// Runs act once w is on screen. Menus and dialogs run event loops of their own: a test
// arms this before opening one, and acts from inside the loop once the window shows.
inline void whenShown(QWidget* w, std::function<void()> act) {
    auto* poll = new QTimer(w);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, w, [w, poll, act = std::move(act)] {
        if (!w->isVisible() || !w->windowHandle() || !w->windowHandle()->isExposed())
            return;
        poll->stop();
        poll->deleteLater();
        act();
    });
    poll->start();
}

// Runs answer on the next modal dialog once it is on screen, then closes the dialog if the
// answer left it open (a failed check must not leave it waiting for ever).
inline void whenModal(std::function<void(QWidget*)> answer) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || !modal->windowHandle() ||
            !modal->windowHandle()->isExposed())
            return;
        poll->stop();
        poll->deleteLater();
        QPointer<QWidget> guard(modal);
        answer(modal);
        if (guard && guard->isVisible())
            if (auto* dialog = qobject_cast<QDialog*>(guard.data()))
                dialog->reject();
    });
    poll->start();
}

// Runs a script in a page and waits for its result. It runs in the program's own world:
// the page's own scripts are off.
inline QVariant runScript(QWebEngineView* view, const QString& script, int timeoutMs = 15000) {
    // The answer may come after the wait gave up (a page changing under the script): it then
    // lands in this shared record, never in a finished call's stack.
    struct Answer {
        bool done = false;
        QVariant value;
    };
    auto answer = std::make_shared<Answer>();
    view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                [answer](const QVariant& v) {
                                    answer->value = v;
                                    answer->done = true;
                                });
    if (!QTest::qWaitFor([&] { return answer->done; }, timeoutMs))
        qWarning("script did not answer: %s", qPrintable(script));
    return answer->value;
}

// Waits until the page's body holds what the engine rendered from the file.
inline QString waitForBody(QWebEngineView* view, const QString& expectedPart,
                           int timeoutMs = 20000) {
    QString body;
    // On a timeout the last body read is returned, for the caller's message.
    (void)QTest::qWaitFor(
        [&] {
            // A question lost while the page changes is asked again.
            body = runScript(view, QStringLiteral("document.body ? document.body.innerHTML : ''"),
                             2000)
                       .toString();
            return body.contains(expectedPart);
        },
        timeoutMs);
    return body;
}

// Types text as key presses, any character included (the test library's own typing
// knows only Latin-1 keys).
inline void typeText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &release);
    }
}

// The editor's text with its line breaks as "\n" and every character as it is (the
// toolkit's plain text would turn no-break spaces into spaces).
inline QString textOf(const QPlainTextEdit* editor) {
    QString t = editor->document()->toRawText();
    t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return t;
}

inline void select(QPlainTextEdit* editor, int start, int end) {
    QTextCursor c = editor->textCursor();
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    editor->setTextCursor(c);
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The texts of a list box's rows and of a drop-down list's items, in order.
inline QStringList itemsOf(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->item(i)->text());
    return items;
}

inline QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

// The selected row of a list box; -1 when none is selected.
inline int selectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.constFirst());
}

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Prepares the engine and a private environment, then runs the test object.
int runWindowTests(QObject* test, int argc, char** argv);

// The current test function (and data row), run again as the user "nobody": true when it
// passed there without a skip; message receives that run's output otherwise.
bool currentFunctionPassesAsOrdinaryUser(QByteArray& message);

} // namespace zktest

// At the top of a test function that needs an ordinary user: as root, the function runs
// again as "nobody" and that run's result stands for this one (see as_ordinary_user.h).
#define ZK_WINDOW_AS_ORDINARY_USER()                                                               \
    do {                                                                                           \
        if (::zktest::runsAsRoot()) {                                                              \
            QByteArray zkUserRun;                                                                  \
            QVERIFY2(::zktest::currentFunctionPassesAsOrdinaryUser(zkUserRun),                     \
                     zkUserRun.constData());                                                       \
            return;                                                                                \
        }                                                                                          \
    } while (false)

#define ZK_PART_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char** argv) {                                                              \
        TestClass test;                                                                            \
        return zktest::runWindowTests(&test, argc, argv);                                          \
    }
