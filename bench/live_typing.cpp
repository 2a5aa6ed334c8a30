// How fast the live preview follows the typing in the real window (a measurement, not a
// test): the time from a key press reaching the editor to the new fragment being in the
// page's DOM, over 200 keys on texts of 1,000, 8,000 and 64,000 characters with the
// gradient and the waves on; the longest the window's thread is kept busy at once; then a
// soak of live updates with the memory (PSS) of the program and its browser processes
// before and after. Run it through tools/measure-live.sh, which gives it an X server.
//
//   zk_live_typing APP_FOLDER [KEYS] [SOAK_UPDATES] [SOAK_CHARACTERS]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <unistd.h>

#include "code_output.h"
#include "html_view.h"
#include "live_page.h"
#include "live_preview.h"
#include "main_window.h"
#include "style_commands.h"

namespace {

// Runs the event loop until done() holds; false after timeoutMs. The loop sleeps until an
// event comes (a timer wakes it now and then to look again): a loop that spins would take a
// processor from the browser engine it measures.
bool waitFor(const std::function<bool()>& done, int timeoutMs = 120000) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(50);
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A text of n characters: French words, a line break now and then.
QString sampleText(int n) {
    static const char* const words[] = {"Bonjour", "tout", "le", "monde",   "voici", "un",
                                        "texte",   "pour", "le", "forum",   "avec",  "des",
                                        "vagues",  "et",   "un", "dégradé", "de",    "couleurs"};
    QString text;
    int line = 0;
    for (std::size_t i = 0; text.size() < n; ++i) {
        const QString word = QString::fromUtf8(words[i % std::size(words)]);
        text += word;
        line += int(word.size()) + 1;
        if (line > 60) {
            text += QLatin1Char('\n');
            line = 0;
        } else {
            text += QLatin1Char(' ');
        }
    }
    text.truncate(n);
    return text;
}

// The fields of /proc/PID/stat after the name in parentheses.
QList<QByteArray> statFields(long pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2).split(' ');
}

// The sum of measure over the process pid and every process under it.
long sumOverTree(long pid, const std::function<long(long)>& measure) {
    long total = measure(pid);
    const QStringList all = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : all) {
        bool isPid = false;
        const long child = entry.toLong(&isPid);
        if (!isPid)
            continue;
        const QList<QByteArray> fields = statFields(child);
        if (fields.size() > 1 && fields[1].toLong() == pid) // the parent's id
            total += sumOverTree(child, measure);
    }
    return total;
}

// PSS in kB of the process pid and every process under it.
long pssOfTree(long pid) {
    return sumOverTree(pid, [](long p) {
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(p));
        if (!rollup.open(QIODevice::ReadOnly))
            return 0L;
        for (const QByteArray& line : rollup.readAll().split('\n')) {
            if (line.startsWith("Pss:"))
                return line.mid(4).trimmed().split(' ').first().toLong();
        }
        return 0L;
    });
}

// Processor time in ms used so far by the process pid and every process under it: the work
// done, whatever else runs on the machine.
double cpuMsOfTree(long pid) {
    const double tick = 1000.0 / double(sysconf(_SC_CLK_TCK));
    return tick * double(sumOverTree(pid, [](long p) {
               const QList<QByteArray> fields = statFields(p);
               // utime and stime, the 14th and 15th fields of the line.
               return fields.size() > 12 ? fields[11].toLong() + fields[12].toLong() : 0L;
           }));
}

// Times each event the window's thread handles at the outer level: the longest is the
// longest the thread was kept from the keys.
class TimedApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        if (depth_++ > 0) {
            const bool handled = QApplication::notify(receiver, event);
            --depth_;
            return handled;
        }
        QElapsedTimer clock;
        clock.start();
        const bool handled = QApplication::notify(receiver, event);
        longest_ = std::max(longest_, clock.nsecsElapsed() / 1e6);
        --depth_;
        return handled;
    }

    // The longest event since the last call, in ms.
    double takeLongest() { return std::exchange(longest_, 0.0); }

private:
    int depth_ = 0;
    double longest_ = 0;
};

struct Figures {
    double median = 0;
    double worst = 0;
};

