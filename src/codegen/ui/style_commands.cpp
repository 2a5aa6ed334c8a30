// Style commands: they only change the formatting state.
#include "main_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QColor>
#include <QToolButton>

#include "colors.h"
#include "dialogs.h"

namespace {

std::uint8_t weightIf(bool down, int weight) {
    return static_cast<std::uint8_t>(down ? weight : 0);
}

} // namespace

void TForm1::BoutNormalClick() {
    settings.fmt.Bold = 0;
    settings.fmt.Italic = 0;
    settings.fmt.Underline = 0;
    settings.fmt.StrikeOut = 0;
    for (QToolButton* b : {BoutFontGras, BoutFontItalique, BoutFontSouligne, BoutFontBarre})
        b->setChecked(false);
}

void TForm1::BoutFontGrasClick() {
    settings.fmt.Bold = weightIf(BoutFontGras->isChecked(), 1);
}
void TForm1::BoutFontItaliqueClick() {
    settings.fmt.Italic = weightIf(BoutFontItalique->isChecked(), 2);
}
void TForm1::BoutFontSouligneClick() {
    settings.fmt.Underline = weightIf(BoutFontSouligne->isChecked(), 4);
}
void TForm1::BoutFontBarreClick() {
    settings.fmt.StrikeOut = weightIf(BoutFontBarre->isChecked(), 8);
}

void TForm1::BoutFontcouleurClick() {
    if (const auto chosen =
            zk::platform::dialogs().chooseColor(this, zk::ui::toQColor(settings.fmt.FontColor)))
        settings.fmt.FontColor = zk::ui::fromQColor(*chosen);
}

void TForm1::BoutAlignGaucheClick() {
    settings.fmt.Alignment = 0;
}
void TForm1::BoutAlignCentreClick() {
    settings.fmt.Alignment = 1;
}
void TForm1::BoutAlignDroiteClick() {
    settings.fmt.Alignment = 2;
}

void TForm1::H1Click(QAction* sender) {
    const int tag = sender->data().toInt();
    settings.fmt.FontSizeIndex = static_cast<std::uint8_t>(tag);
    CheckGroupItem(QStringLiteral("H"), 1, 7, tag);
}

void TForm1::T0Click(QAction* sender) {
    const int tag = sender->data().toInt();
    settings.fmt.FontFaceIndex = static_cast<std::uint8_t>(tag);
    CheckGroupItem(QStringLiteral("T"), 0, 23, tag);
    zk::ApplyFontFaceIndex(settings.fmt); // the face's name from the table, not the caption
    ApplyCharacterTableFont();
}

void TForm1::BoutNoBalClick() {
    settings.fmt.IgnoreTextTags ^= 1;
}
void TForm1::BoutSignClick() {
    settings.fmt.SignatureOn ^= 1;
}
void TForm1::BoutScrollClick() {
    settings.fmt.ScrollingOn ^= 1;
}
void TForm1::BoutVagueClick() {
    settings.fmt.WavesOn ^= 1;
}
void TForm1::BoutDegradeClick() {
    settings.fmt.GradientOn ^= 1;
}

void TForm1::SetMenuChecksFromState() {
    CheckGroupItem(QStringLiteral("T"), 0, 23, settings.fmt.FontFaceIndex);
    CheckGroupItem(QStringLiteral("H"), 1, 7, settings.fmt.FontSizeIndex);
    CheckGroupItem(QStringLiteral("P"), 1, 8, settings.PresetIndex + 1);
}

void TForm1::SetButtonsFromState() {
    const zk::FormattingState& f = settings.fmt;
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
    BoutNoBal->setChecked(f.IgnoreTextTags == 1);
    BoutSign->setChecked(f.SignatureOn == 1);
    BoutScroll->setChecked(f.ScrollingOn == 1);
    BoutVague->setChecked(f.WavesOn == 1);
    BoutDegrade->setChecked(f.GradientOn == 1);
    BoutTop->setChecked(settings.AlwaysOnTop == 1);
}
