// Insertions at the caret of Memo1: links made from the selection, the background sound,
// and the shared InsertAtCaret.
#include <QDir>
#include <QPlainTextEdit>
#include <QWidget>

#include "clipboard.h"
#include "dialogs.h"
#include "editor_text.h"
#include "insertions.h"
#include "main_window.h"
#include "text_files.h"

namespace {

// The undo copy every insertion takes: the whole text as it was.
void copyWholeTextForUndo(const zk::ui::EditorState& state) {
    zk::platform::setClipboardText(zk::ui::editorText(state.text));
}

} // namespace

void TForm1::InsertAtCaret(const QString& opening, const QString& closing) {
    UndoFromClipboard = 1;
    const zk::ui::EditorState before = zk::ui::readEditor(Memo1);
    copyWholeTextForUndo(before);
    const zk::CaretEdit edit = zk::insertAtCaret(before.text, before.start, before.length,
                                                 opening.toStdString(), closing.toStdString());
    zk::ui::replaceEditorText(Memo1, edit.text);
    zk::ui::placeCaret(Memo1, edit.text, edit.caret);
}

void TForm1::BoutLienClick() {
    const zk::ui::EditorState before = zk::ui::readEditor(Memo1);
    const zk::LinkPlan plan = zk::planLink(before.selected());
    if (plan.kind == zk::LinkKind::NothingSelected) {
        ShowError(QString::fromStdString(zk::linkNeedsSelectionMessage()));
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
    zk::ui::replaceEditorText(Memo1, edit.text);
    zk::ui::placeCaret(Memo1, edit.text, edit.caret);
}

void TForm1::CrerunLien1Click() {
    BoutLienClick();
}

void TForm1::BoutSoundClick() {
    UndoFromClipboard = 1; // also when the dialog is cancelled: the placeholder goes in
    const QString chosen = zk::platform::dialogs().openFileName(
        this, QStringLiteral("Ajouter un fichier audio"),
        QString::fromStdString(settings.LastFolder),
        QStringLiteral("Fichiers Audio (*.wav,*.mid,*.mp3)|*.wav;*.mid;*.mp3"));
    if (chosen.isEmpty()) {
        InsertAtCaret(QString::fromStdString(zk::soundPlaceholderTag()), QString());
        return;
    }
    const QString path = QDir::fromNativeSeparators(chosen);
    settings.LastFolder = zk::folderOf(path.toStdString());
    InsertAtCaret(QString::fromStdString(zk::soundTag(path.toStdString())), QString());
}
