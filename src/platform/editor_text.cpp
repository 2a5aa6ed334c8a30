#include "editor_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace zk::ui {
namespace {

// The document's own text, one character per position; no-break spaces stay as they are.
QString rawText(const QPlainTextEdit* editor) {
    return editor->document()->toRawText();
}

} // namespace

std::string coreText(const QString& text) {
    QString t = text;
    t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    t.replace(QChar::LineSeparator, QLatin1Char('\n'));
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t.toStdString();
}

QString editorText(std::string_view core) {
    QString t = QString::fromUtf8(core.data(), static_cast<qsizetype>(core.size()));
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

std::string coreText(const QPlainTextEdit* editor) {
    return coreText(rawText(editor));
}

void setEditorText(QPlainTextEdit* editor, std::string_view core) {
    editor->setPlainText(editorText(core));
}

EditorState readEditor(const QPlainTextEdit* editor) {
    const QString raw = rawText(editor);
    const QTextCursor cursor = editor->textCursor();
    EditorState state;
    state.text = coreText(raw);
    // A prefix converts to the same bytes as the start of the whole text.
    state.start = coreText(raw.left(cursor.selectionStart())).size();
    const std::size_t end = coreText(raw.left(cursor.selectionEnd())).size();
    state.length = end - state.start;
    return state;
}

int editorPosition(std::string_view core, std::size_t offset) {
    return static_cast<int>(editorText(core.substr(0, std::min(offset, core.size()))).size());
}

void replaceEditorText(QPlainTextEdit* editor, std::string_view core) {
    QString old = rawText(editor);
    old.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const QString now = editorText(core);
    const qsizetype shorter = std::min(old.size(), now.size());
    qsizetype head = 0;
    while (head < shorter && old[head] == now[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && old[old.size() - 1 - tail] == now[now.size() - 1 - tail])
        ++tail;
    // Never cut a surrogate pair in two.
    if (head > 0 && old[head - 1].isHighSurrogate())
        --head;
    if (tail > 0 && old[old.size() - tail].isLowSurrogate())
        --tail;
    QTextCursor cursor(editor->document());
    if (head == old.size() && head == now.size()) {
        cursor.setPosition(static_cast<int>(head));
    } else {
        // One block of its own, never merged with the typing that comes before or after.
        cursor.beginEditBlock();
        cursor.setPosition(static_cast<int>(head));
        cursor.setPosition(static_cast<int>(old.size() - tail), QTextCursor::KeepAnchor);
        cursor.insertText(now.mid(head, now.size() - tail - head));
        cursor.endEditBlock();
    }
    editor->setTextCursor(cursor);
}

void placeCaret(QPlainTextEdit* editor, std::string_view core, std::size_t offset) {
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(editorPosition(core, offset));
    editor->setTextCursor(cursor);
}

} // namespace zk::ui
