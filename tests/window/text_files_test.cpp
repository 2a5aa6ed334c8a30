// Opening and saving text files and the edit commands on the real window: real files in a
// temporary folder, the real clipboard, the browser pane for pages and pictures.
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolButton>
#include <QWebEngineView>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "clipboard.h"
#include "sounds.h"
#include "style_commands.h"
#include "window_test_support.h"

using zktest::AppFolder;
using zktest::select;
using zktest::textOf;
using zktest::writeBytes;

namespace {

// Answers the open and save dialogs and records how they were set up.
class FileDialogs final : public zk::platform::Dialogs {
public:
    QString openAnswer, saveAnswer; // empty: cancelled
    QString saveFilterAnswer;       // the filter entry the user picks
    bool replaceAnswer = true;      // the answer to "replace the existing file?"
    int openCalls = 0, saveCalls = 0;
    QString caption, dir, filter, filterOffered;
    QStringList replaceQuestions; // the files asked about

    bool confirmReplace(QWidget*, const QString& path) override {
        replaceQuestions.append(path);
        return replaceAnswer;
    }

    QString openFileName(QWidget*, const QString& c, const QString& d, const QString& f) override {
        ++openCalls;
        caption = c;
        dir = d;
        filter = f;
        return openAnswer;
    }
    QString saveFileName(QWidget*, const QString& c, const QString& d, const QString& f,
                         QString* selected) override {
        ++saveCalls;
        caption = c;
        dir = d;
        filter = f;
        filterOffered = selected ? *selected : QString();
        if (selected && !saveAnswer.isEmpty())
            *selected = saveFilterAnswer;
        return saveAnswer;
    }
};

const QString kTextEntry = QStringLiteral("Fichiers texte (*.txt)");
const QString kHtmlEntry = QStringLiteral("Fichiers html (*.html)");
const QString kCannotOpen = QStringLiteral("\n\nImpossible d'ouvrir ce fichier");
const QString kTooBig =
    QStringLiteral("\nLe fichier que vous tentez d'ouvrir\nest trop gros pour ZelkoHTML !");
const QString kNotText =
    QStringLiteral("\nCe fichier n'est pas un texte\nque ZelkoHTML sait lire !");

} // namespace

class TextFilesTest final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;
    FileDialogs files;
    QTemporaryDir docs;

    QString doc(const QString& name) const { return docs.path() + QLatin1Char('/') + name; }
    void dismissBanner() {
        if (form->PanError->isVisible())
            form->BoutErrorClick();
    }
    QString bannerText() const {
        return form->PanError->isVisible() ? form->LabError->text() : QString();
    }
    // Saves Memo1 through the dialog as `name` with the filter entry `entry`.
    void saveAs(const QString& name, const QString& entry) {
        files.saveAnswer = doc(name);
        files.saveFilterAnswer = entry;
        QTest::mouseClick(form->BoutSauver, Qt::LeftButton);
    }

