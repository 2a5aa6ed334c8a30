// The main window Form1: its components, the state it keeps for the whole run and the
// handlers of every command. The handlers are defined by subsystem in separate files;
// each stays thin: read the widgets, call the core, write the result back.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "code_generator.h"
#include "commands.h"
#include "options_file.h"
#include "settings_file.h"
#include "text_effects.h"
#include "window_host.h"

class QAction;
class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTimer;
class QToolButton;
class QWebEngineView;

namespace zk::platform {
class PreviewPage;
class TrayIcon;
} // namespace zk::platform
namespace zk::ui {
class CharacterTable;
class CodeOutput;
class ImageListPanel;
class PreferencesPanel;
class Presets;
class StatusBarClock;
class StyleCommands;
class TextTools;
} // namespace zk::ui

class TForm1 final : public QWidget, public zk::platform::WindowHost {
    Q_OBJECT

public:
    // appFolder: the folder holding the Data tree, with or without a trailing "/"; empty
    // means the executable's folder. args: the command line after the program name.
    explicit TForm1(const QString& appFolder = {}, const QStringList& args = {},
                    QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- State kept for the whole run ----
    QString AppFolder; // always ends with "/"
    zk::AppSettings settings;
    zk::NewOptions options;     // the options kept beside the settings file
    std::uint8_t OpenPanel = 0; // 3, 7, 8 or 9: the overlay panel that is open; 0 none
    bool ShowHint = true;       // tooltips of the window
    bool EndRequested = false;  // the program ends when its event loop starts (or now)
    // Where start-up stopped: the last step done (19 when it ran to the end).
    int StartupStepsDone = 0;
    // The handler most recently run from the command map ("BoutFontGrasClick"...).
    QString LastCommand;

    // ---- Regions ----
    QWidget* Panel2 = nullptr; // top toolbar
    QWidget* Panel5 = nullptr; // corner
    QWidget* Panel1 = nullptr; // side toolbar
    QPlainTextEdit* Memo1 = nullptr;
    // The status bar (StatBar, its panels, Timer1) is a part of its own.
    zk::ui::StatusBarClock* statusBarClock() const { return clock_; }
    // The preview pane, the copy and the code view are a part of their own.
    zk::ui::CodeOutput* codeOutput() const { return codeOutput_; }
    // The character table (Panel3) is a part of its own.
    zk::ui::CharacterTable* characterTable() const { return characterTable_; }
    // The text effects, insertions, text files and edit commands are a part of their own.
    zk::ui::TextTools* textTools() const { return textTools_; }
    // The preferences panel (Panel9, its tabs, swatches and signature preview) is a part of
    // its own.
    zk::ui::PreferencesPanel* preferences() const { return preferences_; }
    // The image list panel (Panel7), its list-name prompt Panel6 and its menu Popup8 are a
    // part of their own.
    zk::ui::ImageListPanel* imagePanel() const { return imagePanel_; }
    // The style, alignment, colour and effect buttons of the toolbars and the size and face
    // menus (Popup1, Popup6) are a part of their own.
    zk::ui::StyleCommands* styleCommands() const { return styleCommands_; }

    // ---- Top toolbar ----
    QToolButton* BoutNouveau = nullptr;
    QToolButton* BoutOuvrir = nullptr;
    QToolButton* BoutSauver = nullptr;
    QToolButton* BoutPreferences = nullptr;
    QToolButton* BoutCouper = nullptr;
    QToolButton* BoutCopier = nullptr;
    QToolButton* BoutColler = nullptr;
    QToolButton* BoutUndo = nullptr;

    // ---- Corner ----
    QToolButton* BoutTop = nullptr;

    // ---- Side toolbar ----
    QToolButton* BoutNavIntegre = nullptr;
    QToolButton* BoutClipBoard = nullptr;
    QToolButton* BoutCopieImage = nullptr;
    QToolButton* BoutImage = nullptr;
    QToolButton* BoutSound = nullptr;
    QToolButton* BoutLien = nullptr;
    QToolButton* BoutMisc = nullptr;
    QToolButton* BoutCode = nullptr;
    QToolButton* BoutCarac = nullptr;
    QToolButton* BoutPredefini = nullptr;
    QToolButton* BoutHelp = nullptr;

    // ---- Menus (group items H1..H7, T0..T23, P1..P8 are found by name: MenuItem) ----
    QMenu* Popup5 = nullptr; // editors
    QMenu* Popup9 = nullptr; // tray

    QAction* Couper1 = nullptr;
    QAction* Copier1 = nullptr;
    QAction* Coller1 = nullptr;
    QAction* Annuler1 = nullptr;
    QAction* ToutSelectionner1 = nullptr;
    QAction* AperudansleNavigateurIntgr1 = nullptr;
    QAction* Prfrences1 = nullptr;
    QAction* Insreruneimage1 = nullptr;
    QAction* CrerunLien1 = nullptr;
    QAction* AideF11 = nullptr;

    QAction* AfficherTray = nullptr;
    QAction* CacherTray = nullptr;
    QAction* QuitterTray = nullptr;

    // ---- Overlay panels ----

    QFrame* PanError = nullptr; // error banner
    QFrame* Bevel5 = nullptr;
    QLabel* LabError = nullptr;
    QPushButton* BoutError = nullptr;

    zk::platform::TrayIcon* Tray = nullptr;

    // ---- Start-up and shutdown (startup.cpp) ----
    void FormClose();
    // The window at the end of the start: shown, or behind the tray icon when the program
    // was started at log-on.
    void ShowAtStart();
    // Asks the program to end once its event loop runs (emits endRequested).
    void RequestEnd();
    void QuitterTrayClick();
    void SaveSettings();
    QString SettingsPath() const;
    QString OptionsPath() const;
    // A file that was there but could not be read whole (a bad line, too large) is kept as
    // it was before anything is written over it: a copy beside it, named by the sentence
    // returned for the message (empty when no copy could be made).
    QString KeepCopyOfUnreadFile(const QString& path);
    // False while a file read in part has no copy kept: it is then not written over.
    bool MayReplace(const QString& path);
    QStringList UnkeptFiles;
    QString LastCloseError; // the failed save at close already shown, not shown twice

    // ---- What the window's parts ask of it (WindowHost) ----
    QWidget* hostWindow() override { return this; }
    void ShowError(const QString& message) override;
    void CloseOverlayPanels() override;
    void ToggleOverlayPanel(int n, const std::function<void()>& fill,
                            const std::function<void()>& closeAction) override;
    int OpenPanelNumber() const override { return OpenPanel; }
    // The text tools' insertion (it also sets their UndoFromClipboard).
    void InsertAtCaret(const QString& opening, const QString& closing) override;
    void LaunchDocument(const QString& path, const QString& program) override;
    void ShowNewBrowserView(QWebEngineView* view) override;
    void HideToTray() override;
    zk::platform::CommandBuilder& commands() override { return *Commands; }
    // Builds the window's buttons and menu items from the tables (command_map.cpp) and
    // records the command run last in LastCommand.
    zk::platform::CommandBuilder* Commands = nullptr;

    // ---- Window, tray and messages (messages.cpp) ----
    void BoutErrorClick();
    QWidget* OverlayPanel(int n) const;
    // Tells the character table the current face.
    void ApplyCharacterTableFont();
    void BoutTopClick();
    void ApplyAlwaysOnTop();
    bool IsTopmost() const;
    void TrayDblClick();
    void AfficherTrayClick();
    void CacherTrayClick();
    void Popup9Popup();
    bool TrayAvailable() const;
    // Shows the window, restoring it when minimised, and makes it the foreground window.
    void ShowFromTray();
    void SetShowHint(bool on);

    // ---- Help and launching (help.cpp) ----
    void BoutHelpClick();
    void AideF11Click();
    QString HelpPagePath() const;

    // ---- Presets (presets.cpp) ----
    zk::ui::Presets* presets() const { return presets_; }

    // ---- Helpers ----
    // A menu item by name ("H1", "T12", "P3", "Copier1"...); null when there is none.
    QAction* MenuItem(const QString& name) const;
    // Checks item letter+chosen of the group letter+first..letter+last and clears the others.
    void CheckGroupItem(const QString& letter, int first, int last, int chosen);

signals:
    void endRequested();
    // The window was asked to raise by a second copy and did it (test and trace hook).
    void raisedByOtherCopy();

public slots:
    // A second copy was started: restore if minimised or hidden, raise, activate.
    void RaiseFromOtherCopy();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void BuildMenus();
    void BuildTopToolbar();
    void BuildSideToolbar();
    void BuildOverlayPanels();
    void BuildErrorBanner();
    void BuildTray();
    void WireCommands(); // command_map.cpp
    void FormCreate(const QStringList& args);
    // The row of the window's tables named name (command_map.cpp).
    static const zk::platform::Command<TForm1>& CommandRow(const char* name);

    QHash<QObject*, void (zk::ui::PreferencesPanel::*)(Qt::MouseButton)> mouseUpHandlers_;
    zk::ui::PreferencesPanel* preferences_ = nullptr;
    zk::ui::Presets* presets_ = nullptr;
    zk::ui::StatusBarClock* clock_ = nullptr;
    zk::ui::CodeOutput* codeOutput_ = nullptr;
    zk::ui::CharacterTable* characterTable_ = nullptr;
    zk::ui::TextTools* textTools_ = nullptr;
    zk::ui::ImageListPanel* imagePanel_ = nullptr;
    zk::ui::StyleCommands* styleCommands_ = nullptr;
};
