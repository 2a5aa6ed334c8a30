// Start-up from the Data tree and the settings file, and the save at the end.
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <functional>
#include <sys/stat.h>

#include "autostart.h"
#include "style_commands.h"
#include "tray.h"
#include "window_test_support.h"

using zktest::AppFolder;

namespace {

bool anyChecked(TForm1* f, const QString& letter, int first, int last) {
    for (int i = first; i <= last; ++i)
        if (f->MenuItem(letter + QString::number(i))->isChecked())
            return true;
    return false;
}

} // namespace

class StartupTest final : public QObject {
    Q_OBJECT

private slots:
    void init() { zktest::dialogs() = zktest::FakeDialogs(); }

    void noSettingsFileKeepsTheDefaults() {
        AppFolder folder;
        auto form = zktest::openWindow(folder, false);
        QCOMPARE(form->StartupStepsDone, 19);
        QVERIFY(!form->EndRequested);
        QVERIFY(!form->PanError->isVisible());
        QCOMPARE(form->pos(), QPoint(236, 164));
        QVERIFY(form->ShowHint);
        QCOMPARE(int(form->settings.PreviewInProgram), 1);
        QCOMPARE(int(form->settings.fmt.SignatureSizeIndex), 6);
        QVERIFY(form->MenuItem(QStringLiteral("T0"))->isChecked());
        QCOMPARE(form->settings.fmt.FontFace, std::string("Abadi MT Condensed"));
        QVERIFY(form->MenuItem(QStringLiteral("H6"))->isChecked());
        QVERIFY(form->MenuItem(QStringLiteral("P1"))->isChecked());
        QVERIFY(form->styleCommands()->BoutAlignGauche->isChecked());
        QVERIFY(!form->BoutTop->isChecked());
        QCOMPARE(form->settings.LastFolder, folder.path().toStdString());
        QVERIFY(form->findChild<QLabel*>(QStringLiteral("CH223")));
        QVERIFY(zktest::dialogs().errors.isEmpty());
    }

    void settingsAreKeptToTheNextStart() {
        AppFolder folder;
        {
            auto form = zktest::openWindow(folder);
            QTest::mouseClick(form->styleCommands()->BoutFontGras, Qt::LeftButton);
            QTest::mouseClick(form->styleCommands()->BoutFontBarre, Qt::LeftButton);
            QTest::mouseClick(form->styleCommands()->BoutAlignDroite, Qt::LeftButton);
            QTest::mouseClick(form->styleCommands()->BoutDegrade, Qt::LeftButton);
            QTest::mouseClick(form->styleCommands()->BoutNoBal, Qt::LeftButton);
            QTest::mouseClick(form->BoutTop, Qt::LeftButton);
            form->MenuItem(QStringLiteral("H3"))->trigger();
            form->MenuItem(QStringLiteral("T1"))->trigger();
            form->move(300, 200);
            QTRY_COMPARE(form->pos(), QPoint(300, 200));
            form->close();
            QVERIFY(!form->isVisible());
        }
        const QList<QByteArray> lines = folder.settingsLines();
        QCOMPARE(lines.size(), 59);
        for (const QByteArray& line : lines)
            QVERIFY(line.endsWith('\r'));
        QCOMPARE(lines[1], QByteArray("300\r"));
        QCOMPARE(lines[2], QByteArray("200\r"));

        auto form = zktest::openWindow(folder);
        QCOMPARE(form->pos(), QPoint(300, 200));
        QVERIFY(form->styleCommands()->BoutFontGras->isChecked());
        QVERIFY(!form->styleCommands()->BoutFontItalique->isChecked());
        QVERIFY(form->styleCommands()->BoutFontBarre->isChecked());
        QCOMPARE(int(form->settings.fmt.StrikeOut), 8);
        QVERIFY(form->styleCommands()->BoutAlignDroite->isChecked());
        QVERIFY(!form->styleCommands()->BoutAlignGauche->isChecked());
        QVERIFY(form->styleCommands()->BoutDegrade->isChecked());
        QVERIFY(form->styleCommands()->BoutNoBal->isChecked());
        QVERIFY(form->BoutTop->isChecked());
        QVERIFY(form->IsTopmost());
        QVERIFY(form->MenuItem(QStringLiteral("H3"))->isChecked());
        QVERIFY(!form->MenuItem(QStringLiteral("H6"))->isChecked());
        QVERIFY(form->MenuItem(QStringLiteral("T1"))->isChecked());
        QCOMPARE(form->settings.fmt.FontFace, std::string("Arial"));
        QCOMPARE(form->characterTable()->Panel3->font().family(), QStringLiteral("Arial"));
        // The saved state reaches the code (with the text tags back on).
        QTest::mouseClick(form->styleCommands()->BoutNoBal, Qt::LeftButton);
        form->Memo1->setPlainText(QStringLiteral("x"));
        form->codeOutput()->BoutClipBoardClick();
        QVERIFY(form->codeOutput()->GeneratedCode().find("face=\"Arial\"") != std::string::npos);
        QVERIFY(form->codeOutput()->GeneratedCode().find("<b><s>") != std::string::npos ||
                form->codeOutput()->GeneratedCode().find("<s><b>") != std::string::npos);
    }

