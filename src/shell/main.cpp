// Program entry: one copy per user, the main window, shown unless started at log-on.
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>

#include "app_folder.h"
#include "code_output.h"
#include "dialogs.h"
#include "html_view.h"
#include "main_window.h"
#include "single_instance.h"

namespace {

// Test and measurement hooks, read from the environment; none of them is set in normal use.
//   ZELKOHTML_TEST_DIALOGS=auto-accept  dialogs answer at once: the error box prints its
//                                       message on stderr, choosers are cancelled
//   ZELKOHTML_TRACE=1                   prints "zelkohtml: shown MS" at the window's first
//                                       paint, "zelkohtml: raised" when a second copy
//                                       raised it, "zelkohtml: preview MS" when the preview
//                                       page has loaded (MS: milliseconds since the epoch)
//   ZELKOHTML_TEST_PREVIEW=TEXT         once shown, types TEXT in the editor and presses F12
//   ZELKOHTML_TEST_KEY=KEY              once shown, presses KEY ("F1"...) in the editor

class AutoDialogs final : public zk::platform::Dialogs {
public:
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return std::nullopt; }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&,
                         QString*) override {
        return {};
    }
    bool confirmReplace(QWidget*, const QString&) override { return false; }
    void runtimeError(QWidget*, const QString& message) override {
        std::fprintf(stderr, "zelkohtml: error box: %s\n", qPrintable(message));
        std::fflush(stderr);
    }
};

void trace(const char* what, bool withTime = true) {
    if (withTime)
        std::fprintf(stderr, "zelkohtml: %s %lld\n", what,
                     static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    else
        std::fprintf(stderr, "zelkohtml: %s\n", what);
    std::fflush(stderr);
}

class FirstPaint final : public QObject {
public:
    explicit FirstPaint(TForm1* form) : QObject(form), form_(form) {
        form->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == form_ && event->type() == QEvent::Paint) {
            form_->removeEventFilter(this);
            if (qEnvironmentVariableIsSet("ZELKOHTML_TRACE"))
                trace("shown");
            if (qEnvironmentVariableIsSet("ZELKOHTML_TEST_PREVIEW"))
                QTimer::singleShot(0, form_, [form = form_] { pressPreview(form); });
            if (qEnvironmentVariableIsSet("ZELKOHTML_TEST_KEY"))
                QTimer::singleShot(0, form_, [form = form_] { pressKey(form); });
        }
        return false;
    }

private:
    static void pressKey(TForm1* form) {
        const QKeySequence key(qEnvironmentVariable("ZELKOHTML_TEST_KEY"));
        if (key.isEmpty())
            return;
        form->Memo1->setFocus();
        QKeyEvent press(QEvent::KeyPress, key[0].key(), key[0].keyboardModifiers());
        QCoreApplication::sendEvent(form->Memo1, &press);
    }

    static void pressPreview(TForm1* form) {
        form->Memo1->setPlainText(qEnvironmentVariable("ZELKOHTML_TEST_PREVIEW"));
        form->Memo1->setFocus();
        QObject::connect(form->codeOutput()->EnsureWebB(), &QWebEngineView::loadFinished, form,
                         [](bool) {
                             if (qEnvironmentVariableIsSet("ZELKOHTML_TRACE"))
                                 trace("preview");
                         });
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
        QCoreApplication::sendEvent(form->Memo1, &press);
    }

    TForm1* form_ = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    zk::platform::configureWebEngineForRoot();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zelkohtml"));
    QApplication::setApplicationDisplayName(QStringLiteral(" ZelkoHTML"));

    zk::platform::loadToolkitTranslations();
    AutoDialogs autoDialogs;
    if (qEnvironmentVariable("ZELKOHTML_TEST_DIALOGS") == QLatin1String("auto-accept"))
        zk::platform::setDialogs(&autoDialogs);

    // A second copy asks the first to show its window and ends at once, saving nothing.
    zk::platform::SingleInstance guard(QStringLiteral(" ZelkoHTML"));
    if (!guard.isPrimary())
        return 0;

    // The executable's folder, or the user's own copy of the Data tree when an installed
    // program's folder cannot be written to.
    const zk::AppFolderChoice folder = zk::prepareAppFolder(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    const QStringList args = app.arguments().mid(1);
    TForm1 form(QFile::decodeName(folder.folder.c_str()), args);
    // A start so slow that a later copy took the key over gives way to that copy.
    if (!guard.holdsKey())
        return 0;
    if (form.EndRequested)
        return 0; // asked during start-up; the settings were written by the close
    QObject::connect(&form, &TForm1::endRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&guard, &zk::platform::SingleInstance::raiseRequested, &form,
                     &TForm1::RaiseFromOtherCopy);
    if (qEnvironmentVariableIsSet("ZELKOHTML_TRACE"))
        QObject::connect(&form, &TForm1::raisedByOtherCopy, [] { trace("raised", false); });
    new FirstPaint(&form);

    form.ShowAtStart();
    return app.exec();
}
