// Start-up from the Data tree and the settings file, and the save at the end.
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <functional>

#include "autostart.h"
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
        QVERIFY(form->BoutAlignGauche->isChecked());
        QVERIFY(!form->BoutTop->isChecked());
        QCOMPARE(form->settings.LastFolder, folder.path().toStdString());
        QVERIFY(form->findChild<QLabel*>(QStringLiteral("CH223")));
        QVERIFY(zktest::dialogs().errors.isEmpty());
    }

    void settingsAreKeptToTheNextStart() {
        AppFolder folder;
        {
            auto form = zktest::openWindow(folder);
            QTest::mouseClick(form->BoutFontGras, Qt::LeftButton);
            QTest::mouseClick(form->BoutFontBarre, Qt::LeftButton);
            QTest::mouseClick(form->BoutAlignDroite, Qt::LeftButton);
            QTest::mouseClick(form->BoutDegrade, Qt::LeftButton);
            QTest::mouseClick(form->BoutNoBal, Qt::LeftButton);
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
        QVERIFY(form->BoutFontGras->isChecked());
        QVERIFY(!form->BoutFontItalique->isChecked());
        QVERIFY(form->BoutFontBarre->isChecked());
        QCOMPARE(int(form->settings.fmt.StrikeOut), 8);
        QVERIFY(form->BoutAlignDroite->isChecked());
        QVERIFY(!form->BoutAlignGauche->isChecked());
        QVERIFY(form->BoutDegrade->isChecked());
        QVERIFY(form->BoutNoBal->isChecked());
        QVERIFY(form->BoutTop->isChecked());
        QVERIFY(form->IsTopmost());
        QVERIFY(form->MenuItem(QStringLiteral("H3"))->isChecked());
        QVERIFY(!form->MenuItem(QStringLiteral("H6"))->isChecked());
        QVERIFY(form->MenuItem(QStringLiteral("T1"))->isChecked());
        QCOMPARE(form->settings.fmt.FontFace, std::string("Arial"));
        QCOMPARE(form->Panel3->font().family(), QStringLiteral("Arial"));
        // The saved state reaches the code (with the text tags back on).
        QTest::mouseClick(form->BoutNoBal, Qt::LeftButton);
        form->Memo1->setPlainText(QStringLiteral("x"));
        form->BoutClipBoardClick();
        QVERIFY(form->GeneratedCode.find("face=\"Arial\"") != std::string::npos);
        QVERIFY(form->GeneratedCode.find("<b><s>") != std::string::npos ||
                form->GeneratedCode.find("<s><b>") != std::string::npos);
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
                 QVERIFY(f->BoutFontGras->isChecked());
                 QVERIFY(f->BoutFontItalique->isChecked());
                 QVERIFY(f->BoutSign->isChecked());
                 QVERIFY(f->BoutScroll->isChecked());
                 QVERIFY(f->BoutVague->isChecked());
                 QVERIFY(f->BoutAlignCentre->isChecked());
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
        folder.writeSettings({{2, "300"}, {4, "1"}, {5, "12abc"}, {19, "1"}});
        auto form = zktest::openWindow(folder);
        QCOMPARE(zktest::dialogs().errors, QStringList{QStringLiteral("Invalid numeric input")});
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
        QVERIFY(zktest::waitForBody(form->WebB, QStringLiteral("marche"))
                    .contains(QStringLiteral("ça marche")));
        // The next shutdown rewrites the whole file, and the next start reads it.
        form->close();
        form.reset();
        QCOMPARE(folder.settingsLines().size(), 59);
        zktest::dialogs().errors.clear();
        auto again = zktest::openWindow(folder, false);
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QCOMPARE(again->StartupStepsDone, 19);
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
        QTest::mouseClick(form->BoutFontItalique, Qt::LeftButton);
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

    void settingsFileThatCannotBeWritten() {
        AppFolder folder;
        auto form = zktest::openWindow(folder);
        zktest::typeText(form->Memo1, QStringLiteral("gardé"));
        // Data/Bin is a file: the settings cannot be created.
        QVERIFY(QDir(folder.file(QStringLiteral("Data/Bin"))).removeRecursively());
        QFile blocker(folder.file(QStringLiteral("Data/Bin")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        form->close();
        QCOMPARE(form->LabError->text(), QStringLiteral("\nERREUR en écriture"));
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QVERIFY(!form->isVisible()); // the window closes all the same
        QVERIFY(!form->Tray->isVisible());
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("gardé"));
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
