// Preview, copy and code view on the real window, with what the browser engine rendered
// read back from the page.
#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>

#include "clipboard.h"
#include "code_generator.h"
#include "sounds.h"
#include "style_commands.h"
#include "window_test_support.h"

using zktest::AppFolder;

namespace {

// A script standing in for the web browser: it writes its arguments, one per line.
class RecordingBrowser final {
public:
    RecordingBrowser() {
        record_ = dir_.path() + QStringLiteral("/args.txt");
        const QString script = dir_.path() + QStringLiteral("/browser.sh");
        QFile s(script);
        if (s.open(QIODevice::WriteOnly))
            s.write(QStringLiteral(
                        "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > '%1'\n")
                        .arg(record_)
                        .toUtf8());
        s.close();
        s.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        saved_ = qgetenv("BROWSER");
        qputenv("BROWSER", script.toUtf8());
    }
    ~RecordingBrowser() {
        if (saved_.isEmpty())
            qunsetenv("BROWSER");
        else
            qputenv("BROWSER", saved_);
    }
    QString recordPath() const { return record_; }

private:
    QTemporaryDir dir_;
    QString record_;
    QByteArray saved_;
};

class UrlRecorder final : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

} // namespace

class CodeOutputTest final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;

    QByteArray previewBytes() const {
        return zktest::readFile(folder->file(QStringLiteral("Data/Temp/TempHTML.html")));
    }

