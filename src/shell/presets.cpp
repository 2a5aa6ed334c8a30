// The eight presets of the basic formatting: choosing a slot loads its file, "&Sauvegarder"
// writes the present formatting into the current slot.
#include "main_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QFile>
#include <QToolButton>

#include <cerrno>

#include "data_path.h"
#include "dialogs.h"
#include "preset_file.h"

QString TForm1::PresetPath(int slot) const {
    return zk::platform::dataPath(AppFolder, zk::data::kPresets) + QLatin1Char('/') +
           QString::fromStdString(zk::presetFileName(slot));
}

void TForm1::P1Click(QAction* sender) {
    LoadPreset(static_cast<std::uint8_t>(sender->data().toInt() - 1));
}

void TForm1::LoadPreset(std::uint8_t n) {
    CheckGroupItem(QStringLiteral("P"), 1, 8, n + 1);
    settings.PresetIndex = n; // current whether or not its file exists

    zk::FormattingState& f = settings.fmt;
    const QString path = PresetPath(n);
    const zk::LoadResult loaded = zk::LoadPresetFile(QFile::encodeName(path).toStdString(), f);
    // "&Sauvegarder" writes the whole file: what could not be read is kept first.
    const QString kept = loaded.partlyRead() ? KeepCopyOfUnreadFile(path) : QString();
    if (loaded.status == zk::LoadResult::Missing || loaded.status == zk::LoadResult::TooBig) {
        ShowError(QStringLiteral("\r\nConfiguration non définie"));
        return;
    }
    if (loaded.status == zk::LoadResult::InvalidNumber) {
        // The values read before the bad line are kept; menus and buttons are left as they
        // were until the next load.
        zk::platform::dialogs().runtimeError(this,
                                             QString::fromLatin1(zk::kInvalidNumericInput) + kept);
        return;
    }

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

void TForm1::SauvegarderPClick() {
    const QString path = PresetPath(settings.PresetIndex);
    const zk::WriteResult written =
        MayReplace(path) ? zk::SavePresetFile(QFile::encodeName(path).toStdString(), settings.fmt)
                         : zk::WriteResult{zk::WriteStatus::CannotCreate, EEXIST};
    if (written.status == zk::WriteStatus::CannotCreate)
        ShowError(QString::fromStdString(zk::writeErrorMessage(written)));
    else if (!written.ok())
        zk::platform::dialogs().runtimeError(
            this, QString::fromStdString(zk::writeErrorMessage(written)));
}
