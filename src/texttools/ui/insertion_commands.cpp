// Insertions at the caret of the editor (Memo1): links made from the selection, the background
// sound, and the shared InsertAtCaret.
#include "text_tools.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QWidget>

#include "clipboard.h"
#include "dialogs.h"
#include "editor_text.h"
#include "insertions.h"
#include "settings_file.h"
#include "text_files.h"
#include "window_host.h"

namespace zk::ui {

namespace {

// The undo copy every insertion takes: the whole text as it was.
void copyWholeTextForUndo(const zk::ui::EditorState& state) {
    zk::platform::setClipboardText(zk::ui::editorText(state.text));
}

} // namespace

void TextTools::InsertAtCaret(const QString& opening, const QString& closing) {
    UndoFromClipboard = 1;
    const zk::ui::EditorState before = zk::ui::readEditor(editor_);
    copyWholeTextForUndo(before);
    const zk::CaretEdit edit = zk::insertAtCaret(before.text, before.start, before.length,
                                                 opening.toStdString(), closing.toStdString());
    zk::ui::replaceEditorText(editor_, edit.text);
    zk::ui::placeCaret(editor_, edit.text, edit.caret);
}

void TextTools::BoutLienClick() {
    const zk::ui::EditorState before = zk::ui::readEditor(editor_);
    const zk::LinkPlan plan = zk::planLink(before.selected());
    if (plan.kind == zk::LinkKind::NothingSelected) {
        host_.ShowError(QString::fromStdString(zk::linkNeedsSelectionMessage()));
        return;
    }
    UndoFromClipboard = 1;
    if (plan.kind == zk::LinkKind::TextLink) {
        InsertAtCaret(QString::fromStdString(plan.opening), QString::fromStdString(plan.closing));
        return;
    }
    // An image tag becomes a link to its own address, the caret after it.
    copyWholeTextForUndo(before);
    const zk::CaretEdit edit =
        zk::replaceSelection(before.text, before.start, before.length, plan.replacement);
    zk::ui::replaceEditorText(editor_, edit.text);
    zk::ui::placeCaret(editor_, edit.text, edit.caret);
}

void TextTools::CrerunLien1Click() {
    BoutLienClick();
}

void TextTools::BoutSoundClick() {
    UndoFromClipboard = 1; // also when the dialog is cancelled: the placeholder goes in
    const QString chosen = zk::platform::dialogs().openFileName(
        host_.hostWindow(), QStringLiteral("Ajouter un fichier audio"),
        QString::fromStdString(settings_.LastFolder),
        QStringLiteral("Fichiers Audio (*.wav,*.mid,*.mp3)|*.wav;*.mid;*.mp3"));
    if (chosen.isEmpty()) {
        InsertAtCaret(QString::fromStdString(zk::soundPlaceholderTag()), QString());
        return;
    }
    const QString path = QDir::fromNativeSeparators(chosen);
    settings_.LastFolder = zk::folderOf(path.toStdString());
    InsertAtCaret(QString::fromStdString(zk::soundTag(path.toStdString())), QString());
}

} // namespace zk::ui