    void valuesReadFromTheFile() {
        struct Case {
            const char* what;
            QMap<int, QByteArray> lines;
            std::function<void(TForm1*)> check;
        };
        const Case cases[] = {
            {"always-on-top 2 leaves the window alone",
             {{19, "2"}},
             [](TForm1* f) {
                 QVERIFY(!f->BoutTop->isChecked());
                 QVERIFY(!f->IsTopmost());
             }},
            {"always-on-top 1",
             {{19, "1"}},
             [](TForm1* f) {
                 QVERIFY(f->BoutTop->isChecked());
                 QVERIFY(f->IsTopmost());
             }},
            {"face index 30 checks nothing",
             {{4, "30"}},
             [](TForm1* f) {
                 QVERIFY(!anyChecked(f, QStringLiteral("T"), 0, 23));
                 QCOMPARE(f->settings.fmt.FontFace, std::string("Verdana"));
             }},
            {"size index 0 checks nothing",
             {{5, "0"}},
             [](TForm1* f) { QVERIFY(!anyChecked(f, QStringLiteral("H"), 1, 7)); }},
            {"preset 7 checks P8",
             {{18, "7"}},
             [](TForm1* f) { QVERIFY(f->MenuItem(QStringLiteral("P8"))->isChecked()); }},
            {"tooltips off", {{30, "0"}}, [](TForm1* f) { QVERIFY(!f->ShowHint); }},
            {"position",
             {{2, "-20"}, {3, "40"}},
             [](TForm1* f) { QCOMPARE(f->pos(), QPoint(-20, 40)); }},
            {"styles and effects",
             {{6, "1"}, {7, "2"}, {20, "1"}, {21, "1"}, {22, "1"}, {17, "1"}},
             [](TForm1* f) {
                 QVERIFY(f->styleCommands()->BoutFontGras->isChecked());
                 QVERIFY(f->styleCommands()->BoutFontItalique->isChecked());
                 QVERIFY(f->styleCommands()->BoutSign->isChecked());
                 QVERIFY(f->styleCommands()->BoutScroll->isChecked());
                 QVERIFY(f->styleCommands()->BoutVague->isChecked());
                 QVERIFY(f->styleCommands()->BoutAlignCentre->isChecked());
             }},
        };
        for (const Case& c : cases) {
            AppFolder folder;
            folder.writeSettings(c.lines);
            auto form = zktest::openWindow(folder, false);
            QVERIFY2(form->StartupStepsDone == 19, c.what);
            c.check(form.get());
            if (QTest::currentTestFailed())
                qWarning("failed case: %s", c.what);
        }
    }

