// The command map: every button, menu item and window event wired to its handler, in one
// place. Keyboard shortcuts belong to the context menus (see DispatchShortcut).
#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>

#include <utility>

#include "tray.h"

namespace {

// Connects a signal to a handler and records the handler's name as the last command run.
template <class Sender, class Signal>
void wire(TForm1* form, Sender* sender, Signal signal, const char* name,
          void (TForm1::*handler)()) {
    QObject::connect(sender, signal, form, [form, name, handler] {
        form->LastCommand = QLatin1String(name);
        (form->*handler)();
    });
}

} // namespace

#define ZK_WIRE(sender, signal, handler) wire(this, sender, signal, #handler, &TForm1::handler)

void TForm1::WireCommands() {
    // Top toolbar
    ZK_WIRE(BoutNouveau, &QToolButton::clicked, BoutNouveauClick);
    ZK_WIRE(BoutOuvrir, &QToolButton::clicked, BoutOuvrirClick);
    ZK_WIRE(BoutSauver, &QToolButton::clicked, BoutSauverClick);
    ZK_WIRE(BoutPreferences, &QToolButton::clicked, BoutPreferencesClick);
    ZK_WIRE(BoutCouper, &QToolButton::clicked, BoutCouperClick);
    ZK_WIRE(BoutCopier, &QToolButton::clicked, BoutCopierClick);
    ZK_WIRE(BoutColler, &QToolButton::clicked, BoutCollerClick);
    ZK_WIRE(BoutUndo, &QToolButton::clicked, BoutUndoClick);
    ZK_WIRE(BoutNormal, &QToolButton::clicked, BoutNormalClick);
    ZK_WIRE(BoutFontGras, &QToolButton::clicked, BoutFontGrasClick);
    ZK_WIRE(BoutFontItalique, &QToolButton::clicked, BoutFontItaliqueClick);
    ZK_WIRE(BoutFontSouligne, &QToolButton::clicked, BoutFontSouligneClick);
    ZK_WIRE(BoutFontBarre, &QToolButton::clicked, BoutFontBarreClick);
    ZK_WIRE(BoutAlignGauche, &QToolButton::clicked, BoutAlignGaucheClick);
    ZK_WIRE(BoutAlignCentre, &QToolButton::clicked, BoutAlignCentreClick);
    ZK_WIRE(BoutAlignDroite, &QToolButton::clicked, BoutAlignDroiteClick);
    ZK_WIRE(BoutFontcouleur, &QToolButton::clicked, BoutFontcouleurClick);
    ZK_WIRE(BoutNoBal, &QToolButton::clicked, BoutNoBalClick);
    ZK_WIRE(BoutTop, &QToolButton::clicked, BoutTopClick);

    // Side toolbar
    ZK_WIRE(BoutNavIntegre, &QToolButton::clicked, BoutNavIntegreClick);
    ZK_WIRE(BoutClipBoard, &QToolButton::clicked, BoutClipBoardClick);
    ZK_WIRE(BoutImage, &QToolButton::clicked, BoutImageClick);
    ZK_WIRE(BoutSound, &QToolButton::clicked, BoutSoundClick);
    ZK_WIRE(BoutLien, &QToolButton::clicked, BoutLienClick);
    ZK_WIRE(BoutSign, &QToolButton::clicked, BoutSignClick);
    ZK_WIRE(BoutScroll, &QToolButton::clicked, BoutScrollClick);
    ZK_WIRE(BoutVague, &QToolButton::clicked, BoutVagueClick);
    ZK_WIRE(BoutDegrade, &QToolButton::clicked, BoutDegradeClick);
    ZK_WIRE(BoutCode, &QToolButton::clicked, BoutCodeClick);
    ZK_WIRE(BoutCarac, &QToolButton::clicked, BoutCaracClick);
    ZK_WIRE(BoutHelp, &QToolButton::clicked, BoutHelpClick);

    // Right button over six buttons: the preferences on a given tab
    mouseUpHandlers_.insert(BoutPreferences, &TForm1::BoutPreferencesMouseUp);
    mouseUpHandlers_.insert(BoutNavIntegre, &TForm1::BoutNavIntegreMouseUp);
    mouseUpHandlers_.insert(BoutSign, &TForm1::BoutSignMouseUp);
    mouseUpHandlers_.insert(BoutDegrade, &TForm1::BoutDegradeMouseUp);
    mouseUpHandlers_.insert(BoutScroll, &TForm1::BoutScrollMouseUp);
    mouseUpHandlers_.insert(BoutVague, &TForm1::BoutVagueMouseUp);

    // Drop-down menus: the size, face and preset groups share one handler each
    for (int i = 1; i <= 7; ++i) {
        QAction* item = MenuItem(QStringLiteral("H%1").arg(i));
        connect(item, &QAction::triggered, this, [this, item] {
            LastCommand = QStringLiteral("H1Click");
            H1Click(item);
        });
    }
    for (int i = 0; i <= 23; ++i) {
        QAction* item = MenuItem(QStringLiteral("T%1").arg(i));
        connect(item, &QAction::triggered, this, [this, item] {
            LastCommand = QStringLiteral("T0Click");
            T0Click(item);
        });
    }
    for (int i = 1; i <= 8; ++i) {
        QAction* item = MenuItem(QStringLiteral("P%1").arg(i));
        connect(item, &QAction::triggered, this, [this, item] {
            LastCommand = QStringLiteral("P1Click");
            P1Click(item);
        });
    }
    ZK_WIRE(SauvegarderP, &QAction::triggered, SauvegarderPClick);
    ZK_WIRE(C2, &QAction::triggered, C2Click);
    ZK_WIRE(C3, &QAction::triggered, C3Click);
    ZK_WIRE(C4, &QAction::triggered, C4Click);
    ZK_WIRE(C5, &QAction::triggered, C5Click);
    ZK_WIRE(C6, &QAction::triggered, C6Click);
    ZK_WIRE(C7, &QAction::triggered, C7Click);
    ZK_WIRE(C8, &QAction::triggered, C8Click);
    ZK_WIRE(C9, &QAction::triggered, C9Click);
    ZK_WIRE(C10, &QAction::triggered, C10Click);
    ZK_WIRE(C11, &QAction::triggered, C11Click);
    ZK_WIRE(C12, &QAction::triggered, C12Click);
    ZK_WIRE(C13, &QAction::triggered, C13Click);

    // Context menu of the editors
    ZK_WIRE(Couper1, &QAction::triggered, Couper1Click);
    ZK_WIRE(Copier1, &QAction::triggered, Copier1Click);
    ZK_WIRE(Coller1, &QAction::triggered, Coller1Click);
    ZK_WIRE(Annuler1, &QAction::triggered, Annuler1Click);
    ZK_WIRE(ToutSelectionner1, &QAction::triggered, ToutSelectionner1Click);
    ZK_WIRE(AperudansleNavigateurIntgr1, &QAction::triggered, AperudansleNavigateurIntgr1Click);
    ZK_WIRE(Prfrences1, &QAction::triggered, Prfrences1Click);
    ZK_WIRE(Insreruneimage1, &QAction::triggered, Insreruneimage1Click);
    ZK_WIRE(CrerunLien1, &QAction::triggered, CrerunLien1Click);
    ZK_WIRE(AideF11, &QAction::triggered, AideF11Click);
    AttachContextMenu(Memo1, Popup5);
    AttachContextMenu(Memo2, Popup5);

    // Context menu of the image list
    ZK_WIRE(CouperListe, &QAction::triggered, CouperListeClick);
    ZK_WIRE(CopierListe, &QAction::triggered, CopierListeClick);
    ZK_WIRE(CollerListe, &QAction::triggered, CollerListeClick);
    ZK_WIRE(Voirtoutelaliste1, &QAction::triggered, Voirtoutelaliste1Click);
    ZK_WIRE(CapturerlurlCourante1, &QAction::triggered, CapturerlurlCourante1Click);
    ZK_WIRE(InsererTexte, &QAction::triggered, InsererTexteClick);
    ZK_WIRE(FermerEditeurImage, &QAction::triggered, FermerEditeurImageClick);
    AttachContextMenu(ListImg, Popup8);

    // Tray menu and icon
    ZK_WIRE(AfficherTray, &QAction::triggered, AfficherTrayClick);
    ZK_WIRE(CacherTray, &QAction::triggered, CacherTrayClick);
    ZK_WIRE(QuitterTray, &QAction::triggered, QuitterTrayClick);
    ZK_WIRE(Popup9, &QMenu::aboutToShow, Popup9Popup);
    ZK_WIRE(Tray, &zk::platform::TrayIcon::doubleClicked, TrayDblClick);
    // Trays that speak StatusNotifier may never deliver the double-click: a click on the
    // icon brings a hidden window back too (and does nothing while it shows).
    ZK_WIRE(Tray, &zk::platform::TrayIcon::clicked, TrayDblClick);

    // Controls of the overlay panels
    ZK_WIRE(BoutCharOk, &QPushButton::clicked, BoutCharOkClick);
    ZK_WIRE(BoutImgNouv, &QToolButton::clicked, BoutImgNouvClick);
    ZK_WIRE(BoutImgEff, &QToolButton::clicked, BoutImgEffClick);
    ZK_WIRE(BoutImgRen, &QToolButton::clicked, BoutImgRenClick);
    ZK_WIRE(BoutVoirList, &QToolButton::clicked, BoutVoirListClick);
    ZK_WIRE(BoutCapture, &QToolButton::clicked, BoutCaptureClick);
    ZK_WIRE(BoutImgAdd, &QToolButton::clicked, BoutImgAddClick);
    ZK_WIRE(BoutImgSupp, &QToolButton::clicked, BoutImgSuppClick);
    ZK_WIRE(BoutImgInser, &QToolButton::clicked, BoutImgInserClick);
    ZK_WIRE(BoutImgFermer, &QToolButton::clicked, BoutImgFermerClick);
    ZK_WIRE(Rubrique, &QComboBox::currentIndexChanged, RubriqueChange);
    ZK_WIRE(ListImg, &QListWidget::itemClicked, ListImgClick);
    ZK_WIRE(ListImg, &QListWidget::itemDoubleClicked, ListImgDblClick);
    ZK_WIRE(BoutMessAnnule, &QPushButton::clicked, BoutMessAnnuleClick);
    ZK_WIRE(BoutMessOK, &QPushButton::clicked, BoutMessOKClick);
    for (QPushButton* ok :
         {BoutOKConf0, BoutOKConf1, BoutOKCong2, BoutOKConf3, BoutOKConf4, BoutOKConf5})
        ZK_WIRE(ok, &QPushButton::clicked, BoutOKConf0Click);
    ZK_WIRE(BoutError, &QPushButton::clicked, BoutErrorClick);
    ZK_WIRE(BoutTexteSignCoul, &QToolButton::clicked, BoutTexteSignCoulClick);
    ZK_WIRE(BoutApercuSign, &QToolButton::clicked, BoutApercuSignClick);
    ZK_WIRE(BoutDeg1, &QToolButton::clicked, BoutDeg1Click);
    ZK_WIRE(BoutDeg2, &QToolButton::clicked, BoutDeg2Click);
    ZK_WIRE(BoutInverse, &QToolButton::clicked, BoutInverseClick);
    for (int k = 0; k < 8; ++k) {
        auto* z = findChild<QToolButton*>(QStringLiteral("Z%1").arg(k));
        connect(z, &QToolButton::clicked, this, [this, z] {
            LastCommand = QStringLiteral("Z0Click");
            Z0Click(z);
        });
    }

    // Tooltips, right buttons, link labels, character cells and shortcuts are watched here
    qApp->installEventFilter(this);
}