private slots:
    void init() {
        zktest::dialogs() = zktest::FakeDialogs();
        folder = std::make_unique<AppFolder>();
        form = zktest::openWindow(*folder);
        form->Memo1->setFocus();
    }
    void cleanup() {
        form.reset();
        folder.reset();
    }

    void startShowsTheEmptyPreviewPage() {
        QCOMPARE(previewBytes(), QByteArray("<html><head></head><body>\r\n\r\n</body></html>\r\n"));
        QTRY_VERIFY(form->codeOutput()->WebB != nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(
            form->codeOutput()->WebB->url(),
            QUrl::fromLocalFile(folder->file(QStringLiteral("Data/Temp/TempHTML.html"))), 10000);
    }

    void twoWordsWithAGradientEndToEnd() {
        // Typing, the gradient button and the preview button, as a user would.
        QTest::keyClicks(form->Memo1, QStringLiteral("Hello world"));
        QTest::mouseClick(form->BoutCarac, Qt::LeftButton); // a panel open over the window
        QTest::mouseClick(form->styleCommands()->BoutDegrade, Qt::LeftButton);
        QTest::mouseClick(form->BoutNavIntegre, Qt::LeftButton);
        QCOMPARE(int(form->settings.fmt.GradientOn), 1);
        QCOMPARE(int(form->OpenPanel), 0); // the preview closes it so that the pane shows
        QVERIFY(!form->characterTable()->Panel3->isVisible());

        const QByteArray code = QByteArray::fromStdString(form->codeOutput()->GeneratedCode());
        QVERIFY(code.contains("<font color=\"#FF0000\">H</font>"));
        QCOMPARE(previewBytes(), "<html><head></head><body>\r\n" + code + "\r\n</body></html>\r\n");

        // What the engine rendered: one coloured font element per letter, red first.
        QVERIFY(form->codeOutput()->WebB);
        const QString body =
            zktest::waitForBody(form->codeOutput()->WebB, QStringLiteral("#FF0000"));
        QVERIFY2(body.contains(QStringLiteral("<font color=\"#FF0000\">H</font>")),
                 qPrintable(body));
        QCOMPARE(
            zktest::runScript(form->codeOutput()->WebB,
                              QStringLiteral("document.querySelectorAll('font[color]').length"))
                .toInt(),
            10);
        QCOMPARE(zktest::runScript(form->codeOutput()->WebB,
                                   QStringLiteral("document.body.textContent.trim()"))
                     .toString(),
                 QStringLiteral("Hello world"));
        QCOMPARE(
            zktest::runScript(
                form->codeOutput()->WebB,
                QStringLiteral("getComputedStyle(document.querySelector('font[color]')).color"))
                .toString(),
            QStringLiteral("rgb(255, 0, 0)"));
        const QString lastColour =
            zktest::runScript(form->codeOutput()->WebB,
                              QStringLiteral("Array.from(document.querySelectorAll('font[color]'))."
                                             "pop().getAttribute('color')"))
                .toString();
        QCOMPARE(lastColour, QStringLiteral("#FFD400"));
    }

    // The gradient's type and colours come from the options file read at start.
    void gradientOfSeveralColoursFromTheOptionsFile() {
        form.reset();
        folder->writeOptions("GradientType=1\r\nGradientStops=#000000,#FFFFFF\r\n");
        form = zktest::openWindow(*folder);
        QTest::keyClicks(form->Memo1, QStringLiteral("ab c"));
        QTest::mouseClick(form->styleCommands()->BoutDegrade, Qt::LeftButton);
        QTest::mouseClick(form->BoutNavIntegre, Qt::LeftButton);
        QVERIFY2(form->codeOutput()->GeneratedCode().find("<font color=\"#000000\">a</font><font "
                                                          "color=\"#808080\">b</font> <font "
                                                          "color=\"#FFFFFF\">c</font>") !=
                     std::string::npos,
                 form->codeOutput()->GeneratedCode().c_str());
        QVERIFY(form->codeOutput()->WebB);
        const QString body =
            zktest::waitForBody(form->codeOutput()->WebB, QStringLiteral("#FFFFFF"));
        QVERIFY2(body.contains(QStringLiteral("#FFFFFF")), qPrintable(body));
        QCOMPARE(zktest::runScript(form->codeOutput()->WebB,
                                   QStringLiteral("Array.from(document.querySelectorAll('font["
                                                  "color]')).map(f => f.getAttribute('color'))."
                                                  "join()"))
                     .toString(),
                 QStringLiteral("#000000,#808080,#FFFFFF"));
    }

    void previewShowsTheNewContentEveryTime() {
        QTest::keyClicks(form->Memo1, QStringLiteral("premier"));
        QTest::keyClick(form->Memo1, Qt::Key_F12);
        QVERIFY(zktest::waitForBody(form->codeOutput()->WebB, QStringLiteral("premier"))
                    .contains(QStringLiteral("premier")));
        form->Memo1->clear();
        // Beyond Windows-1252: written as a character reference, shown as the character.
        QTest::keyClicks(form->Memo1, QStringLiteral("second "));
        form->Memo1->insertPlainText(QString::fromUtf8("\xF0\x9F\x98\x80 \xC3\xA9t\xC3\xA9"));
        QTest::keyClick(form->Memo1, Qt::Key_F12);
        const QString body =
            zktest::waitForBody(form->codeOutput()->WebB, QStringLiteral("second"));
        QVERIFY(body.contains(QStringLiteral("second")));
        QVERIFY(!body.contains(QStringLiteral("premier")));
        QVERIFY(previewBytes().contains("&#128512;"));
        QVERIFY(previewBytes().contains("\xE9t\xE9")); // Windows-1252
        QVERIFY(
            zktest::runScript(form->codeOutput()->WebB, QStringLiteral("document.body.textContent"))
                .toString()
                .contains(QString::fromUtf8("\xF0\x9F\x98\x80 \xC3\xA9t\xC3\xA9")));
        // Line breaks and double spaces as the generator writes them.
        form->Memo1->setPlainText(QStringLiteral("a  b\nc"));
        form->codeOutput()->BoutNavIntegreClick();
        QVERIFY(form->codeOutput()->GeneratedCode().find("a&nbsp&nbspb<br>c") != std::string::npos);
    }

    void previewOutsideTheProgram() {
        form->Memo1->setPlainText(QStringLiteral("dehors"));
        const QString page = folder->file(QStringLiteral("Data/Temp/TempHTML.html"));
        {
            // The web browser in a new window, given the page's path unchanged.
            RecordingBrowser browser;
            form->settings.PreviewInProgram = 0;
            form->settings.PreviewInNewWindow = 1;
            form->codeOutput()->BoutNavIntegreClick();
            QTRY_COMPARE_WITH_TIMEOUT(QString::fromUtf8(zktest::readFile(browser.recordPath())),
                                      QStringLiteral("[%1]\n").arg(page), 10000);
            QVERIFY(previewBytes().contains("dehors"));
        }
        {
            // The desktop's program for HTML pages.
            UrlRecorder recorder;
            QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
            form->settings.PreviewInNewWindow = 0;
            form->codeOutput()->BoutNavIntegreClick();
            QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
            QCOMPARE(recorder.urls, QList<QUrl>{QUrl::fromLocalFile(page)});
        }
        // Another value: the page is written and nothing is opened.
        form->settings.PreviewInNewWindow = 2;
        form->Memo1->setPlainText(QStringLiteral("rien"));
        form->codeOutput()->BoutNavIntegreClick();
        QVERIFY(previewBytes().contains("rien"));
    }

    void copyWarnsPastTheLimitAndCopiesAnyway() {
        struct Case {
            int limit;
            int letters;
            bool warning;
        };
        const Case cases[] = {
            {0, 300, false}, {100, 100, false}, {100, 101, true}, {65535, 5, false}};
        form->settings.fmt.IgnoreTextTags = 1; // the code is the text alone
        for (const Case& c : cases) {
            if (form->PanError->isVisible())
                form->BoutErrorClick();
            form->settings.fmt.CodeSizeLimit = static_cast<std::uint16_t>(c.limit);
            form->Memo1->setPlainText(QString(c.letters, QLatin1Char('x')));
            QTest::mouseClick(form->BoutClipBoard, Qt::LeftButton);
            QCOMPARE(zk::platform::clipboardText(), QString(c.letters, QLatin1Char('x')));
            QCOMPARE(form->PanError->isVisible(), c.warning);
            if (c.warning)
                QCOMPARE(
                    form->LabError->text(),
                    QStringLiteral("ATTENTION, %1 caractères !\nLa taille du code HTML dépasse\n"
                                   "la limite que vous avez fixée à %2")
                        .arg(c.letters)
                        .arg(c.limit));
        }
        // The length is counted in characters, not bytes.
        form->BoutErrorClick();
        form->settings.fmt.CodeSizeLimit = 3;
        form->Memo1->setPlainText(QStringLiteral("ééé"));
        form->codeOutput()->BoutClipBoardClick();
        QVERIFY(!form->PanError->isVisible());
    }

    void copyCanHideTheWindow() {
        form->settings.MinimizeAfterCopy = 1;
        form->Memo1->setPlainText(QStringLiteral("x"));
        form->codeOutput()->BoutClipBoardClick();
        if (form->TrayAvailable())
            QTRY_VERIFY(!form->isVisible());
        else
            QTRY_VERIFY(form->isMinimized());
    }

    void codeViewShowsPlainLineBreaks() {
        form->Memo1->setPlainText(QStringLiteral("ligne 1\nligne 2"));
        QTest::mouseClick(form->BoutCode, Qt::LeftButton);
        QCOMPARE(int(form->OpenPanel), 8);
        QVERIFY(form->codeOutput()->Panel8->isVisible());
        QCOMPARE(form->codeOutput()->Panel8->pos(), QPoint(0, 32));
        QTRY_VERIFY(form->codeOutput()->Memo2->hasFocus());
        QVERIFY(
            form->codeOutput()->Memo2->toPlainText().contains(QStringLiteral("ligne 1\nligne 2")));
        QVERIFY(!form->codeOutput()->Memo2->toPlainText().contains(QStringLiteral("<br>")));
        // A copy while the view is open gives the same text the view shows.
        form->codeOutput()->BoutClipBoardClick();
        QCOMPARE(zk::platform::clipboardText(),
                 QString::fromStdString(form->codeOutput()->GeneratedCode()));
        QVERIFY(zk::platform::clipboardText().contains(QStringLiteral("ligne 1\r\nligne 2")));
        QCOMPARE(form->codeOutput()->Memo2->toPlainText(),
                 QString(zk::platform::clipboardText())
                     .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        // Editing the view changes neither the text nor the next code.
        form->codeOutput()->Memo2->setPlainText(QStringLiteral("modifié"));
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("ligne 1\nligne 2"));
        // Hidden with its button: line breaks become <br> again.
        QTest::mouseClick(form->BoutCode, Qt::LeftButton);
        QCOMPARE(int(form->OpenPanel), 0);
        QVERIFY(!form->codeOutput()->Panel8->isVisible());
        QCOMPARE(form->codeOutput()->Panel8->pos(), QPoint(0, 436));
        QTRY_VERIFY(form->Memo1->hasFocus());
        form->codeOutput()->BoutClipBoardClick();
        QVERIFY(zk::platform::clipboardText().contains(QStringLiteral("ligne 1<br>ligne 2")));
    }

    void previewPageThatCannotBeWritten() {
        form->Memo1->setPlainText(QStringLiteral("texte"));
        // Data/Temp is a file: the page cannot be created.
        const QString temp = folder->file(QStringLiteral("Data/Temp"));
        QVERIFY(QDir(temp).removeRecursively());
        QFile blocker(temp);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        form->codeOutput()->BoutNavIntegreClick();
        QVERIFY(form->PanError->isVisible());
        QCOMPARE(form->LabError->text(), QStringLiteral("\nERREUR en écriture"));
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("texte")); // nothing typed is lost
        QVERIFY(form->codeOutput()->WebB);                             // the preview went on
        form->BoutErrorClick();

        // The page's name taken by a folder: the same message, and nothing else breaks.
        QVERIFY(QFile::remove(temp));
        QVERIFY(QDir().mkpath(temp + QStringLiteral("/TempHTML.html")));
        form->codeOutput()->BoutNavIntegreClick();
        QCOMPARE(form->LabError->text(), QStringLiteral("\nERREUR en écriture"));
        QVERIFY(zktest::dialogs().errors.isEmpty());
        form->BoutErrorClick();
        // Once the way is clear, the preview works again.
        QVERIFY(QDir(temp).removeRecursively());
        QVERIFY(QDir().mkpath(temp));
        form->codeOutput()->BoutNavIntegreClick();
        QVERIFY(!form->PanError->isVisible());
        QVERIFY(zktest::waitForBody(form->codeOutput()->WebB, QStringLiteral("texte"))
                    .contains(QStringLiteral("texte")));
    }

    void longGenerationStaysResponsiveAndIsNotRestarted() {
        // The generator hands the window a turn every 1000 characters, however fast it runs,
        // so the commands below arrive while it runs.
        form->codeOutput()->GenerationPacing = {1000, std::chrono::milliseconds(0)};
        form->settings.fmt.GradientOn = 1;
        form->settings.fmt.WavesOn = 1;
        form->Memo1->setPlainText(QString(20000, QLatin1Char('a')));
        zk::platform::setClipboardText(QStringLiteral("avant"));
        const int beeps = zk::platform::beepCount();
        bool ranDuring = false;
        bool runningSeen = false;
        QTimer::singleShot(0, form.get(), [&] {
            ranDuring = true;
            runningSeen = form->codeOutput()->Generating();
            form->codeOutput()->BoutClipBoardClick();
            form->codeOutput()->BoutCodeClick();
            QTest::keyClick(form->Memo1, Qt::Key_F12);
        });
        form->codeOutput()->BoutNavIntegreClick();
        QVERIFY(ranDuring);
        QVERIFY(runningSeen);
        QCOMPARE(zk::platform::beepCount(), beeps + 3);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("avant"));
        QCOMPARE(int(form->OpenPanel), 0);
        QVERIFY(!form->codeOutput()->Generating());
        QVERIFY(previewBytes().size() > 20000);
    }
};

ZK_WINDOW_TEST_MAIN(CodeOutputTest)
#include "code_output_test.moc"