    void badSettingsLineStopsTheStartUp() {
        AppFolder folder;
        // Lines 1 to 4 read, line 5 is not a number.
        folder.writeSettings({{2, "300"}, {4, "1"}, {5, "12abc"}, {19, "1"}, {32, "ma signature"}});
        const QByteArray original = zktest::readFile(folder.settingsPath());
        const QString backup = folder.settingsPath() + QStringLiteral(".bak");
        auto form = zktest::openWindow(folder);
        // The file is kept as it was before anything is written over it, and the message
        // says where, so that it can be mended by hand.
        QCOMPARE(
            zktest::dialogs().errors,
            QStringList{QStringLiteral("Invalid numeric input\r\n\r\nLe fichier a été gardé tel "
                                       "quel sous le nom :\r\n") +
                        backup});
        QCOMPARE(zktest::readFile(backup), original);
        QCOMPARE(form->StartupStepsDone, 6);
        QCOMPARE(form->settings.WindowLeft, 300); // read, but the window stays where it was
        QCOMPARE(form->pos(), QPoint(236, 164));
        QVERIFY(!form->findChild<QLabel*>(QStringLiteral("CH0"))); // no character table
        QVERIFY(!anyChecked(form.get(), QStringLiteral("T"), 0, 23));
        QVERIFY(!form->IsTopmost());
        QVERIFY(!form->EndRequested);
        // The window still opens and works.
        QVERIFY(form->isVisible());
        zktest::typeText(form->Memo1, QStringLiteral("ça marche"));
        QTest::keyClick(form->Memo1, Qt::Key_F12);
        QVERIFY(zktest::waitForBody(form->codeOutput()->WebB, QStringLiteral("marche"))
                    .contains(QStringLiteral("ça marche")));
        // The next shutdown rewrites the whole file, and the next start reads it.
        form->close();
        form.reset();
        QCOMPARE(folder.settingsLines().size(), 59);
        QCOMPARE(zktest::readFile(backup), original); // the signature is still there to copy
        zktest::dialogs().errors.clear();
        auto again = zktest::openWindow(folder, false);
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QCOMPARE(again->StartupStepsDone, 19);
        QCOMPARE(zktest::readFile(backup), original);
    }

    // When no copy can be kept (a folder stands where it goes), the file is not written over.
    void unreadSettingsWithoutACopyAreNotWrittenOver() {
        AppFolder folder;
        folder.writeSettings({{5, "x"}});
        const QByteArray original = zktest::readFile(folder.settingsPath());
        QVERIFY(QDir().mkpath(folder.settingsPath() + QStringLiteral(".bak")));
        auto form = zktest::openWindow(folder);
        QCOMPARE(zktest::dialogs().errors, QStringList{QStringLiteral("Invalid numeric input")});
        zktest::dialogs().errors.clear();
        form->close();
        QCOMPARE(zktest::dialogs().errors,
                 QStringList{QStringLiteral("ERREUR en écriture\r\n") + folder.settingsPath()});
        QCOMPARE(zktest::readFile(folder.settingsPath()), original);
        QVERIFY(!form->isVisible());
    }

    // Only an ordinary file of a sensible size is read: a named pipe or a device never
    // hangs the start, and a file too large to be settings leaves the defaults.
    void settingsThatAreNoOrdinaryFileOrTooLarge() {
        struct Case {
            const char* what;
            std::function<bool(const AppFolder&)> make;
            bool kept; // an ordinary file: a copy is kept before the close writes over it
        } const cases[] = {
            {"a named pipe",
             [](const AppFolder& f) {
                 return ::mkfifo(QFile::encodeName(f.settingsPath()).constData(), 0644) == 0;
             },
             false},
            {"a link to /dev/zero",
             [](const AppFolder& f) {
                 return QFile::link(QStringLiteral("/dev/zero"), f.settingsPath());
             },
             false},
            {"1 MiB and one byte",
             [](const AppFolder& f) {
                 QFile file(f.settingsPath());
                 return file.open(QIODevice::WriteOnly) && file.resize(zk::kSettingsSizeLimit + 1);
             },
             true},
        };
        for (const Case& c : cases) {
            zktest::dialogs().errors.clear();
            AppFolder folder;
            QVERIFY2(c.make(folder), c.what);
            auto form = zktest::openWindow(folder, false);
            QVERIFY2(form->StartupStepsDone == 19, c.what);
            QVERIFY2(zktest::dialogs().errors.isEmpty(), c.what);
            QCOMPARE(form->pos(), QPoint(236, 164));
            const QString backup = folder.settingsPath() + QStringLiteral(".bak");
            QCOMPARE(QFileInfo(backup).size(), c.kept ? qint64(zk::kSettingsSizeLimit + 1) : 0);
        }
    }

