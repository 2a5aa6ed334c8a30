#include "style_commands.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QColor>
#include <QGridLayout>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QWidgetAction>

#include <cstdint>

#include "colors.h"
#include "dialogs.h"
#include "formatting_state.h"
#include "icons.h"
#include "settings_file.h"
#include "widget_kit.h"
#include "window_host.h"

namespace zk::ui {

namespace {

using Row = zk::platform::Command<StyleCommands>;

// Columns: name, caption, hint, icon, shortcut, checkable, handler.
const Row kCommands[] = {
    {"BoutFntName", nullptr, "Police", nullptr, nullptr, false, nullptr, nullptr},
    {"BoutTaille", nullptr, "Taille", "taille", nullptr, false, nullptr, nullptr},
    {"BoutNormal", nullptr, "Normal", nullptr, nullptr, false,
     ZK_HANDLER(StyleCommands, BoutNormalClick)},
    {"BoutFontGras", nullptr, "Gras", nullptr, nullptr, true,
     ZK_HANDLER(StyleCommands, BoutFontGrasClick)},
    {"BoutFontItalique", nullptr, "Italique", nullptr, nullptr, true,
     ZK_HANDLER(StyleCommands, BoutFontItaliqueClick)},
    {"BoutFontSouligne", nullptr, "Souligné", nullptr, nullptr, true,
     ZK_HANDLER(StyleCommands, BoutFontSouligneClick)},
    {"BoutFontBarre", nullptr, "Barré", nullptr, nullptr, true,
     ZK_HANDLER(StyleCommands, BoutFontBarreClick)},
    {"BoutAlignGauche", nullptr, "Aligner à gauche", "gauche", nullptr, true,
     ZK_HANDLER(StyleCommands, BoutAlignGaucheClick)},
    {"BoutAlignCentre", nullptr, "Centrer", "centre", nullptr, true,
     ZK_HANDLER(StyleCommands, BoutAlignCentreClick)},
    {"BoutAlignDroite", nullptr, "Aligner à droite", "droite", nullptr, true,
     ZK_HANDLER(StyleCommands, BoutAlignDroiteClick)},
    {"BoutFontcouleur", nullptr, "Couleur de la police", "couleur", nullptr, false,
     ZK_HANDLER(StyleCommands, BoutFontcouleurClick)},
    {"BoutNoBal", nullptr, "Ignorer les balises de texte", "nobal", nullptr, true,
     ZK_HANDLER(StyleCommands, BoutNoBalClick)},
    {"BoutSign", nullptr, "Signature", "signature", nullptr, true,
     ZK_HANDLER(StyleCommands, BoutSignClick)},
    {"BoutScroll", nullptr, "Scrolling", "scrolling", nullptr, true,
     ZK_HANDLER(StyleCommands, BoutScrollClick)},
    {"BoutVague", nullptr, "Vagues", "vagues", nullptr, true,
     ZK_HANDLER(StyleCommands, BoutVagueClick)},
    {"BoutDegrade", nullptr, "Dégradé", "degrade", nullptr, true,
     ZK_HANDLER(StyleCommands, BoutDegradeClick)},
};

// Where MakeButton keeps each button.
struct ButtonMember {
    const char* name;
    QToolButton* StyleCommands::*member;
};
const ButtonMember kButtonMembers[] = {
    {"BoutFntName", &StyleCommands::BoutFntName},
    {"BoutTaille", &StyleCommands::BoutTaille},
    {"BoutNormal", &StyleCommands::BoutNormal},
    {"BoutFontGras", &StyleCommands::BoutFontGras},
    {"BoutFontItalique", &StyleCommands::BoutFontItalique},
    {"BoutFontSouligne", &StyleCommands::BoutFontSouligne},
    {"BoutFontBarre", &StyleCommands::BoutFontBarre},
    {"BoutAlignGauche", &StyleCommands::BoutAlignGauche},
    {"BoutAlignCentre", &StyleCommands::BoutAlignCentre},
    {"BoutAlignDroite", &StyleCommands::BoutAlignDroite},
    {"BoutFontcouleur", &StyleCommands::BoutFontcouleur},
    {"BoutNoBal", &StyleCommands::BoutNoBal},
    {"BoutSign", &StyleCommands::BoutSign},
    {"BoutScroll", &StyleCommands::BoutScroll},
    {"BoutVague", &StyleCommands::BoutVague},
    {"BoutDegrade", &StyleCommands::BoutDegrade},
};

std::uint8_t weightIf(bool down, int weight) {
    return static_cast<std::uint8_t>(down ? weight : 0);
}

} // namespace

const zk::platform::Command<StyleCommands>& StyleCommands::CommandRow(const char* name) {
    return zk::platform::commandRow(kCommands, name);
}

StyleCommands::StyleCommands(zk::platform::WindowHost& host, zk::AppSettings& settings,
                             QWidget* window)
    : QObject(window), host_(host), settings_(settings) {
    AlignGroup = new QButtonGroup(this);
    AlignGroup->setExclusive(true);
    buildSizeMenu(window);
    buildFaceMenu(window);
}

void StyleCommands::buildSizeMenu(QWidget* window) {
    Popup1 = new QMenu(window);
    Popup1->setObjectName(QStringLiteral("Popup1"));
    auto* sizes = new QActionGroup(Popup1);
    for (int i = 1; i <= 7; ++i) {
        QAction* item = zk::platform::makeGroupItem(Popup1, sizes, QStringLiteral("H%1").arg(i),
                                                    QStringLiteral("H&%1").arg(i), i);
        connect(item, &QAction::triggered, this,
                [this, item] { host_.commands().run("H1Click", [this, item] { H1Click(item); }); });
    }
}

// The faces in two columns, T12 heading the second: a grid of menu-like buttons, each
// driven by its item T0..T23.
void StyleCommands::buildFaceMenu(QWidget* window) {
    Popup6 = new QMenu(window);
    Popup6->setObjectName(QStringLiteral("Popup6"));
    FaceColumns = new QWidget(Popup6);
    FaceColumns->setObjectName(QStringLiteral("FaceColumns"));
    auto* grid = new QGridLayout(FaceColumns);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(0);
    const QIcon check = zk::platform::checkMarkIcon();
    for (int i = 0; i < static_cast<int>(zk::kFontFaceNames.size()); ++i) {
        auto* item =
            new QAction(QString::fromUtf8(zk::kFontFaceNames[static_cast<std::size_t>(i)]), Popup6);
        item->setObjectName(QStringLiteral("T%1").arg(i));
        item->setCheckable(true);
        item->setData(i);
        item->setProperty("Tag", i);
        auto* cell = new QPushButton(item->text(), FaceColumns);
        cell->setObjectName(QStringLiteral("FaceCell%1").arg(i));
        cell->setCheckable(true);
        cell->setFlat(true);
        cell->setIcon(check);
        cell->setFocusPolicy(Qt::StrongFocus);
        cell->setStyleSheet(QStringLiteral(
            "QPushButton { text-align: left; border: none; padding: 3px 12px 3px 2px; }"
            "QPushButton:hover, QPushButton:focus { background: palette(highlight);"
            " color: palette(highlighted-text); }"));
        connect(cell, &QPushButton::clicked, item, [item, cell, this] {
            cell->setChecked(item->isChecked()); // the item decides, not the click
            Popup6->hide();
            item->trigger();
        });
        connect(item, &QAction::toggled, cell, &QPushButton::setChecked);
        connect(item, &QAction::triggered, this,
                [this, item] { host_.commands().run("T0Click", [this, item] { T0Click(item); }); });
        grid->addWidget(cell, i % 12, i / 12);
    }
    auto* columns = new QWidgetAction(Popup6);
    columns->setDefaultWidget(FaceColumns);
    Popup6->addAction(columns);
}

QToolButton* StyleCommands::MakeButton(QWidget* toolbar, const char* name) {
    QToolButton* b = host_.commands().button(toolbar, this, CommandRow(name));
    for (const ButtonMember& m : kButtonMembers) {
        if (qstrcmp(m.name, name) == 0)
            this->*m.member = b;
    }
    using zk::platform::setCaption;
    if (b == BoutFntName) {
        setCaption(b, QStringLiteral("P"), QColor(128, 0, 0));
        zk::platform::makeDropDown(b, Popup6);
    } else if (b == BoutTaille) {
        zk::platform::makeDropDown(b, Popup1);
    } else if (b == BoutNormal) {
        setCaption(b, QStringLiteral("N"), QColor(0, 128, 128));
    } else if (b == BoutFontGras) {
        setCaption(b, QStringLiteral("G"), QColor());
    } else if (b == BoutFontItalique) {
        setCaption(b, QStringLiteral("I"), QColor(), true);
    } else if (b == BoutFontSouligne) {
        setCaption(b, QStringLiteral("S"), QColor(), false, true);
    } else if (b == BoutFontBarre) {
        setCaption(b, QStringLiteral("B"), QColor(), false, false, true);
    } else if (b == BoutAlignGauche || b == BoutAlignCentre || b == BoutAlignDroite) {
        AlignGroup->addButton(b);
        b->setChecked(b == BoutAlignGauche);
    }
    return b;
}

// ---- Handlers ----

void StyleCommands::BoutNormalClick() {
    zk::FormattingState& f = settings_.fmt;
    f.Bold = 0;
    f.Italic = 0;
    f.Underline = 0;
    f.StrikeOut = 0;
    for (QToolButton* b : {BoutFontGras, BoutFontItalique, BoutFontSouligne, BoutFontBarre})
        b->setChecked(false);
}

void StyleCommands::BoutFontGrasClick() {
    settings_.fmt.Bold = weightIf(BoutFontGras->isChecked(), 1);
}
void StyleCommands::BoutFontItaliqueClick() {
    settings_.fmt.Italic = weightIf(BoutFontItalique->isChecked(), 2);
}
void StyleCommands::BoutFontSouligneClick() {
    settings_.fmt.Underline = weightIf(BoutFontSouligne->isChecked(), 4);
}
void StyleCommands::BoutFontBarreClick() {
    settings_.fmt.StrikeOut = weightIf(BoutFontBarre->isChecked(), 8);
}

void StyleCommands::BoutFontcouleurClick() {
    if (const auto chosen = zk::platform::dialogs().chooseColor(
            host_.hostWindow(), zk::ui::toQColor(settings_.fmt.FontColor)))
        settings_.fmt.FontColor = zk::ui::fromQColor(*chosen);
}

void StyleCommands::BoutAlignGaucheClick() {
    settings_.fmt.Alignment = 0;
}
void StyleCommands::BoutAlignCentreClick() {
    settings_.fmt.Alignment = 1;
}
void StyleCommands::BoutAlignDroiteClick() {
    settings_.fmt.Alignment = 2;
}

void StyleCommands::H1Click(QAction* sender) {
    const int tag = sender->data().toInt();
    settings_.fmt.FontSizeIndex = static_cast<std::uint8_t>(tag);
    checkGroupItem(Popup1, QStringLiteral("H"), 1, 7, tag);
}

void StyleCommands::T0Click(QAction* sender) {
    const int tag = sender->data().toInt();
    settings_.fmt.FontFaceIndex = static_cast<std::uint8_t>(tag);
    checkGroupItem(Popup6, QStringLiteral("T"), 0, 23, tag);
    zk::ApplyFontFaceIndex(settings_.fmt); // the face's name from the table, not the caption
    emit faceChanged();
}

void StyleCommands::BoutNoBalClick() {
    settings_.fmt.IgnoreTextTags ^= 1;
}
void StyleCommands::BoutSignClick() {
    settings_.fmt.SignatureOn ^= 1;
}
void StyleCommands::BoutScrollClick() {
    settings_.fmt.ScrollingOn ^= 1;
}
void StyleCommands::BoutVagueClick() {
    settings_.fmt.WavesOn ^= 1;
}
void StyleCommands::BoutDegradeClick() {
    settings_.fmt.GradientOn ^= 1;
}

// ---- From the state ----

void StyleCommands::checkGroupItem(QMenu* menu, const QString& letter, int first, int last,
                                   int chosen) {
    for (int i = first; i <= last; ++i) {
        if (auto* item = menu->findChild<QAction*>(letter + QString::number(i)))
            item->setChecked(i == chosen);
    }
}

void StyleCommands::SetMenuChecksFromState() {
    checkGroupItem(Popup6, QStringLiteral("T"), 0, 23, settings_.fmt.FontFaceIndex);
    checkGroupItem(Popup1, QStringLiteral("H"), 1, 7, settings_.fmt.FontSizeIndex);
}

void StyleCommands::setTextStyleButtons() {
    const zk::FormattingState& f = settings_.fmt;
    // The alignment group keeps one button down; a value outside 0..2 leaves none down.
    AlignGroup->setExclusive(false);
    BoutAlignGauche->setChecked(f.Alignment == 0);
    BoutAlignCentre->setChecked(f.Alignment == 1);
    BoutAlignDroite->setChecked(f.Alignment == 2);
    AlignGroup->setExclusive(true);
    BoutFontGras->setChecked(f.Bold != 0);
    BoutFontItalique->setChecked(f.Italic != 0);
    BoutFontSouligne->setChecked(f.Underline != 0);
    BoutFontBarre->setChecked(f.StrikeOut != 0);
}

void StyleCommands::SetButtonsFromState() {
    const zk::FormattingState& f = settings_.fmt;
    setTextStyleButtons();
    BoutNoBal->setChecked(f.IgnoreTextTags == 1);
    BoutSign->setChecked(f.SignatureOn == 1);
    BoutScroll->setChecked(f.ScrollingOn == 1);
    BoutVague->setChecked(f.WavesOn == 1);
    BoutDegrade->setChecked(f.GradientOn == 1);
}

void StyleCommands::ShowPresetFormatting() {
    SetMenuChecksFromState();
    // An index that names no face leaves the face as it was, with no item checked.
    zk::ApplyFontFaceIndex(settings_.fmt);
    setTextStyleButtons();
    emit faceChanged();
}

} // namespace zk::ui
