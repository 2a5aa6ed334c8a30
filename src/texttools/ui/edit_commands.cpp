// Cut, copy, paste, undo and select all, on Memo1 or on the code view while it is shown.
// Undo has two modes: the editor's own undo, or after a text effect or an insertion the
// exchange of the whole text with the clipboard.
#include <QPlainTextEdit>
#include <QTextCursor>

#include "clipboard.h"
#include "code_output.h"
#include "editor_text.h"
#include "main_window.h"
#include "plain_memo.h"

namespace {

// The selection as the clipboard gets it: the characters themselves (no-break spaces
// included, which the editor's own copy would turn into spaces).
bool copySelection(QPlainTextEdit* editor) {
    const QTextCursor cursor = editor->textCursor();
    if (!cursor.hasSelection())
        return false;
    zk::platform::setClipboardText(zk::ui::editorText(zk::ui::coreText(rawSelection(editor))));
    return true;
}

void cutSelection(QPlainTextEdit* editor) {
    if (editor->isReadOnly() || !copySelection(editor))
        return;
    QTextCursor cursor = editor->textCursor();
    cursor.removeSelectedText();
    editor->setTextCursor(cursor);
}

} // namespace

QPlainTextEdit* TForm1::EditTarget() const {
    return OpenPanel == 8 ? codeOutput_->Memo2 : Memo1;
}

void TForm1::BoutCouperClick() {
    if (OpenPanel != 8)
        UndoFromClipboard = 0;
    cutSelection(EditTarget());
}

void TForm1::BoutCopierClick() {
    if (OpenPanel != 8)
        UndoFromClipboard = 0;
    copySelection(EditTarget());
}

void TForm1::BoutCollerClick() {
    if (OpenPanel != 8)
        UndoFromClipboard = 0;
    EditTarget()->paste();
}

void TForm1::BoutUndoClick() {
    if (OpenPanel == 8) {
        codeOutput_->Memo2->undo();
        return;
    }
    if (UndoFromClipboard == 0) {
        Memo1->undo();
        return;
    }
    // The exchange: the text goes to the clipboard and the clipboard's text comes back, so
    // a second Undo brings the first text again.
    const std::string text = zk::ui::coreText(Memo1);
    const std::string fromClipboard = zk::ui::coreText(zk::platform::clipboardText());
    zk::ui::replaceEditorText(Memo1, fromClipboard);
    zk::ui::placeCaret(Memo1, fromClipboard, 0); // a whole text set: the caret at its start
    zk::platform::setClipboardText(zk::ui::editorText(text));
}

void TForm1::Couper1Click() {
    BoutCouperClick();
}
void TForm1::Copier1Click() {
    BoutCopierClick();
}
void TForm1::Coller1Click() {
    BoutCollerClick();
}
void TForm1::Annuler1Click() {
    BoutUndoClick();
}

void TForm1::ToutSelectionner1Click() {
    QPlainTextEdit* editor = EditTarget();
    editor->setFocus();
    editor->selectAll();
}
