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
#include "style_commands.h"
#include "tray.h"

namespace {

using Row = zk::platform::Command<TForm1>;

// Columns: name, caption, hint, icon, shortcut, checkable, handler.
const Row kCorner[] = {
    {"BoutTop", nullptr, "Toujours visible", "top", nullptr, true,
     ZK_HANDLER(TForm1, BoutTopClick)},
};

const Row kSideToolbar[] = {
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
    if (const Row* row = zk::platform::findCommand(kCorner, name))
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
    mouseUpHandlers_.insert(styleCommands_->BoutSign, &Prefs::BoutSignMouseUp);
    mouseUpHandlers_.insert(styleCommands_->BoutDegrade, &Prefs::BoutDegradeMouseUp);
    mouseUpHandlers_.insert(styleCommands_->BoutScroll, &Prefs::BoutScrollMouseUp);
    mouseUpHandlers_.insert(styleCommands_->BoutVague, &Prefs::BoutVagueMouseUp);

    // The style commands wire their own menus; a loaded preset shows on their buttons and
    // menus, a chosen face in the character table
    connect(presets_, &zk::ui::Presets::presetLoaded, styleCommands_,
            &zk::ui::StyleCommands::ShowPresetFormatting);
    connect(styleCommands_, &zk::ui::StyleCommands::faceChanged, this,
            &TForm1::ApplyCharacterTableFont);

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
