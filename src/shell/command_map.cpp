// The command map: the tables of the window's commands (toolbars, menus), from which its
// buttons and menu items are built, and the wiring of what is not a table row (group items,
// panel controls, the tray). Keyboard shortcuts belong to the context menus (see
// CommandBuilder::dispatchShortcut).
#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>

#include "code_output.h"
#include "commands.h"
#include "image_list_panel.h"
#include "preferences_panel.h"
#include "presets.h"
#include "tray.h"

namespace {

using Row = zk::platform::Command<TForm1>;

// Columns: name, caption, hint, icon, shortcut, checkable, handler.
const Row kTopToolbar[] = {
    {"BoutFntName", nullptr, "Police", nullptr, nullptr, false, nullptr, nullptr},
    {"BoutTaille", nullptr, "Taille", "taille", nullptr, false, nullptr, nullptr},
    {"BoutNormal", nullptr, "Normal", nullptr, nullptr, false, ZK_HANDLER(TForm1, BoutNormalClick)},
    {"BoutFontGras", nullptr, "Gras", nullptr, nullptr, true,
     ZK_HANDLER(TForm1, BoutFontGrasClick)},
    {"BoutFontItalique", nullptr, "Italique", nullptr, nullptr, true,
     ZK_HANDLER(TForm1, BoutFontItaliqueClick)},
    {"BoutFontSouligne", nullptr, "Souligné", nullptr, nullptr, true,
     ZK_HANDLER(TForm1, BoutFontSouligneClick)},
    {"BoutFontBarre", nullptr, "Barré", nullptr, nullptr, true,
     ZK_HANDLER(TForm1, BoutFontBarreClick)},
    {"BoutAlignGauche", nullptr, "Aligner à gauche", "gauche", nullptr, true,
     ZK_HANDLER(TForm1, BoutAlignGaucheClick)},
    {"BoutAlignCentre", nullptr, "Centrer", "centre", nullptr, true,
     ZK_HANDLER(TForm1, BoutAlignCentreClick)},
    {"BoutAlignDroite", nullptr, "Aligner à droite", "droite", nullptr, true,
     ZK_HANDLER(TForm1, BoutAlignDroiteClick)},
    {"BoutFontcouleur", nullptr, "Couleur de la police", "couleur", nullptr, false,
     ZK_HANDLER(TForm1, BoutFontcouleurClick)},
    {"BoutNoBal", nullptr, "Ignorer les balises de texte", "nobal", nullptr, true,
     ZK_HANDLER(TForm1, BoutNoBalClick)},
    {"BoutTop", nullptr, "Toujours visible", "top", nullptr, true,
     ZK_HANDLER(TForm1, BoutTopClick)},
};

const Row kSideToolbar[] = {
    {"BoutSign", nullptr, "Signature", "signature", nullptr, true,
     ZK_HANDLER(TForm1, BoutSignClick)},
    {"BoutScroll", nullptr, "Scrolling", "scrolling", nullptr, true,
     ZK_HANDLER(TForm1, BoutScrollClick)},
    {"BoutVague", nullptr, "Vagues", "vagues", nullptr, true, ZK_HANDLER(TForm1, BoutVagueClick)},
    {"BoutDegrade", nullptr, "Dégradé", "degrade", nullptr, true,
     ZK_HANDLER(TForm1, BoutDegradeClick)},
    {"BoutPredefini", nullptr, "Prédéfinis", "predefinis", nullptr, false, nullptr, nullptr},
    {"BoutHelp", nullptr, "Aide - F1", "aide", nullptr, false, ZK_HANDLER(TForm1, BoutHelpClick)},
};

// The editors' context menu (Popup5) and the tray's (Popup9).
const Row kMenuItems[] = {
    {"AideF11", "Ai&de", nullptr, nullptr, "F1", false, ZK_HANDLER(TForm1, AideF11Click)},
    {"AfficherTray", "&Afficher", nullptr, nullptr, nullptr, false,
     ZK_HANDLER(TForm1, AfficherTrayClick)},
    {"CacherTray", "&Réduire", nullptr, nullptr, nullptr, false,
     ZK_HANDLER(TForm1, CacherTrayClick)},
    {"QuitterTray", "&Quitter...", nullptr, nullptr, nullptr, false,
     ZK_HANDLER(TForm1, QuitterTrayClick)},
};

} // namespace

