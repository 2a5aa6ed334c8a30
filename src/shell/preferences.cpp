// Opening and closing the preferences panel; its tabs are filled and read by ApplyPreferences.
#include "main_window.h"

#include <QTabWidget>

#include "dialogs.h"

void TForm1::BoutPreferencesClick() {
    if (Panel9->isVisible()) {
        ApplyPreferences();
        return;
    }
    if (settings.PreferencesPage >= PageControl1->count()) {
        // A page number from a hand-edited file: reported, and the panel stays closed (so
        // that OpenPanel never names a panel that is not shown).
        CloseOverlayPanels();
        zk::platform::dialogs().runtimeError(
            this, QStringLiteral("List index out of bounds (%1)").arg(settings.PreferencesPage));
        return;
    }
    ToggleOverlayPanel(
        9, [this] { PageControl1->setCurrentIndex(settings.PreferencesPage); },
        [this] { ApplyPreferences(); });
}

void TForm1::Prfrences1Click() {
    BoutPreferencesClick();
}

void TForm1::ApplyPreferences() {
    settings.PreferencesPage = static_cast<std::uint8_t>(PageControl1->currentIndex());
    CloseOverlayPanels();
}

void TForm1::BoutOKConf0Click() {
    ApplyPreferences();
}

namespace {
void openOnTab(TForm1* form, Qt::MouseButton button, int page) {
    if (button != Qt::RightButton)
        return;
    form->settings.PreferencesPage = static_cast<std::uint8_t>(page);
    form->BoutPreferencesClick();
}
} // namespace

void TForm1::BoutPreferencesMouseUp(Qt::MouseButton button) {
    openOnTab(this, button, 0);
}
void TForm1::BoutNavIntegreMouseUp(Qt::MouseButton button) {
    openOnTab(this, button, 0);
}
void TForm1::BoutSignMouseUp(Qt::MouseButton button) {
    openOnTab(this, button, 1);
}
void TForm1::BoutDegradeMouseUp(Qt::MouseButton button) {
    openOnTab(this, button, 2);
}
void TForm1::BoutScrollMouseUp(Qt::MouseButton button) {
    openOnTab(this, button, 3);
}
void TForm1::BoutVagueMouseUp(Qt::MouseButton button) {
    openOnTab(this, button, 4);
}