bool TForm1::DispatchShortcut(QWidget* target, QEvent* event) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == 0 || key->key() == Qt::Key_unknown)
        return false;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const QKeySequence pressed(QKeyCombination(mods, Qt::Key(key->key())));
    // The context menu of the focused control first, then those of its parents.
    for (QWidget* w = target; w && w != this; w = w->parentWidget()) {
        QMenu* menu = contextMenus_.value(w);
        if (!menu)
            continue;
        const QList<QAction*> items = menu->actions();
        for (QAction* item : items) {
            if (item->isSeparator() || item->shortcut() != pressed)
                continue;
            if (event->type() == QEvent::ShortcutOverride) {
                event->accept(); // keep the editor's own binding out; the key press runs it
            } else if (item->isEnabled()) {
                item->trigger();
            }
            return true;
        }
    }
    return false;
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
        if (w && w->window() == this && DispatchShortcut(w, event))
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
                (this->*handler)(mouse->button());
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            if (watched == ZelkoInfo5) {
                ZelkoInfo5Click();
                return true;
            }
            if (watched == ZelkoInfo6) {
                ZelkoInfo6Click();
                return true;
            }
        }
        if (mouse->button() == Qt::LeftButton && watched->parent() == Panel3 &&
            watched->property("zkCell").toBool()) {
            // A click: pressed and released on the same cell. A press dragged away
            // inserts nothing.
            auto* cell = static_cast<QLabel*>(watched);
            if (event->type() == QEvent::MouseButtonPress)
                pressedCell_ = cell;
            else if (event->type() == QEvent::MouseButtonRelease &&
                     std::exchange(pressedCell_, nullptr) == cell &&
                     cell->rect().contains(mouse->position().toPoint()))
                CharClick(cell);
            return true;
        }
        break;
    }
    case QEvent::MouseMove:
        if (watched->parent() == Panel3 && watched->property("zkCell").toBool())
            CharLoopMouseMove(static_cast<QLabel*>(watched));
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