private slots:
    void init() {
        files = FileDialogs();
        zk::platform::setDialogs(&files);
        folder = std::make_unique<AppFolder>();
        form = zktest::openWindow(*folder);
        form->Memo1->setFocus();
    }
    void cleanup() {
        zk::platform::setDialogs(&zktest::dialogs());
        form.reset();
        folder.reset();
        QDir(docs.path()).removeRecursively();
        QDir().mkpath(docs.path());
    }

    void openDialogAndTheSizeLimit() {
        QVERIFY(writeBytes(doc(QStringLiteral("limite.txt")), QByteArray(32768, 'a')));
        QVERIFY(writeBytes(doc(QStringLiteral("trop.txt")), QByteArray(32769, 'b')));
        form->settings.LastFolder = folder->path().toStdString();
        form->Memo1->setPlainText(QStringLiteral("avant"));
        files.openAnswer = doc(QStringLiteral("limite.txt"));
        QTest::mouseClick(form->BoutOuvrir, Qt::LeftButton);
        QCOMPARE(files.caption, QStringLiteral("Ouvrir un fichier texte"));
        QCOMPARE(files.dir, folder->path());
        QCOMPARE(files.filter.section(QLatin1Char('|'), 0, 0), QStringLiteral("Fichiers (*.*)"));
        QCOMPARE(textOf(form->Memo1), QString(32768, QLatin1Char('a')));
        QCOMPARE(QString::fromStdString(form->settings.LastFolder), docs.path() + QLatin1Char('/'));
        QVERIFY(!form->PanError->isVisible());

        files.openAnswer = doc(QStringLiteral("trop.txt"));
        form->textTools()->BoutOuvrirClick();
        QCOMPARE(bannerText(), kTooBig);
        QCOMPARE(textOf(form->Memo1), QString(32768, QLatin1Char('a')));
        dismissBanner();

        // A cancelled dialog changes nothing.
        files.openAnswer.clear();
        form->settings.LastFolder = "/nulle/part/";
        form->textTools()->BoutOuvrirClick();
        QCOMPARE(form->settings.LastFolder, std::string("/nulle/part/"));
        QCOMPARE(textOf(form->Memo1), QString(32768, QLatin1Char('a')));
        QVERIFY(!form->PanError->isVisible());
    }

    void filesThatCannotBeLoaded() {
        QVERIFY(writeBytes(doc(QStringLiteral("image.dat")),
                           QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)));
        QVERIFY(writeBytes(doc(QStringLiteral("utf16.txt")), QByteArray("\xFF\xFEh\0i\0", 6)));
        QVERIFY(QDir().mkpath(doc(QStringLiteral("dossier.txt"))));
        // Named pipes and devices are never opened: a pipe without a writer would hang.
        QCOMPARE(::mkfifo(QFile::encodeName(doc(QStringLiteral("tube.txt"))).constData(), 0644), 0);
        QCOMPARE(::mkfifo(QFile::encodeName(doc(QStringLiteral("tube.html"))).constData(), 0644),
                 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), doc(QStringLiteral("zero.txt"))));
        QVERIFY(QFile::link(QStringLiteral("tube.txt"), doc(QStringLiteral("lien.txt"))));
        struct Case {
            QString name;
            QString message;
        };
        QList<Case> cases = {
            {QStringLiteral("absent.txt"), kCannotOpen},
            {QStringLiteral("dossier.txt"), kCannotOpen},
            {QStringLiteral("image.dat"), kNotText},
            {QStringLiteral("utf16.txt"), kNotText},
            // A page or picture that is not there is reported too.
            {QStringLiteral("absent.html"), kCannotOpen},
            {QStringLiteral("dossier.png"), kCannotOpen},
            {QStringLiteral("tube.txt"), kCannotOpen},
            {QStringLiteral("tube.html"), kCannotOpen},
            {QStringLiteral("zero.txt"), kCannotOpen},
            {QStringLiteral("lien.txt"), kCannotOpen},
        };
        QVERIFY(QDir().mkpath(doc(QStringLiteral("dossier.png"))));
        const QString kept = QStringLiteral("gardé 👍🏽");
        for (const Case& c : cases) {
            form->Memo1->setPlainText(kept);
            form->settings.LastFolder.clear();
            form->textTools()->OpenFileByPath(doc(c.name));
            QCOMPARE(bannerText(), c.message);
            QCOMPARE(textOf(form->Memo1), kept);
            QCOMPARE(QString::fromStdString(form->settings.LastFolder),
                     docs.path() + QLatin1Char('/'));
            dismissBanner();
        }
    }

    void aFileTheUserMayNotReadCannotBeLoaded() {
        ZK_WINDOW_AS_ORDINARY_USER();
        for (const QString& name : {QStringLiteral("secret.txt"), QStringLiteral("secret.html")}) {
            QVERIFY(writeBytes(doc(name), "chut"));
            QFile::setPermissions(doc(name), QFile::WriteOwner);
            form->Memo1->setPlainText(QStringLiteral("gardé"));
            form->textTools()->OpenFileByPath(doc(name));
            QCOMPARE(bannerText(), kCannotOpen);
            QCOMPARE(textOf(form->Memo1), QStringLiteral("gardé"));
            dismissBanner();
        }
    }

    void pagesAndPicturesAreShownNotLoaded() {
        QTRY_VERIFY(form->codeOutput()->WebB != nullptr);
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(doc(QStringLiteral("Photo.JPG")), "PNG"));
        QVERIFY(writeBytes(doc(QStringLiteral("Accueil.HTM")), "<p>Caf\xE9 <b>ouvert</b></p>"));
        QVERIFY(writeBytes(doc(QStringLiteral("page.htmlx")), "<html><body>x</body></html>"));
        QVERIFY(writeBytes(doc(QStringLiteral("notes")), "juste des notes\nsur deux lignes"));
        form->Memo1->setPlainText(QStringLiteral("texte"));
        form->characterTable()->BoutCaracClick();
        QCOMPARE(int(form->OpenPanel), 3);

        form->textTools()->OpenFileByPath(doc(QStringLiteral("Accueil.HTM")));
        QCOMPARE(textOf(form->Memo1), QStringLiteral("texte"));
        QCOMPARE(int(form->OpenPanel), 0); // the pane is not left behind a panel
        QVERIFY(zktest::waitForBody(form->codeOutput()->WebB, QStringLiteral("ouvert"))
                    .contains(QStringLiteral("Café <b>ouvert</b>")));

        for (const QString& name : {QStringLiteral("Photo.JPG"), QStringLiteral("page.htmlx")}) {
            form->textTools()->OpenFileByPath(doc(name));
            QTRY_COMPARE(form->codeOutput()->WebB->url().toLocalFile(), doc(name));
            QCOMPARE(textOf(form->Memo1), QStringLiteral("texte"));
        }

        form->textTools()->OpenFileByPath(doc(QStringLiteral("notes")));
        QCOMPARE(textOf(form->Memo1), QStringLiteral("juste des notes\nsur deux lignes"));
        QVERIFY(!form->PanError->isVisible());
    }

    void pagesInTheWebBrowserWhenAskedTo() {
        QTemporaryDir bin;
        const QString record = bin.path() + QStringLiteral("/args.txt");
        const QString script = bin.path() + QStringLiteral("/browser.sh");
        QVERIFY(writeBytes(
            script, QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\n").arg(record).toUtf8()));
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray saved = qgetenv("BROWSER");
        qputenv("BROWSER", script.toUtf8());
        QVERIFY(writeBytes(doc(QStringLiteral("Mon site.HTM")), "<p>x</p>"));
        form->settings.PreviewInProgram = 0;
        form->settings.PreviewInNewWindow = 1;
        form->textTools()->OpenFileByPath(doc(QStringLiteral("Mon site.HTM")));
        QTRY_COMPARE(zktest::readFile(record), doc(QStringLiteral("Mon site.HTM")).toUtf8());
        if (saved.isEmpty())
            qunsetenv("BROWSER");
        else
            qputenv("BROWSER", saved);
    }

    void documentNamedOnTheCommandLine() {
        QVERIFY(writeBytes(doc(QStringLiteral("lettre.txt")), "Ch\xE8re L\xE9"
                                                              "a,\r\nbonjour"));
        form.reset();
        form = zktest::openWindow(*folder, true, {doc(QStringLiteral("lettre.txt"))});
        QCOMPARE(textOf(form->Memo1), QStringLiteral("Chère Léa,\nbonjour"));
        QCOMPARE(form->StartupStepsDone, 19);
        // A relative name is taken from the current folder.
        const QString cwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(docs.path()));
        form.reset();
        form = zktest::openWindow(*folder, true, {QStringLiteral("lettre.txt")});
        QDir::setCurrent(cwd);
        QCOMPARE(textOf(form->Memo1), QStringLiteral("Chère Léa,\nbonjour"));
        QCOMPARE(QString::fromStdString(form->settings.LastFolder), docs.path() + QLatin1Char('/'));
        // A name that does not exist: the message, an empty editor, a working window.
        form.reset();
        form = zktest::openWindow(*folder, true, {doc(QStringLiteral("absent.txt"))});
        QCOMPARE(form->StartupStepsDone, 19);
        QCOMPARE(bannerText(), kCannotOpen);
        QCOMPARE(textOf(form->Memo1), QString());
    }

    void savingAsTextOrHtml() {
        form->settings.LastFolder = folder->path().toStdString();
        form->Memo1->setPlainText(QStringLiteral("Chère Léa,\nà bientôt"));
        saveAs(QStringLiteral("lettre.old.txt"), kTextEntry);
        QCOMPARE(files.saveCalls, 1);
        QCOMPARE(files.caption, QStringLiteral("Sauver un fichier texte ou html"));
        QCOMPARE(files.dir, folder->path());
        QCOMPARE(files.filter,
                 kTextEntry + QStringLiteral("|*.txt|") + kHtmlEntry + QStringLiteral("|*.html"));
        QCOMPARE(files.filterOffered, kTextEntry);
        QVERIFY(!QFile::exists(doc(QStringLiteral("lettre.old.txt"))));
        QCOMPARE(zktest::readFile(doc(QStringLiteral("lettre.txt"))),
                 QByteArray("Ch\xE8re L\xE9"
                            "a,\r\n\xE0 bient\xF4t"));
        QCOMPARE(QString::fromStdString(form->settings.LastFolder), docs.path() + QLatin1Char('/'));

        // The HTML entry: the page is the wrapped fragment; the code view, which does not
        // carry it, keeps what it holds.
        form->codeOutput()->Memo2->setPlainText(QStringLiteral("vue du code"));
        QTest::mouseClick(form->styleCommands()->BoutFontGras, Qt::LeftButton);
        saveAs(QStringLiteral("lettre.txt"), kHtmlEntry);
        const QByteArray page = zktest::readFile(doc(QStringLiteral("lettre.html")));
        QVERIFY(page.startsWith("<html><head></head><font"));
        QVERIFY(page.endsWith("</html>"));
        QVERIFY2(page.contains("<b>Ch\xE8re L\xE9"
                               "a,<br>\xE0 bient\xF4t</b>"),
                 page.constData());
        QCOMPARE(textOf(form->codeOutput()->Memo2), QStringLiteral("vue du code"));
        // The page is the last fragment wrapped; the fragment itself is kept as it was made.
        QCOMPARE(QString::fromLatin1(page),
                 QStringLiteral("<html><head></head>") +
                     QString::fromStdString(form->codeOutput()->GeneratedCode()) +
                     QStringLiteral("</html>"));
        QVERIFY(form->codeOutput()->GeneratedCode().rfind("<font", 0) == 0);
        QVERIFY(files.replaceQuestions.isEmpty()); // new files: nothing to ask
        // Saved over an existing file, typed without its extension: the question names the
        // file really written, once; "no" keeps it as it was, "yes" replaces it.
        form->Memo1->setPlainText(QStringLiteral("court"));
        files.replaceAnswer = false;
        saveAs(QStringLiteral("lettre"), kTextEntry);
        QCOMPARE(files.replaceQuestions, QStringList{doc(QStringLiteral("lettre.txt"))});
        QCOMPARE(zktest::readFile(doc(QStringLiteral("lettre.txt"))),
                 QByteArray("Ch\xE8re L\xE9"
                            "a,\r\n\xE0 bient\xF4t"));
        files.replaceAnswer = true;
        files.replaceQuestions.clear();
        saveAs(QStringLiteral("lettre"), kTextEntry);
        QCOMPARE(files.replaceQuestions, QStringList{doc(QStringLiteral("lettre.txt"))});
        QCOMPARE(zktest::readFile(doc(QStringLiteral("lettre.txt"))), QByteArray("court"));
        QVERIFY(!form->PanError->isVisible());
    }

    void savingNothingOrCancellingWritesNothing() {
        const int beeps = zk::platform::beepCount();
        form->Memo1->clear();
        saveAs(QStringLiteral("vide.txt"), kTextEntry);
        QCOMPARE(zk::platform::beepCount(), beeps + 1);
        QCOMPARE(files.saveCalls, 0);
        form->Memo1->setPlainText(QStringLiteral("x"));
        form->settings.LastFolder = "/ici/";
        files.saveAnswer.clear();
        form->textTools()->BoutSauverClick();
        QCOMPARE(files.saveCalls, 1);
        QCOMPARE(form->settings.LastFolder, std::string("/ici/"));
        QCOMPARE(QDir(docs.path()).entryList(QDir::Files).size(), 0);
    }

    void everyCharacterSurvivesSaveAndOpen() {
        const QString text = QStringLiteral("Noël 👍🏽 日本\nfin\u00A0! e\u0301");
        form->Memo1->setPlainText(text);
        saveAs(QStringLiteral("emoji.txt"), kTextEntry);
        QCOMPARE(zktest::readFile(doc(QStringLiteral("emoji.txt"))),
                 QStringLiteral("Noël 👍🏽 日本\r\nfin\u00A0! e\u0301").toUtf8());
        form->textTools()->BoutNouveauClick();
        QCOMPARE(textOf(form->Memo1), QString());
        form->textTools()->OpenFileByPath(doc(QStringLiteral("emoji.txt")));
        QCOMPARE(textOf(form->Memo1), text);
        saveAs(QStringLiteral("emoji.txt"), kTextEntry);
        form->textTools()->OpenFileByPath(doc(QStringLiteral("emoji.txt")));
        QCOMPARE(textOf(form->Memo1), text);
        // As a page, characters outside the code page become references.
        saveAs(QStringLiteral("emoji.html"), kHtmlEntry);
        QVERIFY(zktest::readFile(doc(QStringLiteral("emoji.html")))
                    .contains("No\xEBl &#128077;&#127997; &#26085;&#26412;"));
    }

    void aFailedSaveSaysSoAndLeavesTheOldFileWhole() {
        // A name whose folder is a file: nothing can be created there.
        QVERIFY(writeBytes(doc(QStringLiteral("pas-un-dossier")), "x"));
        form->Memo1->setPlainText(QStringLiteral("texte"));
        saveAs(QStringLiteral("pas-un-dossier/lettre.txt"), kTextEntry);
        QCOMPARE(bannerText(), QStringLiteral("\nERREUR en écriture"));
        dismissBanner();

        // A document its owner made read-only is left as it is.
        QVERIFY(writeBytes(doc(QStringLiteral("protégé.txt")), "à garder"));
        QVERIFY(QFile::setPermissions(doc(QStringLiteral("protégé.txt")),
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        saveAs(QStringLiteral("protégé.txt"), kTextEntry);
        QCOMPARE(bannerText(), QStringLiteral("\nERREUR en écriture"));
        QCOMPARE(zktest::readFile(doc(QStringLiteral("protégé.txt"))), QByteArray("à garder"));
        dismissBanner();
        QVERIFY(QFile::remove(doc(QStringLiteral("protégé.txt"))));

        // The disk fills up in the middle of the write: the file keeps its old content.
        const QByteArray old("l'ancienne version, entière");
        QVERIFY(writeBytes(doc(QStringLiteral("lettre.txt")), old));
        form->Memo1->setPlainText(QString(4000, QLatin1Char('z')));
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        saveAs(QStringLiteral("lettre.txt"), kTextEntry);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        QCOMPARE(bannerText(), QStringLiteral("\nERREUR en écriture"));
        QCOMPARE(zktest::readFile(doc(QStringLiteral("lettre.txt"))), old);
        QCOMPARE(QDir(docs.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void editCommandsOnMemo1() {
        form->Memo1->setPlainText(QStringLiteral("un\u00A0deux 👍🏽 trois"));
        // Cut and paste keep every character, no-break spaces included.
        form->textTools()->UndoFromClipboard = 1;
        select(form->Memo1, 0, 12);
        QTest::mouseClick(form->BoutCouper, Qt::LeftButton);
        QCOMPARE(int(form->textTools()->UndoFromClipboard), 0);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("un\u00A0deux 👍🏽"));
        QCOMPARE(textOf(form->Memo1), QStringLiteral(" trois"));
        form->Memo1->moveCursor(QTextCursor::End);
        form->textTools()->UndoFromClipboard = 1;
        QTest::mouseClick(form->BoutColler, Qt::LeftButton);
        QCOMPARE(int(form->textTools()->UndoFromClipboard), 0);
        QCOMPARE(textOf(form->Memo1), QStringLiteral(" troisun\u00A0deux 👍🏽"));
        // The editor's own undo.
        QTest::mouseClick(form->BoutUndo, Qt::LeftButton);
        QCOMPARE(textOf(form->Memo1), QStringLiteral(" trois"));
        // Select all, from the context menu.
        form->ToutSelectionner1->trigger();
        QTRY_VERIFY(form->Memo1->hasFocus());
        QCOMPARE(form->Memo1->textCursor().selectedText(), QStringLiteral(" trois"));
        // New empties the editor and goes back to the editor's own undo, which can bring
        // the text back.
        form->textTools()->UndoFromClipboard = 1;
        QTest::mouseClick(form->BoutNouveau, Qt::LeftButton);
        QCOMPARE(textOf(form->Memo1), QString());
        QCOMPARE(int(form->textTools()->UndoFromClipboard), 0);
        form->textTools()->BoutUndoClick();
        QCOMPARE(textOf(form->Memo1), QStringLiteral(" trois"));
        // Copy with nothing selected leaves the clipboard as it was.
        zk::platform::setClipboardText(QStringLiteral("garde"));
        select(form->Memo1, 2, 2);
        form->Copier1->trigger();
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("garde"));
        // The editor's own Ctrl+C and Ctrl+X keep no-break spaces too.
        form->Memo1->setPlainText(QStringLiteral("a\u00A0b\nc"));
        form->Memo1->selectAll();
        QTest::keyClick(form->Memo1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("a\u00A0b\nc"));
        QTest::keyClick(form->Memo1, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("a\u00A0b\nc"));
        QCOMPARE(textOf(form->Memo1), QString());
    }

    void editCommandsActOnTheCodeViewWhileItIsShown() {
        form->Memo1->setPlainText(QStringLiteral("texte"));
        form->codeOutput()->BoutCodeClick();
        QCOMPARE(int(form->OpenPanel), 8);
        const QString code = textOf(form->codeOutput()->Memo2);
        QVERIFY(code.contains(QStringLiteral("texte")));
        form->textTools()->UndoFromClipboard = 1;
        form->textTools()->ToutSelectionner1Click();
        QTRY_VERIFY(form->codeOutput()->Memo2->hasFocus());
        QCOMPARE(form->codeOutput()->Memo2->textCursor().selectedText(), code);
        form->textTools()->BoutCopierClick();
        QCOMPARE(zk::platform::clipboardText(), code);
        form->textTools()->BoutCouperClick();
        QCOMPARE(textOf(form->codeOutput()->Memo2), QString());
        form->textTools()->BoutCollerClick();
        QCOMPARE(textOf(form->codeOutput()->Memo2), code);
        form->textTools()->BoutUndoClick(); // the code view's own undo takes the paste back
        QCOMPARE(textOf(form->codeOutput()->Memo2), QString());
        QCOMPARE(textOf(form->Memo1), QStringLiteral("texte"));
        QCOMPARE(zk::platform::clipboardText(), code);
        QCOMPARE(int(form->textTools()->UndoFromClipboard), 1);
        // New still empties Memo1.
        form->textTools()->BoutNouveauClick();
        QCOMPARE(textOf(form->Memo1), QString());
        QCOMPARE(textOf(form->codeOutput()->Memo2), QString());
    }
};

ZK_WINDOW_TEST_MAIN(TextFilesTest)
#include "text_files_test.moc"
