// The code output of the window: the preview in the browser pane (WebB) or the web browser,
// the preview page, the copy to the clipboard, and the code view (Panel8, Memo2).
#pragma once

#include <QObject>
#include <QString>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "code_generator.h"
#include "commands.h"

class QAction;
class QFrame;
class QImage;
class QMenu;
class QPlainTextEdit;
class QWebEngineView;
class QWidget;

namespace zk {
struct AppSettings;
struct NewOptions;
} // namespace zk
namespace zk::platform {
class PagePicture;
class PreviewPage;
class WindowHost;
} // namespace zk::platform

namespace zk::ui {

class LivePreview;

class CodeOutput final : public QObject {
    Q_OBJECT

public:
    // options: the options kept beside the settings (the format, the gradient); editor: the text
    // the code is made of; window: the parent of the pane and the code view; appFolder ends with
    // "/".
    CodeOutput(zk::platform::WindowHost& host, const zk::AppSettings& settings,
               const zk::NewOptions& options, QPlainTextEdit* editor, QWidget* window,
               QString appFolder);

    QWebEngineView* WebB = nullptr; // made when first needed: EnsureWebB
    QFrame* WebBHolder = nullptr;   // blank stand-in until then
    QWidget* Panel8 = nullptr;      // code view
    QPlainTextEdit* Memo2 = nullptr;
    // The preview's context menu and its items.
    QMenu* PopupApercu = nullptr;
    QAction* CopiercommeImage1 = nullptr;
    QAction* EnregistrercommeImage1 = nullptr;

    // The characters between two looks at the window's events during a long generation
    // (tests make them few).
    zk::Pacing GenerationPacing;

    // The number of the code view among the window's overlay panels.
    static constexpr int kCodeViewPanel = 8;
    // The code view is the overlay panel open.
    bool CodeViewOpen() const;

    // The code of the editor's text in the chosen format, its line breaks kept while the code
    // view is open (or when keepLineBreaks says so); nullopt, with a beep, while another
    // generation runs.
    // The window keeps answering during a long generation, so a command may arrive then.
    std::optional<std::string> Generate();
    std::optional<std::string> Generate(bool keepLineBreaks);
    std::optional<std::string> Generate(int) = delete; // a panel number is no choice here
    // True while a generation runs.
    bool Generating() const { return generating_; }
    // The fragment of the last generation.
    const std::string& GeneratedCode() const { return generatedCode_; }
    // The page "Enregistrer en HTML" writes: the fragment wrapped as a page, in the chosen
    // format when it is HTML, else (BBCode) the HTML the preview shows; nullopt, with a
    // beep, while another generation runs. The code view is left as it is.
    std::optional<std::string> PageToSave();

    QString PreviewPagePath() const;
    // Writes the last fragment into the preview page; false, reported, when that failed.
    bool WritePreviewPage();

    QWebEngineView* EnsureWebB();
    // Shows a local file in WebB; before the pane exists it waits for it.
    void ShowInBrowserPane(const QString& path);
    // The window has been painted: the pane's engine may start.
    void WindowPainted();

    // Something that shapes the code changed (the text, the formatting, the options, an
    // overlay panel closed): the code is measured again and, while the live preview is on,
    // the program's own preview shows it and no overlay panel is open, shown in WebB.
    void CodeChanged();
    LivePreview* livePreview() const { return live_; }

    // The part's commands: its buttons and menu item are built from these rows.
    static const zk::platform::Command<CodeOutput>& CommandRow(const char* name);

    void BoutNavIntegreClick();
    void AperudansleNavigateurIntgr1Click();
    void BoutClipBoardClick();
    void BoutCodeClick();
    // The fragment as the preview shows it, drawn into a picture at twice the screen's pixel
    // ratio, cropped to its content, transparent where the page has no background (a marquee
    // stands still): on the clipboard, or in a PNG file the user names.
    void CopiercommeImage1Click();
    void EnregistrercommeImage1Click();

signals:
    // WebB has been made (after the window's first paint).
    void browserPaneReady();
    // The size of the current code as the copy counts it, and the limit set (0: none).
    void codeSized(std::size_t characters, unsigned limit);
    // The picture asked for is on the clipboard or in its file (ok), or could not be made
    // or written (reported).
    void pictureDone(bool ok);

private:
    zk::platform::PreviewPage PreviewPane();
    // The chosen format, and the HTML a browser shows of it (the preview, the page saved,
    // the formatted text of the copy).
    zk::GeneratorOptions GenerationOptions(bool keepLineBreaks) const;
    zk::GeneratorOptions RenderingOptions(bool keepLineBreaks) const;
    std::optional<std::string> Generate(const zk::GeneratorOptions& options);
    // The generation for the live preview and the meter, to be run on another thread: a
    // copy of the text, the formatting and the options; no beep, no pause for the window's
    // events (a command's generation is never refused because of it); nullopt while a
    // command's generation runs.
    std::optional<std::function<std::string()>> LiveCode();
    bool LiveShown() const;
    // Draws the fragment as a picture, then hands it to done; false, with a beep, when there
    // is nothing to draw or a drawing is under way.
    bool DrawPicture(std::function<void(const QImage&)> done);

    zk::platform::WindowHost& host_;
    const zk::AppSettings& settings_;
    const zk::NewOptions& options_;
    QPlainTextEdit* editor_ = nullptr;
    QWidget* window_ = nullptr;
    QString appFolder_;
    std::string generatedCode_;
    bool generating_ = false;
    bool browserPaneWanted_ = false;
    QString pendingWebBPage_;
    LivePreview* live_ = nullptr;
    zk::platform::PagePicture* picture_ = nullptr;
};

} // namespace zk::ui
