// Code output: preview in the browser pane or the web browser, copy to the clipboard, and
// the code view.
#include "main_window.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QWebEngineView>

#include "clipboard.h"
#include "code_generator.h"
#include "data_path.h"
#include "editor_text.h"
#include "preview_page.h"
#include "shell.h"
#include "sounds.h"
#include "text.h"

QString TForm1::PreviewPagePath() const {
    return zk::platform::dataPath(AppFolder, zk::data::kPreviewPage);
}

bool TForm1::Generate() {
    if (zk::GenerationRunning()) {
        zk::platform::beep();
        return false;
    }
    // The gradient's choices of the options file; the code stays classic HTML here.
    zk::GeneratorOptions generator;
    generator.gradient = zk::generatorOptions(options).gradient;
    // The window keeps answering during a long generation; a second one is refused.
    std::optional<std::string> code = zk::GenerateCode(
        zk::ui::coreText(Memo1), settings.fmt, generator, OpenPanel,
        [] { QCoreApplication::processEvents(); }, GenerationPacing);
    if (!code) {
        zk::platform::beep();
        return false;
    }
    GeneratedCode = std::move(*code);
    return true;
}

zk::platform::PreviewPage TForm1::PreviewPane() {
    return {*this, PreviewPagePath(), [this] { return EnsureWebB(); }};
}

bool TForm1::WritePreviewPage() {
    return PreviewPane().writeFragment(GeneratedCode);
}

void TForm1::BoutNavIntegreClick() {
    if (!Generate())
        return;
    WritePreviewPage(); // on failure the preview goes on with what the file holds
    const QString page = PreviewPagePath();
    if (settings.PreviewInProgram == 1) {
        PreviewPane().show();
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
    zk::ui::setEditorText(Memo2, GeneratedCode);
    ToggleOverlayPanel(8, {}, {});
    Memo2->setFocus();
}
