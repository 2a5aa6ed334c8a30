// Text files: New, Open (and the document named on the command line), Save as text or as
// an HTML page.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

#include <unistd.h>

#include "code_output.h"
#include "dialogs.h"
#include "editor_text.h"
#include "main_window.h"
#include "ordinary_file.h"
#include "shell.h"
#include "sounds.h"
#include "text_files.h"

namespace {

const QString kTextFilter = QStringLiteral("Fichiers texte (*.txt)");
const QString kHtmlFilter = QStringLiteral("Fichiers html (*.html)");

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A page or picture to be shown must at least be an ordinary file we can read; otherwise
// the user gets the same message as for a text file instead of a browser's error page.
bool readableFile(const QString& path) {
    zk::ReadStatus status = zk::ReadStatus::Failed;
    int error = 0;
    const int fd = zk::openOrdinaryFile(localPath(path), status, error);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

} // namespace

void TForm1::OpenFileByPath(const QString& path) {
    // A relative name from the command line is taken from the current folder, so that
    // LastFolder always names a real folder.
    const QString absolute = QDir::fromNativeSeparators(QFileInfo(path).absoluteFilePath());
    settings.LastFolder = zk::folderOf(absolute.toStdString());

    if (zk::isWebOrPictureFile(absolute.toStdString())) {
        if (!readableFile(absolute)) {
            ShowError(QString::fromStdString(zk::openErrorMessage(zk::OpenStatus::CannotOpen)));
            return;
        }
        switch (zk::previewActionFor(settings.PreviewInProgram, settings.PreviewInNewWindow)) {
        case zk::PreviewAction::InProgram:
            codeOutput_->ShowInBrowserPane(absolute);
            CloseOverlayPanels();
            break;
        case zk::PreviewAction::ShellOpen:
            zk::platform::openDocument(absolute);
            break;
        case zk::PreviewAction::LaunchBrowser:
            LaunchDocument(absolute, QStringLiteral("iexplore.exe"));
            break;
        case zk::PreviewAction::Nothing:
            break;
        }
        return;
    }

    const zk::OpenedText opened = zk::readTextFileForEditor(localPath(absolute));
    if (opened.status != zk::OpenStatus::Loaded) {
        ShowError(QString::fromStdString(zk::openErrorMessage(opened.status)));
        return;
    }
    // One step of the editor's own undo, so that a file opened by mistake can be undone.
    zk::ui::replaceEditorText(Memo1, opened.text);
    zk::ui::placeCaret(Memo1, opened.text, 0);
}

void TForm1::BoutNouveauClick() {
    zk::ui::replaceEditorText(Memo1, {});
    UndoFromClipboard = 0;
}

void TForm1::BoutOuvrirClick() {
    // "*" rather than "*.*": a name without a dot is a file too.
    const QString chosen = zk::platform::dialogs().openFileName(
        this, QStringLiteral("Ouvrir un fichier texte"),
        QString::fromStdString(settings.LastFolder), QStringLiteral("Fichiers (*.*)|*"));
    if (!chosen.isEmpty())
        OpenFileByPath(chosen);
}

void TForm1::BoutSauverClick() {
    const std::string text = zk::ui::coreText(Memo1);
    if (text.empty()) {
        zk::platform::beep();
        return;
    }
    QString filter = kTextFilter;
    const QString chosen = zk::platform::dialogs().saveFileName(
        this, QStringLiteral("Sauver un fichier texte ou html"),
        QString::fromStdString(settings.LastFolder),
        kTextFilter + QStringLiteral("|*.txt|") + kHtmlFilter + QStringLiteral("|*.html"), &filter);
    if (chosen.isEmpty())
        return;
    const std::string path = QDir::fromNativeSeparators(chosen).toStdString();
    settings.LastFolder = zk::folderOf(path);
    const zk::SaveKind kind = zk::saveKindForFilter(filter == kHtmlFilter ? 2 : 1);
    const std::string name = zk::saveFileName(path, kind);
    const std::string file = localPath(QString::fromStdString(name));
    // Asked about the file really written, after the extension rule, and only here.
    const QString shownName = QString::fromStdString(name);
    if (QFileInfo::exists(shownName) && !zk::platform::dialogs().confirmReplace(this, shownName))
        return;

    zk::WriteResult written;
    if (kind == zk::SaveKind::Html) {
        const std::optional<std::string> page = codeOutput_->PageToSave();
        if (!page)
            return;
        written = zk::saveHtmlFile(file, *page);
    } else {
        written = zk::saveTextFile(file, text);
    }
    // The previous file, if any, is still whole when the write failed.
    if (!written.ok())
        ShowError(QString::fromStdString(zk::writeErrorMessage()));
}
