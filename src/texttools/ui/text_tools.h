// The text tools of the window: the text effects menu (Popup3) and its twelve effects, the
// insertions of links and sounds, the text files (new, open, save) and the edit commands
// on the editor or the code view, with the one-step undo that exchanges the whole text with
// the clipboard after an effect or an insertion.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

#include "commands.h"
#include "text_effects.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QWidget;

namespace zk {
struct AppSettings;
}
namespace zk::platform {
class WindowHost;
}

namespace zk::ui {

class CodeOutput;

class TextTools final : public QObject {
    Q_OBJECT

public:
    // editor: the text the tools work on (Memo1); codeOutput: the code view the edit
    // commands act on while it is open, the pane that shows pages, the code saved as HTML;
    // window: the parent of the menu.
    TextTools(zk::platform::WindowHost& host, zk::AppSettings& settings, QPlainTextEdit* editor,
              CodeOutput& codeOutput, QWidget* window);

    // 1 while the clipboard holds the text as it was before the last text effect or
    // insertion: Undo then exchanges the two. New, Cut, Copy and Paste in the editor clear it.
    std::uint8_t UndoFromClipboard = 0;
    zk::EffectRandom EffectRng; // the Hacker effect's generator, never reseeded

    QMenu* Popup3 = nullptr; // text effects, built from the core's table of effects
    QAction* C2 = nullptr;
    QAction* C3 = nullptr;
    QAction* C4 = nullptr;
    QAction* C5 = nullptr;
    QAction* C6 = nullptr;
    QAction* C7 = nullptr;
    QAction* C8 = nullptr;
    QAction* C9 = nullptr;
    QAction* C10 = nullptr;
    QAction* C11 = nullptr;
    QAction* C13 = nullptr;
    QAction* C12 = nullptr;

    // The part's commands: the window places its buttons and the items of the editors'
    // menu from these rows.
    static const zk::platform::Command<TextTools>& CommandRow(const char* name);

    // ---- Text effects ----
    // The frame every text effect runs first: LastTextEffect, UndoFromClipboard and the
    // undo copy of the whole text on the clipboard.
    void BeginTextEffect(int number);
    // The frame, then effect `number` on the selection of the editor or its whole text.
    void RunTextEffect(int number);
    void C2Click();
    void C3Click();
    void C4Click();
    void C5Click();
    void C6Click();
    void C7Click();
    void C8Click();
    void C9Click();
    void C10Click();
    void C11Click();
    void C12Click();
    void C13Click();

    // ---- Insertions ----
    // Puts opening before and closing after the selection (or at the caret), after the undo
    // copy of the whole text on the clipboard; sets UndoFromClipboard.
    void InsertAtCaret(const QString& opening, const QString& closing);
    void BoutSoundClick();
    void BoutLienClick();
    void CrerunLien1Click();

    // ---- Text files and edit commands ----
    void BoutNouveauClick();
    void BoutOuvrirClick();
    void BoutSauverClick();
    void BoutCouperClick();
    void BoutCopierClick();
    void BoutCollerClick();
    void BoutUndoClick();
    void Couper1Click();
    void Copier1Click();
    void Coller1Click();
    void Annuler1Click();
    void ToutSelectionner1Click();
    void OpenFileByPath(const QString& path);
    // The editor the edit commands act on: the code view while it is open, else the editor.
    QPlainTextEdit* EditTarget() const;

private:
    zk::platform::WindowHost& host_;
    zk::AppSettings& settings_;
    QPlainTextEdit* editor_ = nullptr;
    CodeOutput& codeOutput_;
};

} // namespace zk::ui
