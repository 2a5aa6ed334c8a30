// The twelve text effects of the "Effets de texte" menu: the frame, the target rule and
// writing the result back into Memo1.
#include <QPlainTextEdit>

#include "clipboard.h"
#include "editor_text.h"
#include "effect_edit.h"
#include "main_window.h"

void TForm1::BeginTextEffect(int number) {
    settings.LastTextEffect = static_cast<std::uint8_t>(number);
    UndoFromClipboard = 1;
    zk::platform::setClipboardText(zk::ui::editorText(zk::ui::coreText(Memo1)));
}

void TForm1::RunTextEffect(int number) {
    // The selection is the one present when the command starts; the frame leaves it.
    const zk::ui::EditorState before = zk::ui::readEditor(Memo1);
    BeginTextEffect(number);
    const std::optional<zk::EffectEdit> edit =
        zk::applyTextEffectInPlace(number, before.text, before.start, before.length, EffectRng);
    if (!edit)
        return;
    zk::ui::replaceEditorText(Memo1, edit->text);
    // A replaced selection leaves the caret after the result, as typing over it would; a
    // new whole text puts it at the start, as setting an edit box's text does.
    zk::ui::placeCaret(Memo1, edit->text,
                       edit->target == zk::EffectTarget::Selection ? edit->start + edit->length
                                                                   : 0);
}

void TForm1::C2Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::Mirror));
}
void TForm1::C3Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::LowerCase));
}
void TForm1::C4Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::UpperCase));
}
void TForm1::C5Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::AlternateLower));
}
void TForm1::C6Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::AlternateUpper));
}
void TForm1::C7Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::SpaceOut));
}
void TForm1::C8Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::RemoveSpaces));
}
void TForm1::C9Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::Hacker));
}
void TForm1::C10Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::Choucroute));
}
void TForm1::C11Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::DomTom));
}
void TForm1::C12Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::Atchoum));
}
void TForm1::C13Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::Viking));
}
