// What a part of the main window may ask of the window itself: the error banner, the
// overlay panels, the insertion at the caret of the editor, the web browser. A part is
// given its host when it is made and never reaches into the window's or another part's
// widgets; the main window implements this, a part's test a fake.
#pragma once

#include <QString>

#include <functional>

class QWebEngineView;
class QWidget;

namespace zk {
struct WriteResult;
}

namespace zk::platform {

class CommandBuilder;

class WindowHost {
public:
    virtual ~WindowHost() = default;

    // The window, as the parent of dialogs and message boxes.
    virtual QWidget* hostWindow() = 0;
    // The error banner, with the information sound.
    virtual void ShowError(const QString& message) = 0;
    // Closes the overlay panel that is open, if any.
    virtual void CloseOverlayPanels() = 0;
    // The opening rule of the overlay panels: a second press closes panel n through
    // closeAction; otherwise the open panel is closed, fill runs and panel n shows.
    virtual void ToggleOverlayPanel(int n, const std::function<void()>& fill,
                                    const std::function<void()>& closeAction) = 0;
    // 3, 7, 8 or 9: the overlay panel that is open; 0 none.
    virtual int OpenPanelNumber() const = 0;
    // Puts opening before and closing after the selection of the editor (or at the caret),
    // after an undo copy of the whole text on the clipboard, which the next Undo exchanges.
    virtual void InsertAtCaret(const QString& opening, const QString& closing) = 0;
    // Starts the web browser on a document.
    virtual void LaunchDocument(const QString& path, const QString& program) = 0;
    // Shows a browser view just made, keeping the window active and its focus in place.
    virtual void ShowNewBrowserView(QWebEngineView* view) = 0;
    // Hides the window behind the tray icon; where there is no tray it is minimised.
    virtual void HideToTray() = 0;
    // The window's command builder: a part builds its buttons and menu items from its table
    // with it, so that every command is recorded and its shortcuts dispatched alike.
    virtual CommandBuilder& commands() = 0;
};

// Reports a failed write as the window reports every one: a file that could not be made
// in the error banner, a failure while writing in the standard error box. True when the
// write went well (nothing is reported).
bool reportWrite(WindowHost& host, const WriteResult& written);

} // namespace zk::platform
