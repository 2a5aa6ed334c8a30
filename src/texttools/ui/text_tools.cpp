#include "text_tools.h"

#include <QMenu>
#include <QPlainTextEdit>

#include <iterator>

#include "clipboard.h"
#include "code_output.h"
#include "editor_text.h"
#include "effect_edit.h"
#include "settings_file.h"
#include "window_host.h"

namespace zk::ui {

namespace {

using Row = zk::platform::Command<TextTools>;

// Columns: name, caption, hint, icon, shortcut, checkable, handler.
const Row kCommands[] = {
    {"BoutNouveau", nullptr, "Nouveau", "nouveau", nullptr, false,
     ZK_HANDLER(TextTools, BoutNouveauClick)},
    {"BoutOuvrir", nullptr, "Ouvrir un fichier", "ouvrir", nullptr, false,
     ZK_HANDLER(TextTools, BoutOuvrirClick)},
    {"BoutSauver", nullptr, "Sauvegarder un fichier texte ou HTML", "sauver", nullptr, false,
     ZK_HANDLER(TextTools, BoutSauverClick)},
    {"BoutCouper", nullptr, "Couper - Shift+Del", "couper", nullptr, false,
     ZK_HANDLER(TextTools, BoutCouperClick)},
    {"BoutCopier", nullptr, "Copier - Ctrl+Ins", "copier", nullptr, false,
     ZK_HANDLER(TextTools, BoutCopierClick)},
    {"BoutColler", nullptr, "Coller - Shift+Ins", "coller", nullptr, false,
     ZK_HANDLER(TextTools, BoutCollerClick)},
    {"BoutUndo", nullptr, "Annuler - Ctrl+Z", "undo", nullptr, false,
     ZK_HANDLER(TextTools, BoutUndoClick)},
    {"BoutSound", nullptr, "Ajouter un son", "son", nullptr, false,
     ZK_HANDLER(TextTools, BoutSoundClick)},
    {"BoutLien", nullptr, "Créer un lien - Ctrl+L", "lien", nullptr, false,
     ZK_HANDLER(TextTools, BoutLienClick)},
    {"BoutMisc", nullptr, "Effets de texte", "effets", nullptr, false, nullptr, nullptr},
    {"Couper1", "&Couper", nullptr, nullptr, "Shift+Del", false,
     ZK_HANDLER(TextTools, Couper1Click)},
    {"Copier1", "Co&pier", nullptr, nullptr, "Ctrl+Ins", false,
     ZK_HANDLER(TextTools, Copier1Click)},
    {"Coller1", "Co&ller", nullptr, nullptr, "Shift+Ins", false,
     ZK_HANDLER(TextTools, Coller1Click)},
    {"Annuler1", "&Annuler", nullptr, nullptr, "Ctrl+Z", false,
     ZK_HANDLER(TextTools, Annuler1Click)},
    {"ToutSelectionner1", "&Tout Sélectionner", nullptr, nullptr, nullptr, false,
     ZK_HANDLER(TextTools, ToutSelectionner1Click)},
    {"CrerunLien1", "Créer un &Lien", nullptr, nullptr, "Ctrl+L", false,
     ZK_HANDLER(TextTools, CrerunLien1Click)},
};

// The handler of each effect, by its number; name and caption come from the core's table.
struct EffectHandler {
    const char* handlerName;
    void (TextTools::*handler)();
};
const EffectHandler kEffectHandlers[] = {
    {ZK_HANDLER(TextTools, C2Click)},  {ZK_HANDLER(TextTools, C3Click)},
    {ZK_HANDLER(TextTools, C4Click)},  {ZK_HANDLER(TextTools, C5Click)},
    {ZK_HANDLER(TextTools, C6Click)},  {ZK_HANDLER(TextTools, C7Click)},
    {ZK_HANDLER(TextTools, C8Click)},  {ZK_HANDLER(TextTools, C9Click)},
    {ZK_HANDLER(TextTools, C10Click)}, {ZK_HANDLER(TextTools, C11Click)},
    {ZK_HANDLER(TextTools, C12Click)}, {ZK_HANDLER(TextTools, C13Click)},
};
static_assert(std::size(kEffectHandlers) == zk::kLastTextEffectNumber);

// The menu's order: the dialects after a separator, Viking above Atchoum; 0 the separator.
constexpr int kMenuOrder[] = {1, 2, 3, 4, 5, 6, 7, 8, 0, 9, 10, 12, 11};

} // namespace

const zk::platform::Command<TextTools>& TextTools::CommandRow(const char* name) {
    return zk::platform::commandRow(kCommands, name);
}

TextTools::TextTools(zk::platform::WindowHost& host, zk::AppSettings& settings,
                     QPlainTextEdit* editor, CodeOutput& codeOutput, QWidget* window)
    : QObject(window), host_(host), settings_(settings), editor_(editor), codeOutput_(codeOutput) {
    zk::platform::CommandBuilder& commands = host_.commands();
    Popup3 = new QMenu(window);
    Popup3->setObjectName(QStringLiteral("Popup3"));
    QAction** items[] = {&C2, &C3, &C4, &C5, &C6, &C7, &C8, &C9, &C10, &C11, &C12, &C13};
    for (const int number : kMenuOrder) {
        if (number == 0) {
            commands.separator(Popup3, "N4");
            continue;
        }
        const zk::TextEffectInfo* info = zk::textEffectInfo(number);
        const EffectHandler& h = kEffectHandlers[number - zk::kFirstTextEffect];
        const Row row{info->menuItem, info->caption, nullptr,       nullptr,
                      nullptr,        false,         h.handlerName, h.handler};
        *items[number - zk::kFirstTextEffect] = commands.item(Popup3, this, row);
    }
}

void TextTools::BeginTextEffect(int number) {
    settings_.LastTextEffect = static_cast<std::uint8_t>(number);
    UndoFromClipboard = 1;
    zk::platform::setClipboardText(zk::ui::editorText(zk::ui::coreText(editor_)));
}

void TextTools::RunTextEffect(int number) {
    // The selection is the one present when the command starts; the frame leaves it.
    const zk::ui::EditorState before = zk::ui::readEditor(editor_);
    BeginTextEffect(number);
    const std::optional<zk::EffectEdit> edit =
        zk::applyTextEffectInPlace(number, before.text, before.start, before.length, EffectRng);
    if (!edit)
        return;
    zk::ui::replaceEditorText(editor_, edit->text);
    // A replaced selection leaves the caret after the result, as typing over it would; a
    // new whole text puts it at the start, as setting an edit box's text does.
    zk::ui::placeCaret(editor_, edit->text,
                       edit->target == zk::EffectTarget::Selection ? edit->start + edit->length
                                                                   : 0);
}

void TextTools::C2Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::Mirror));
}
void TextTools::C3Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::LowerCase));
}
void TextTools::C4Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::UpperCase));
}
void TextTools::C5Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::AlternateLower));
}
void TextTools::C6Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::AlternateUpper));
}
void TextTools::C7Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::SpaceOut));
}
void TextTools::C8Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::RemoveSpaces));
}
void TextTools::C9Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::Hacker));
}
void TextTools::C10Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::Choucroute));
}
void TextTools::C11Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::DomTom));
}
void TextTools::C12Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::Atchoum));
}
void TextTools::C13Click() {
    RunTextEffect(static_cast<int>(zk::TextEffect::Viking));
}

} // namespace zk::ui
