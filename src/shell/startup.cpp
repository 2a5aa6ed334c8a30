// Start-up and shutdown of the window: the Data tree, the saved state, the controls that
// mirror it, and the save at the end.
#include "main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QToolButton>
#include <QWebEngineView>

#include <cerrno>

#include "autostart.h"
#include "character_table.h"
#include "code_output.h"
#include "data_path.h"
#include "data_tree.h"
#include "dialogs.h"
#include "image_list_panel.h"
#include "style_commands.h"
#include "text_tools.h"
#include "tray.h"
#include "window_system.h"

namespace {

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

QString TForm1::SettingsPath() const {
    return zk::platform::dataPath(AppFolder, zk::data::kSettingsFile);
}

QString TForm1::OptionsPath() const {
    return zk::platform::dataPath(AppFolder, zk::data::kOptionsFile);
}

void TForm1::FormCreate(const QStringList& args) {
    settings.LastFolder = QFile::encodeName(AppFolder).toStdString();
    StartupStepsDone = 1;

    bool createdAll = true;
    // Created in this order; a start that had to create every one has no Data tree.
    for (std::string_view folder : zk::data::kFolders) {
        if (!QDir().mkdir(zk::platform::dataPath(AppFolder, folder)))
            createdAll = false;
    }
    if (createdAll) {
        ShowError(QStringLiteral("ATTENTION, certains fichiers sont introuvables !\r\n"
                                 "Réinstallez correctement ZelkoHTML"));
        RequestEnd();
        close(); // writes the settings into the new Data/Bin; the start-up goes on
    }
    // What saves cut short by a crash or a power cut left behind.
    zk::removeStaleSaves(localPath(AppFolder));
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

    codeOutput_->WritePreviewPage();
    codeOutput_->ShowInBrowserPane(codeOutput_->PreviewPagePath());
    StartupStepsDone = 5;

    imagePanel_->ArmFileDrops();
    StartupStepsDone = 6;

    // A value the options file cannot give is left at its default without a message; the
    // file is kept first, as the close writes it whole.
    if (zk::LoadOptions(localPath(OptionsPath()), options).partlyRead())
        KeepCopyOfUnreadFile(OptionsPath());

    const zk::LoadResult loaded = zk::LoadSettings(localPath(SettingsPath()), settings);
    // The close writes the whole file from the state: what could not be read is kept first.
    // A file too large to be settings leaves the defaults, without a message.
    const QString kept = loaded.partlyRead() ? KeepCopyOfUnreadFile(SettingsPath()) : QString();
    if (loaded.status == zk::LoadResult::InvalidNumber) {
        // The rest of the start-up is not done; the window still opens and works.
        zk::platform::dialogs().runtimeError(this,
                                             QString::fromLatin1(zk::kInvalidNumericInput) + kept);
        return;
    }
    StartupStepsDone = 7;

    move(settings.WindowLeft, settings.WindowTop);
    StartupStepsDone = 8;
    SetShowHint(settings.ShowHints == 1);
    StartupStepsDone = 9;
    characterTable_->BuildCharacterTable();
    StartupStepsDone = 10;
    zk::ApplyFontFaceIndex(settings.fmt);
    styleCommands_->SetMenuChecksFromState(); // the face and size menus
    StartupStepsDone = 11;
    ApplyCharacterTableFont();
    StartupStepsDone = 13;
    CheckGroupItem(QStringLiteral("P"), 1, 8, settings.PresetIndex + 1);
    StartupStepsDone = 14;
    styleCommands_->SetButtonsFromState();
    BoutTop->setChecked(settings.AlwaysOnTop == 1);
    StartupStepsDone = 15;
    ApplyCharacterTableFont();
    StartupStepsDone = 16;
    imagePanel_->ScanListFolder(imagePanel_->ListFolder());
    StartupStepsDone = 17;
    ApplyAlwaysOnTop();
    StartupStepsDone = 18;
    if (!args.isEmpty() && !args.constFirst().isEmpty())
        textTools_->OpenFileByPath(args.constFirst());
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

namespace {

// The message of a failed save at close: what failed, then the file.
QString closeErrorMessage(const zk::WriteResult& written, const QString& path) {
    return QString::fromStdString(zk::writeErrorMessage(written)).trimmed() +
           QStringLiteral("\r\n") + QDir::toNativeSeparators(path);
}

} // namespace

void TForm1::SaveSettings() {
    if (zk::platform::windowPositionKnown()) {
        settings.WindowLeft = x();
        settings.WindowTop = y();
    }
    QStringList failures;
    // False when a file was written in part (a full disk): the previous file stays whole,
    // and the rest of the save is not done.
    const auto save = [this, &failures](const QString& path, const auto& write) {
        const zk::WriteResult written =
            MayReplace(path) ? write(localPath(path))
                             : zk::WriteResult{zk::WriteStatus::CannotCreate, EEXIST};
        if (!written.ok())
            failures << closeErrorMessage(written, path);
        return written.ok() || written.status == zk::WriteStatus::CannotCreate;
    };
    const bool goOn =
        save(SettingsPath(),
             [this](const std::string& p) { return zk::SaveSettings(p, settings); }) &&
        save(OptionsPath(), [this](const std::string& p) { return zk::SaveOptions(p, options); });
    if (!failures.isEmpty()) {
        // The window is closing: a banner would never be seen. The box stays until the
        // user has read it, then the close goes on.
        const QString message = failures.join(QStringLiteral("\r\n\r\n"));
        if (message != LastCloseError)
            zk::platform::dialogs().runtimeError(this, message);
        LastCloseError = message;
    } else {
        LastCloseError.clear();
    }
    if (!goOn)
        return;

    QString error;
    if (!zk::platform::setStartAtLogon(settings.StartAtLogon == 1,
                                       QCoreApplication::applicationFilePath(), &error)) {
        zk::platform::dialogs().runtimeError(this, error);
        return; // the tray icon stays
    }
    Tray->hide();
}

QString TForm1::KeepCopyOfUnreadFile(const QString& path) {
    std::string copy;
    if (!zk::keepBackupCopy(localPath(path), copy).ok()) {
        if (!UnkeptFiles.contains(path))
            UnkeptFiles.append(path);
        return {};
    }
    UnkeptFiles.removeAll(path);
    return QStringLiteral("\r\n\r\nLe fichier a été gardé tel quel sous le nom :\r\n") +
           QDir::toNativeSeparators(QFile::decodeName(copy.c_str()));
}

bool TForm1::MayReplace(const QString& path) {
    if (!UnkeptFiles.contains(path))
        return true;
    KeepCopyOfUnreadFile(path); // once more: what stood in the way may be gone
    return !UnkeptFiles.contains(path);
}
