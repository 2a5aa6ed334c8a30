// Text files: New, Open (and the document named on the command line), Save as text or as
// an HTML page.
#include "text_tools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

#include <unistd.h>

#include "code_output.h"
#include "dialogs.h"
#include "editor_text.h"
#include "ordinary_file.h"
#include "settings_file.h"
#include "shell.h"
#include "sounds.h"
#include "text_files.h"
#include "window_host.h"

namespace zk::ui {

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

void TextTools::OpenFileByPath(const QString& path) {
    // A relative name from the command line is taken from the current folder, so that
    // LastFolder always names a real folder.
    const QString absolute = QDir::fromNativeSeparators(QFileInfo(path).absoluteFilePath());
    settings_.LastFolder = zk::folderOf(absolute.toStdString());

    if (zk::isWebOrPictureFile(absolute.toStdString())) {
        if (!readableFile(absolute)) {
            host_.ShowError(
                QString::fromStdString(zk::openErrorMessage(zk::OpenStatus::CannotOpen)));
            return;
        }
        switch (zk::previewActionFor(settings_.PreviewInProgram, settings_.PreviewInNewWindow)) {
        case zk::PreviewAction::InProgram:
            codeOutput_.ShowInBrowserPane(absolute);
            host_.CloseOverlayPanels();
            break;
        case zk::PreviewAction::ShellOpen:
            zk::platform::openDocument(absolute);
            break;
        case zk::PreviewAction::LaunchBrowser:
            host_.LaunchDocument(absolute, QStringLiteral("iexplore.exe"));
            break;
        case zk::PreviewAction::Nothing:
            break;
        }
        return;
    }

    const zk::OpenedText opened = zk::readTextFileForEditor(localPath(absolute));
    if (opened.status != zk::OpenStatus::Loaded) {
        host_.ShowError(QString::fromStdString(zk::openErrorMessage(opened.status)));
        return;
    }
    // One step of the editor's own undo, so that a file opened by mistake can be undone.
    zk::ui::replaceEditorText(editor_, opened.text);
    zk::ui::placeCaret(editor_, opened.text, 0);
}

void TextTools::BoutNouveauClick() {
    zk::ui::replaceEditorText(editor_, {});
    UndoFromClipboard = 0;
}

void TextTools::BoutOuvrirClick() {
    // "*" rather than "*.*": a name without a dot is a file too.
    const QString chosen = zk::platform::dialogs().openFileName(
        host_.hostWindow(), QStringLiteral("Ouvrir un fichier texte"),
        QString::fromStdString(settings_.LastFolder), QStringLiteral("Fichiers (*.*)|*"));
    if (!chosen.isEmpty())
        OpenFileByPath(chosen);
}

void TextTools::BoutSauverClick() {
    const std::string text = zk::ui::coreText(editor_);
    if (text.empty()) {
        zk::platform::beep();
        return;
    }
    QString filter = kTextFilter;
    const QString chosen = zk::platform::dialogs().saveFileName(
        host_.hostWindow(), QStringLiteral("Sauver un fichier texte ou html"),
        QString::fromStdString(settings_.LastFolder),
        kTextFilter + QStringLiteral("|*.txt|") + kHtmlFilter + QStringLiteral("|*.html"), &filter);
    if (chosen.isEmpty())
        return;
    const std::string path = QDir::fromNativeSeparators(chosen).toStdString();
    settings_.LastFolder = zk::folderOf(path);
    const zk::SaveKind kind = zk::saveKindForFilter(filter == kHtmlFilter ? 2 : 1);
    const std::string name = zk::saveFileName(path, kind);
    const std::string file = localPath(QString::fromStdString(name));
    // Asked about the file really written, after the extension rule, and only here.
    const QString shownName = QString::fromStdString(name);
    if (QFileInfo::exists(shownName) &&
        !zk::platform::dialogs().confirmReplace(host_.hostWindow(), shownName))
        return;

    zk::WriteResult written;
    if (kind == zk::SaveKind::Html) {
        const std::optional<std::string> page = codeOutput_.PageToSave();
        if (!page)
            return;
        written = zk::saveHtmlFile(file, *page);
    } else {
        written = zk::saveTextFile(file, text);
    }
    // The previous file, if any, is still whole when the write failed.
    if (!written.ok())
        host_.ShowError(QString::fromStdString(zk::writeErrorMessage()));
}

} // namespace zk::ui