const zk::platform::Command<TForm1>& TForm1::CommandRow(const char* name) {
    if (const Row* row = zk::platform::findCommand(kTopToolbar, name))
        return *row;
    if (const Row* row = zk::platform::findCommand(kSideToolbar, name))
        return *row;
    return zk::platform::commandRow(kMenuItems, name);
}

void TForm1::WireCommands() {
    // The buttons and items of the tables are wired as they are built; here the rest.
    // Right button over six buttons: the preferences on a given tab
    using Prefs = zk::ui::PreferencesPanel;
    mouseUpHandlers_.insert(BoutPreferences, &Prefs::BoutPreferencesMouseUp);
    mouseUpHandlers_.insert(BoutNavIntegre, &Prefs::BoutNavIntegreMouseUp);
    mouseUpHandlers_.insert(BoutSign, &Prefs::BoutSignMouseUp);
    mouseUpHandlers_.insert(BoutDegrade, &Prefs::BoutDegradeMouseUp);
    mouseUpHandlers_.insert(BoutScroll, &Prefs::BoutScrollMouseUp);
    mouseUpHandlers_.insert(BoutVague, &Prefs::BoutVagueMouseUp);

    // Drop-down menus: the size, face and preset groups share one handler each
    for (int i = 1; i <= 7; ++i) {
        QAction* item = MenuItem(QStringLiteral("H%1").arg(i));
        connect(item, &QAction::triggered, this,
                [this, item] { Commands->run("H1Click", [this, item] { H1Click(item); }); });
    }
    for (int i = 0; i <= 23; ++i) {
        QAction* item = MenuItem(QStringLiteral("T%1").arg(i));
        connect(item, &QAction::triggered, this,
                [this, item] { Commands->run("T0Click", [this, item] { T0Click(item); }); });
    }
    // The presets menu's items are wired by it; the window shows a loaded preset
    connect(presets_, &zk::ui::Presets::presetLoaded, this, &TForm1::ShowPresetFormatting);

    // Context menus: their shortcuts work in the controls they belong to
    Commands->attachContextMenu(Memo1, Popup5);
    Commands->attachContextMenu(codeOutput_->Memo2, Popup5);

    // Tray menu and icon
    Commands->wire(Popup9, &QMenu::aboutToShow, this, ZK_HANDLER(TForm1, Popup9Popup));
    Commands->wire(Tray, &zk::platform::TrayIcon::doubleClicked, this,
                   ZK_HANDLER(TForm1, TrayDblClick));
    // Trays that speak StatusNotifier may never deliver the double-click: a click on the
    // icon brings a hidden window back too (and does nothing while it shows).
    Commands->wire(Tray, &zk::platform::TrayIcon::clicked, this, ZK_HANDLER(TForm1, TrayDblClick));

    // The error banner stays above the image panel's list-name prompt.
    connect(imagePanel_, &zk::ui::ImageListPanel::listPromptRaised, this, [this] {
        if (PanError->isVisible())
            PanError->raise();
    });

    // Controls of the overlay panels
    Commands->wire(BoutError, &QPushButton::clicked, this, ZK_HANDLER(TForm1, BoutErrorClick));

    // The preferences panel's own controls are wired by it; the window follows its choice
    // of tooltips, and the code is made and shown again in the options it confirms.
    connect(preferences_, &zk::ui::PreferencesPanel::hintsChosen, this, &TForm1::SetShowHint);
    connect(preferences_, &zk::ui::PreferencesPanel::codeOptionsChosen, codeOutput_,
            &zk::ui::CodeOutput::CodeChanged);

    // Tooltips, right buttons, link labels and shortcuts are watched here
    qApp->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ToolTip: {
        auto* w = qobject_cast<QWidget*>(watched);
        if (!ShowHint && w && w->window() == this) {
            QToolTip::hideText();
            return true;
        }
        break;
    }
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this && Commands->dispatchShortcut(w, event, this))
            return true;
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (auto handler = mouseUpHandlers_.value(watched)) {
            // The right button never presses the button itself; its release opens a tab.
            if (mouse->button() != Qt::RightButton || !static_cast<QWidget*>(watched)->isEnabled())
                break;
            if (event->type() == QEvent::MouseButtonRelease)
                (preferences_->*handler)(mouse->button());
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
