// Start-up and shutdown of the window: the Data tree, the saved state, the controls that
// mirror it, and the save at the end.
#include "main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QWebEngineView>

#include "autostart.h"
#include "dialogs.h"
#include "tray.h"

namespace {

// Created in this order; a start that had to create every one of them has no Data tree.
const char* const kDataFolders[] = {
    "Data",         "Data/Bin",  "Data/Listes", "Data/Listes/BakListes",
    "Data/Presets", "Data/Temp", "Data/Aide"};

} // namespace

QString TForm1::SettingsPath() const {
    return AppFolder + QStringLiteral("Data/Bin/ZelkoHTML.ini");
}

void TForm1::FormCreate(const QStringList& args) {
    settings.LastFolder = QFile::encodeName(AppFolder).toStdString();
    StartupStepsDone = 1;

    bool createdAll = true;
    for (const char* folder : kDataFolders) {
        if (!QDir().mkdir(AppFolder + QLatin1String(folder)))
            createdAll = false;
    }
    if (createdAll) {
        ShowError(QStringLiteral("ATTENTION, certains fichiers sont introuvables !\r\n"
                                 "Réinstallez correctement ZelkoHTML"));
        RequestEnd();
        close(); // writes the settings into the new Data/Bin; the start-up goes on
    }
    StartupStepsDone = 2;

    settings.WindowLeft = 236;
    settings.WindowTop = 164;
    move(settings.WindowLeft, settings.WindowTop);
    StartupStepsDone = 3;

    settings.fmt.Bold = 0;
    settings.fmt.Italic = 0;
    settings.fmt.Underline = 0;
    settings.fmt.StrikeOut = 0;
    StartupStepsDone = 4;

    WritePreviewPage();
    ShowInBrowserPane(PreviewPagePath());
    StartupStepsDone = 5;

    ListImg->setAcceptDrops(true);
    StartupStepsDone = 6;

    const zk::LoadResult loaded =
        zk::LoadSettings(QFile::encodeName(SettingsPath()).toStdString(), settings);
    if (loaded.status == zk::LoadResult::InvalidNumber) {
        // The rest of the start-up is not done; the window still opens and works.
        zk::platform::dialogs().runtimeError(this, QString::fromLatin1(zk::kInvalidNumericInput));
        return;
    }
    StartupStepsDone = 7;

    move(settings.WindowLeft, settings.WindowTop);
    StartupStepsDone = 8;
    SetShowHint(settings.ShowHints == 1);
    StartupStepsDone = 9;
    BuildCharacterTable();
    StartupStepsDone = 10;
    zk::ApplyFontFaceIndex(settings.fmt);
    CheckGroupItem(QStringLiteral("T"), 0, 23, settings.fmt.FontFaceIndex);
    StartupStepsDone = 11;
    ApplyCharacterTableFont();
    StartupStepsDone = 12;
    CheckGroupItem(QStringLiteral("H"), 1, 7, settings.fmt.FontSizeIndex);
    StartupStepsDone = 13;
    CheckGroupItem(QStringLiteral("P"), 1, 8, settings.PresetIndex + 1);
    StartupStepsDone = 14;
    SetButtonsFromState();
    StartupStepsDone = 15;
    ApplyCharacterTableFont();
    StartupStepsDone = 16;
    ScanListFolder(AppFolder + QStringLiteral("Data/Listes"));
    StartupStepsDone = 17;
    ApplyAlwaysOnTop();
    StartupStepsDone = 18;
    if (!args.isEmpty() && !args.constFirst().isEmpty())
        OpenFileByPath(args.constFirst());
    StartupStepsDone = 19;
}

void TForm1::ShowAtStart() {
    if (settings.StartAtLogon == 0)
        show();
    else if (!TrayAvailable())
        showMinimized(); // no tray to come back from: the task bar keeps it reachable
    // otherwise only the tray icon shows
}

void TForm1::RequestEnd() {
    EndRequested = true;
    emit endRequested();
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    SaveSettings();
}

void TForm1::QuitterTrayClick() {
    SaveSettings();
    RequestEnd();
    close(); // saves a second time, with the same content
}

void TForm1::SaveSettings() {
    settings.WindowLeft = x();
    settings.WindowTop = y();
    const zk::WriteResult written =
        zk::SaveSettings(QFile::encodeName(SettingsPath()).toStdString(), settings);
    if (written.status == zk::WriteStatus::CannotCreate) {
        ShowError(QString::fromStdString(zk::writeErrorMessage(written)));
    } else if (!written.ok()) {
        // Written in part: the previous file stays whole; the rest of the save is not done.
        zk::platform::dialogs().runtimeError(
            this, QString::fromStdString(zk::writeErrorMessage(written)));
        return;
    }

    QString error;
    if (!zk::platform::setStartAtLogon(settings.StartAtLogon == 1,
                                       QCoreApplication::applicationFilePath(), &error)) {
        zk::platform::dialogs().runtimeError(this, error);
        return; // the tray icon stays
    }
    Tray->hide();
}
