// What the window shows of a preset loaded by the presets part: the size and face menus, the
// alignment and style buttons, the character table's face.
#include "main_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QToolButton>

void TForm1::ShowPresetFormatting() {
    zk::FormattingState& f = settings.fmt;
    CheckGroupItem(QStringLiteral("H"), 1, 7, f.FontSizeIndex);
    for (int i = 0; i <= 23; ++i) {
        QAction* item = MenuItem(QStringLiteral("T%1").arg(i));
        const bool chosen = item->data().toInt() == f.FontFaceIndex;
        item->setChecked(chosen);
        if (chosen)
            f.FontFace = item->text().toStdString();
    }
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
    ApplyCharacterTableFont();
}