Figures figuresOf(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

class Bench {
public:
    explicit Bench(TForm1& form) : form_(form) {}

    zk::ui::LivePreview* live() const { return form_.codeOutput()->livePreview(); }

    bool ready() {
        form_.show();
        if (!waitFor([this] { return form_.codeOutput()->WebB && live()->page(); }))
            return false;
        // The start's page first, so that it does not come in the middle of a measure.
        QWebEngineView* view = form_.codeOutput()->WebB;
        return waitFor([this, view] {
            if (!view->url().isLocalFile() || live()->pending())
                return false;
            auto answer = std::make_shared<QString>();
            view->page()->runJavaScript(QStringLiteral("document.readyState"),
                                        QWebEngineScript::ApplicationWorld,
                                        [answer](const QVariant& v) { *answer = v.toString(); });
            waitFor([answer] { return !answer->isEmpty(); }, 5000);
            return *answer == QLatin1String("complete");
        });
    }

    // Shows text and waits until it is in the page.
    bool show(const QString& text) {
        bool shown = false;
        const auto connection =
            QObject::connect(live(), &zk::ui::LivePreview::shown, [&shown] { shown = true; });
        form_.Memo1->setPlainText(text);
        form_.Memo1->moveCursor(QTextCursor::End);
        const bool ok = waitFor([&] { return shown; });
        QObject::disconnect(connection);
        return ok;
    }

    // One key at the end of the text; the milliseconds until its fragment is in the DOM.
    double key(QChar c) {
        bool shown = false;
        const auto connection =
            QObject::connect(live(), &zk::ui::LivePreview::shown, [&shown] { shown = true; });
        form_.Memo1->moveCursor(QTextCursor::End);
        QElapsedTimer clock;
        clock.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(form_.Memo1, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(form_.Memo1, &release);
        const bool ok = waitFor([&] { return shown; });
        const double ms = clock.nsecsElapsed() / 1e6;
        QObject::disconnect(connection);
        return ok ? ms : -1;
    }

private:
    TForm1& form_;
};

} // namespace

int main(int argc, char** argv) {
    zk::platform::configureWebEngineForRoot();
    TimedApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s APP_FOLDER [KEYS] [SOAK_UPDATES] [SOAK_CHARACTERS]\n",
                     argv[0]);
        return 2;
    }
    const int keys = argc > 2 ? std::atoi(argv[2]) : 200;
    const int soakUpdates = argc > 3 ? std::atoi(argv[3]) : 10000;
    const int soakCharacters = argc > 4 ? std::atoi(argv[4]) : 8000;

    TForm1 form(QString::fromLocal8Bit(argv[1]));
    Bench bench(form);
    if (!bench.ready()) {
        std::fprintf(stderr, "the browser pane did not come\n");
        return 1;
    }
    form.styleCommands()->BoutDegrade->click();
    form.styleCommands()->BoutVague->click();
    if (!form.settings.fmt.GradientOn || !form.settings.fmt.WavesOn) {
        std::fprintf(stderr, "the gradient and the waves are not on\n");
        return 1;
    }

    std::printf("live preview, gradient and waves on, %d keys each (times in ms):\n", keys);
    std::printf("%10s %14s %14s %12s %12s %12s\n", "characters", "key->DOM med", "key->DOM worst",
                "block med", "block worst", "CPU per key");
    for (const int n : {1000, 8000, 64000}) {
        if (!bench.show(sampleText(n))) {
            std::fprintf(stderr, "the text of %d characters did not show\n", n);
            return 1;
        }
        std::vector<double> times;
        std::vector<double> blocks; // the longest the thread was busy at once, per key
        const long pid = QCoreApplication::applicationPid();
        const double cpuBefore = cpuMsOfTree(pid);
        for (int i = 0; i < keys; ++i) {
            app.takeLongest();
            const double ms = bench.key(QChar(u'a' + i % 26));
            if (ms < 0) {
                std::fprintf(stderr, "a key did not show\n");
                return 1;
            }
            times.push_back(ms);
            blocks.push_back(app.takeLongest());
        }
        const double cpuPerKey = (cpuMsOfTree(pid) - cpuBefore) / keys;
        const Figures key = figuresOf(times);
        const Figures cost = figuresOf(blocks);
        std::printf("%10d %14.1f %14.1f %12.1f %12.1f %12.1f\n", n, key.median, key.worst,
                    cost.median, cost.worst, cpuPerKey);
        std::fflush(stdout);
    }

    if (soakUpdates > 0) {
        if (!bench.show(sampleText(soakCharacters)))
            return 1;
        for (int i = 0; i < 200; ++i) // warm up
            bench.key(QChar(u'a' + i % 26));
        const long pid = QCoreApplication::applicationPid();
        const long before = pssOfTree(pid);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < soakUpdates; ++i) {
            // Typing and rubbing out by turns keeps the text's length.
            if (i % 2 == 0) {
                bench.key(QChar(u'a' + (i / 2) % 26));
            } else {
                bool shown = false;
                const auto connection = QObject::connect(bench.live(), &zk::ui::LivePreview::shown,
                                                         [&shown] { shown = true; });
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
                QCoreApplication::sendEvent(form.Memo1, &press);
                waitFor([&] { return shown; });
                QObject::disconnect(connection);
            }
        }
        const long after = pssOfTree(pid);
        std::printf("soak: %d live updates on %d characters in %.0f s; PSS of the program and "
                    "its browser processes %.1f MB before, %.1f MB after (%+.1f MB); page "
                    "loaded %d time(s)\n",
                    soakUpdates, soakCharacters, clock.elapsed() / 1000.0, before / 1024.0,
                    after / 1024.0, (after - before) / 1024.0, bench.live()->page()->loads());
    }
    return 0;
}