    void settingsFileThroughASymbolicLink() {
        AppFolder folder;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.path() + QStringLiteral("/mes-réglages.ini");
        folder.writeSettings({{6, "1"}});
        QVERIFY(QFile::rename(folder.settingsPath(), target));
        QVERIFY(QFile::link(target, folder.settingsPath()));
        auto form = zktest::openWindow(folder);
        QVERIFY(form->styleCommands()->BoutFontGras->isChecked()); // read through the link
        QTest::mouseClick(form->styleCommands()->BoutFontItalique, Qt::LeftButton);
        form->close();
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QVERIFY(QFileInfo(folder.settingsPath()).isSymLink());
        const QList<QByteArray> lines = zktest::readFile(target).split('\n');
        QCOMPARE(lines.size(), 60);
        QCOMPARE(lines[5], QByteArray("1\r"));
        QCOMPARE(lines[6], QByteArray("2\r"));
        QCOMPARE(QDir(folder.file(QStringLiteral("Data/Bin"))).entryList(QDir::Files),
                 (QStringList{QStringLiteral("Options.ini"), QStringLiteral("ZelkoHTML.ini")}));
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("mes-réglages.ini")});
    }

    // What saves cut short left behind is removed at start; nothing else is.
    void staleTemporaryFilesAreRemovedAtStart() {
        AppFolder folder;
        const QStringList stale = {QStringLiteral("Data/Bin/ZelkoHTML.ini.k3J9aQ"),
                                   QStringLiteral("Data/Bin/Options.ini.Qw3rty"),
                                   QStringLiteral("Data/Listes/grande.lst.Zz09aB"),
                                   QStringLiteral("Data/Presets/ZelkoHTML1.cfg.abcdef")};
        const QStringList kept = {QStringLiteral("Data/Bin/notes.txt.k3J9aQ"),
                                  QStringLiteral("Data/Listes/grande.lst"),
                                  QStringLiteral("Data/Bin/ZelkoHTML.ini.k3J9a")};
        for (const QString& f : stale + kept) {
            QFile file(folder.file(f));
            QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(f));
            file.write("x");
        }
        auto form = zktest::openWindow(folder, false);
        for (const QString& f : stale)
            QVERIFY2(!QFileInfo::exists(folder.file(f)), qPrintable(f));
        for (const QString& f : kept)
            QVERIFY2(QFileInfo::exists(folder.file(f)), qPrintable(f));
    }

    // A settings file its owner made read-only stays as it is, and the close says so.
    void readOnlySettingsFileIsNotReplaced() {
        ZK_WINDOW_AS_ORDINARY_USER();
        AppFolder folder;
        folder.writeSettings({{6, "1"}});
        const QByteArray original = zktest::readFile(folder.settingsPath());
        QVERIFY(QFile::setPermissions(folder.settingsPath(),
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        auto form = zktest::openWindow(folder);
        QTest::mouseClick(form->styleCommands()->BoutFontItalique, Qt::LeftButton);
        form->close();
        QCOMPARE(zktest::dialogs().errors,
                 QStringList{QStringLiteral("ERREUR en écriture\r\n") + folder.settingsPath()});
        QCOMPARE(zktest::readFile(folder.settingsPath()), original);
        QCOMPARE(QDir(folder.file(QStringLiteral("Data/Bin"))).entryList(QDir::Files),
                 (QStringList{QStringLiteral("Options.ini"), QStringLiteral("ZelkoHTML.ini")}));
        QVERIFY(!form->isVisible());
    }

    void firstStartInAnEmptyFolder() {
        AppFolder folder(false);
        auto form = zktest::openWindow(folder, false);
        for (const char* f : zktest::kDataFolders)
            QVERIFY2(QFileInfo(folder.file(QLatin1String(f))).isDir(), f);
        QVERIFY(form->PanError->isVisible() || form->LabError->text().size() > 0);
        QCOMPARE(form->LabError->text(),
                 QStringLiteral("ATTENTION, certains fichiers sont introuvables !\nRéinstallez "
                                "correctement ZelkoHTML"));
        QVERIFY(form->EndRequested);
        QCOMPARE(folder.settingsLines().size(), 59); // written by the close
        QCOMPARE(form->StartupStepsDone, 19);        // the start-up still ran to its end
        form.reset();
        // The next start runs normally.
        auto again = zktest::openWindow(folder, false);
        QVERIFY(!again->EndRequested);
        QVERIFY(again->LabError->text().isEmpty());
    }

    void partOfTheTreeIsCreatedSilently() {
        AppFolder folder(false);
        QVERIFY(QDir().mkpath(folder.file(QStringLiteral("Data"))));
        auto form = zktest::openWindow(folder, false);
        for (const char* f : zktest::kDataFolders)
            QVERIFY2(QFileInfo(folder.file(QLatin1String(f))).isDir(), f);
        QVERIFY(!form->EndRequested);
        QVERIFY(form->LabError->text().isEmpty());
    }

    void startAtLogOnShowsOnlyTheTray() {
        AppFolder folder;
        folder.writeSettings({{27, "1"}});
        auto form = zktest::openWindow(folder, false);
        form->ShowAtStart();
        if (form->TrayAvailable()) {
            QVERIFY(!form->isVisible());
            QVERIFY(form->Tray->isVisible());
            form->TrayDblClick();
            QVERIFY(form->isVisible());
        } else {
            // No notification area: minimised on the task bar, never out of reach.
            QTRY_VERIFY(form->isMinimized());
            form->RaiseFromOtherCopy();
            QTRY_VERIFY(!form->isMinimized());
        }
        AppFolder plain;
        auto shown = zktest::openWindow(plain, false);
        shown->ShowAtStart();
        QVERIFY(shown->isVisible());
        QVERIFY(!shown->isMinimized());
    }

    void quitFromTheTrayMenuSaves() {
        AppFolder folder;
        auto form = zktest::openWindow(folder);
        QSignalSpy ended(form.get(), &TForm1::endRequested);
        QTest::mouseClick(form->styleCommands()->BoutFontItalique, Qt::LeftButton);
        form->QuitterTray->trigger();
        QCOMPARE(form->LastCommand, QStringLiteral("QuitterTrayClick"));
        QVERIFY(form->EndRequested);
        QCOMPARE(ended.size(), 1);
        QVERIFY(!form->isVisible());
        const QList<QByteArray> lines = folder.settingsLines();
        QCOMPARE(lines.size(), 59);
        QCOMPARE(lines[6], QByteArray("2\r"));
    }

    void logOnEntryFollowsTheSetting() {
        AppFolder folder;
        const QString entry =
            zk::platform::autostartEntryPath(QCoreApplication::applicationFilePath());
        QFile::remove(entry);
        {
            auto form = zktest::openWindow(folder, false);
            form->settings.StartAtLogon = 1;
            form->close();
        }
        QVERIFY(QFile::exists(entry));
        QVERIFY(zktest::readFile(entry).contains(
            "Exec=" + QFile::encodeName(QCoreApplication::applicationFilePath())));
        {
            auto form = zktest::openWindow(folder, false);
            QCOMPARE(int(form->settings.StartAtLogon), 1);
            form->settings.StartAtLogon = 0;
            form->close();
        }
        QVERIFY(!QFile::exists(entry));
    }

    // The options live in a file of their own, read at start and written at close; lines
    // of other versions of the program are kept.
    void optionsAreKeptToTheNextStart() {
        AppFolder folder;
        folder.writeOptions("CompactCode=1\r\nLater=gardé\r\n");
        {
            auto form = zktest::openWindow(folder);
            QCOMPARE(int(form->options.CompactCode), 1);
            QCOMPARE(int(form->options.OutputFormat), 0);
            form->options.OutputFormat = 2;
            form->close();
        }
        QVERIFY(zktest::dialogs().errors.isEmpty());
        const QByteArray written = zktest::readFile(folder.optionsPath());
        QVERIFY(written.startsWith("OutputFormat=2\r\nCompactCode=1\r\n"));
        QVERIFY(written.endsWith("\r\nLater=gard\xE9\r\n"));
        QCOMPARE(folder.settingsLines().size(), 59); // the settings file keeps its shape
        QVERIFY(!QFileInfo::exists(folder.optionsPath() + QStringLiteral(".bak")));
        auto form = zktest::openWindow(folder);
        QCOMPARE(int(form->options.OutputFormat), 2);
        QCOMPARE(form->options.OtherLines, std::vector<std::string>{"Later=gardé"});
    }

    // A value the options cannot take gives the default without a box; the file as it was
    // is kept beside it before the close writes over it.
    void optionsValueOutOfRangeGivesTheDefaultAndTheFileIsKept() {
        AppFolder folder;
        folder.writeOptions("OutputFormat=7\r\nLivePreview=0\r\n");
        const QByteArray original = zktest::readFile(folder.optionsPath());
        const QString backup = folder.optionsPath() + QStringLiteral(".bak");
        auto form = zktest::openWindow(folder, false);
        QCOMPARE(form->StartupStepsDone, 19);
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QCOMPARE(int(form->options.OutputFormat), 0);
        QCOMPARE(int(form->options.LivePreview), 0);
        QCOMPARE(zktest::readFile(backup), original);
        form->close();
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QVERIFY(zktest::readFile(folder.optionsPath()).startsWith("OutputFormat=0\r\n"));
        QCOMPARE(zktest::readFile(backup), original);
    }

    // A save that fails while the window closes is shown in a box that stays until it is
    // read, naming the file; the close then goes on.
    void settingsFileThatCannotBeWrittenAtClose() {
        struct Case {
            const char* what;
            std::function<bool(const AppFolder&)> block;
            bool settings; // the settings file fails
            bool options;  // the options file fails
        } const cases[] = {
            {"a folder in the settings file's place",
             [](const AppFolder& f) { return QDir().mkpath(f.settingsPath()); }, true, false},
            {"a folder in the options file's place",
             [](const AppFolder& f) { return QDir().mkpath(f.optionsPath()); }, false, true},
            {"Data/Bin a file",
             [](const AppFolder& f) {
                 QFile blocker(f.file(QStringLiteral("Data/Bin")));
                 return QDir(f.file(QStringLiteral("Data/Bin"))).removeRecursively() &&
                        blocker.open(QIODevice::WriteOnly);
             },
             true, true},
            {"no Data folder",
             [](const AppFolder& f) {
                 return QDir(f.file(QStringLiteral("Data"))).removeRecursively();
             },
             true, true},
        };
        for (const Case& c : cases) {
            zktest::dialogs().errors.clear();
            AppFolder folder;
            auto form = zktest::openWindow(folder);
            zktest::typeText(form->Memo1, QStringLiteral("gardé"));
            QVERIFY2(c.block(folder), c.what);
            form->close();
            // One box says every file that could not be written.
            QStringList failed;
            if (c.settings)
                failed << QStringLiteral("ERREUR en écriture\r\n") + folder.settingsPath();
            if (c.options)
                failed << QStringLiteral("ERREUR en écriture\r\n") + folder.optionsPath();
            QCOMPARE(zktest::dialogs().errors,
                     QStringList{failed.join(QStringLiteral("\r\n\r\n"))});
            QVERIFY2(form->LabError->text().isEmpty(), c.what); // no banner on a closing window
            QVERIFY2(!form->isVisible(), c.what);               // the window closes all the same
            QVERIFY2(!form->Tray->isVisible(), c.what);
            QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("gardé"));
        }
    }

    void failedSaveFromTheTrayMenuIsShownOnce() {
        AppFolder folder;
        auto form = zktest::openWindow(folder);
        QVERIFY(QDir().mkpath(folder.settingsPath()));
        form->QuitterTray->trigger(); // saves, then closes, which saves again
        QCOMPARE(zktest::dialogs().errors,
                 QStringList{QStringLiteral("ERREUR en écriture\r\n") + folder.settingsPath()});
        QVERIFY(!form->isVisible());
    }

    void logOnEntryThatCannotBeWritten() {
        AppFolder folder;
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        QTemporaryDir blocked;
        QFile file(blocked.path() + QStringLiteral("/config"));
        QVERIFY(file.open(QIODevice::WriteOnly)); // a file where the folder should be
        file.close();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(file.fileName()));
        auto form = zktest::openWindow(folder);
        const bool trayShown = form->Tray->isVisible();
        form->settings.StartAtLogon = 1;
        form->close();
        qputenv("XDG_CONFIG_HOME", saved);
        QCOMPARE(zktest::dialogs().errors.size(), 1);
        QCOMPARE(zktest::dialogs().errors[0],
                 QStringLiteral("Failed to set data for '%1'")
                     .arg(zk::platform::autostartEntryName(
                         QFileInfo(QCoreApplication::applicationFilePath()).fileName())));
        QCOMPARE(form->Tray->isVisible(), trayShown); // the icon is not removed
        QCOMPARE(folder.settingsLines().size(), 59);  // the settings were written before
        QVERIFY(!form->isVisible());
    }
};

ZK_WINDOW_TEST_MAIN(StartupTest)
#include "startup_test.moc"
