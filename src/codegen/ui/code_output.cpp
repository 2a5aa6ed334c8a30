// Code output: preview in the browser pane or the web browser, copy to the clipboard, and
// the code view.
#include "main_window.h"

#include <QCoreApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QWebEngineView>

#include "atomic_file.h"
#include "clipboard.h"
#include "code_generator.h"
#include "dialogs.h"
#include "html_view.h"
#include "shell.h"
#include "sounds.h"
#include "text.h"

QString TForm1::PreviewPagePath() const {
    return AppFolder + QStringLiteral("Data/Temp/TempHTML.html");
}

bool TForm1::Generate() {
    if (zk::GenerationRunning()) {
        zk::platform::beep();
        return false;
    }
    // The window keeps answering during a long generation; a second one is refused.
    std::optional<std::string> code = zk::GenerateCode(
        EditorText(Memo1), settings.fmt, OpenPanel, [] { QCoreApplication::processEvents(); },
        GenerationPacing);
    if (!code) {
        zk::platform::beep();
        return false;
    }
    GeneratedCode = std::move(*code);
    return true;
}

bool TForm1::WritePreviewPage() {
    const std::string page =
        "<html><head></head><body>\r\n" + GeneratedCode + "\r\n</body></html>\r\n";
    const zk::WriteResult written = zk::writeFileAtomically(
        QFile::encodeName(PreviewPagePath()).toStdString(), zk::encodeHtmlPage(page));
    if (written.ok())
        return true;
    if (written.status == zk::WriteStatus::CannotCreate)
        ShowError(QStringLiteral("\r\nERREUR en écriture"));
    else
        zk::platform::dialogs().runtimeError(
            this, QString::fromStdString(zk::writeErrorMessage(written)));
    return false;
}

void TForm1::BoutNavIntegreClick() {
    if (!Generate())
        return;
    WritePreviewPage(); // on failure the preview goes on with what the file holds
    const QString page = PreviewPagePath();
    if (settings.PreviewInProgram == 1) {
        zk::platform::showFile(EnsureWebB(), page);
        CloseOverlayPanels();
    } else if (settings.PreviewInNewWindow == 0) {
        zk::platform::openDocument(page);
    } else if (settings.PreviewInNewWindow == 1) {
        LaunchDocument(page, QStringLiteral("iexplore.exe"));
    }
}

void TForm1::AperudansleNavigateurIntgr1Click() {
    BoutNavIntegreClick();
}

void TForm1::BoutClipBoardClick() {
    if (!Generate())
        return;
    const std::size_t length = zk::codePointCount(GeneratedCode);
    const unsigned limit = settings.fmt.CodeSizeLimit;
    if (limit != 0 && length > limit) {
        ShowError(QStringLiteral("ATTENTION, %1 caractères !\r\n"
                                 "La taille du code HTML dépasse\r\n"
                                 "la limite que vous avez fixée à %2")
                      .arg(length)
                      .arg(limit));
    }
    zk::platform::setClipboardText(QString::fromStdString(GeneratedCode));
    if (settings.MinimizeAfterCopy == 1)
        HideToTray();
}

void TForm1::BoutCodeClick() {
    if (Panel8->isVisible()) {
        Panel8->hide();
        Panel8->move(0, 436);
        OpenPanel = 0;
        Memo1->setFocus();
        return;
    }
    if (zk::GenerationRunning()) {
        zk::platform::beep();
        return;
    }
    CloseOverlayPanels();
    OpenPanel = 8;
    if (!Generate()) {
        OpenPanel = 0;
        return;
    }
    SetEditorText(Memo2, GeneratedCode);
    ToggleOverlayPanel(8, {}, {});
    Memo2->setFocus();
}
