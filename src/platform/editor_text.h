// The editors' text as the core reads and writes it: the one conversion between the two. The core
// works on UTF-8 with CR LF line breaks and byte offsets; the editor holds UTF-16 with one position
// per line break. Everything that crosses between the two goes through here.
#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace zk::ui {

// The editor's text and its selection (or caret) in the core's terms.
struct EditorState final {
    std::string text;       // the whole text: UTF-8, CR LF
    std::size_t start = 0;  // bytes before the selection or the caret
    std::size_t length = 0; // bytes selected; 0 without a selection
    std::string_view selected() const { return std::string_view(text).substr(start, length); }
};
EditorState readEditor(const QPlainTextEdit* editor);

// Text of the editor or the clipboard (any line break) in the core's form.
std::string coreText(const QString& text);
// The editor's whole text in the core's form; no-break spaces stay as they are.
std::string coreText(const QPlainTextEdit* editor);
// Core text in the form the editor and the clipboard hold: line breaks as "\n".
QString editorText(std::string_view core);

// The editor position of byte offset `offset` of core text `core`.
int editorPosition(std::string_view core, std::size_t offset);

// Makes the editor hold `core`, as one step of its own undo: only the part that differs is
// replaced, so the view does not jump. The caret ends after the replaced part.
void replaceEditorText(QPlainTextEdit* editor, std::string_view core);

// Makes the editor hold `core` as a new document (its own undo history starts again).
void setEditorText(QPlainTextEdit* editor, std::string_view core);

// Puts the caret at byte offset `offset` of the editor's (core) text, nothing selected.
void placeCaret(QPlainTextEdit* editor, std::string_view core, std::size_t offset);

} // namespace zk::ui
