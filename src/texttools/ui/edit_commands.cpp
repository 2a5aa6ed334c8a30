// Cut, copy, paste, undo and select all, on the editor (Memo1) or on the code view while it is
// shown. Undo has two modes: the editor's own undo, or after a text effect or an insertion the
// exchange of the whole text with the clipboard.
#include "text_tools.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include "clipboard.h"
#include "code_output.h"
#include "editor_text.h"
#include "plain_memo.h"
#include "window_host.h"

namespace zk::ui {

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

QPlainTextEdit* TextTools::EditTarget() const {
    return codeOutput_.CodeViewOpen() ? codeOutput_.Memo2 : editor_;
}

void TextTools::BoutCouperClick() {
    if (!codeOutput_.CodeViewOpen())
        UndoFromClipboard = 0;
    cutSelection(EditTarget());
}

void TextTools::BoutCopierClick() {
    if (!codeOutput_.CodeViewOpen())
        UndoFromClipboard = 0;
    copySelection(EditTarget());
}

void TextTools::BoutCollerClick() {
    if (!codeOutput_.CodeViewOpen())
        UndoFromClipboard = 0;
    EditTarget()->paste();
}

void TextTools::BoutUndoClick() {
    if (codeOutput_.CodeViewOpen()) {
        codeOutput_.Memo2->undo();
        return;
    }
    if (UndoFromClipboard == 0) {
        editor_->undo();
        return;
    }
    // The exchange: the text goes to the clipboard and the clipboard's text comes back, so
    // a second Undo brings the first text again.
    const std::string text = zk::ui::coreText(editor_);
    const std::string fromClipboard = zk::ui::coreText(zk::platform::clipboardText());
    zk::ui::replaceEditorText(editor_, fromClipboard);
    zk::ui::placeCaret(editor_, fromClipboard, 0); // a whole text set: the caret at its start
    zk::platform::setClipboardText(zk::ui::editorText(text));
}

void TextTools::Couper1Click() {
    BoutCouperClick();
}
void TextTools::Copier1Click() {
    BoutCopierClick();
}
void TextTools::Coller1Click() {
    BoutCollerClick();
}
void TextTools::Annuler1Click() {
    BoutUndoClick();
}

void TextTools::ToutSelectionner1Click() {
    QPlainTextEdit* editor = EditTarget();
    editor->setFocus();
    editor->selectAll();
}

} // namespace zk::ui
