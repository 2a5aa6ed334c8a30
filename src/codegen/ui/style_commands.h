// The style commands: the text style, alignment, colour and effect buttons of the toolbars,
// the size menu Popup1 and the face menu Popup6. They only change the formatting state;
// the window lays their buttons out on its toolbars.
#pragma once

#include <QObject>

#include "commands.h"

class QAction;
class QButtonGroup;
class QMenu;
class QToolButton;
class QWidget;

namespace zk {
struct AppSettings;
}
namespace zk::platform {
class WindowHost;
}

namespace zk::ui {

class StyleCommands final : public QObject {
    Q_OBJECT

public:
    // window: the parent of the menus; settings: the window's (its formatting state).
    StyleCommands(zk::platform::WindowHost& host, zk::AppSettings& settings, QWidget* window);

    static const zk::platform::Command<StyleCommands>& CommandRow(const char* name);
    // Makes the button of the row named name on toolbar, with its caption letter, its
    // drop-down menu or its group; the window places it.
    QToolButton* MakeButton(QWidget* toolbar, const char* name);

    // ---- Widgets ----
    QToolButton* BoutFntName = nullptr; // drop-down of Popup6
    QToolButton* BoutTaille = nullptr;  // drop-down of Popup1
    QToolButton* BoutNormal = nullptr;
    QToolButton* BoutFontGras = nullptr;
    QToolButton* BoutFontItalique = nullptr;
    QToolButton* BoutFontSouligne = nullptr;
    QToolButton* BoutFontBarre = nullptr;
    QToolButton* BoutAlignGauche = nullptr;
    QToolButton* BoutAlignCentre = nullptr;
    QToolButton* BoutAlignDroite = nullptr;
    QToolButton* BoutFontcouleur = nullptr;
    QToolButton* BoutNoBal = nullptr;
    QToolButton* BoutSign = nullptr;
    QToolButton* BoutScroll = nullptr;
    QToolButton* BoutVague = nullptr;
    QToolButton* BoutDegrade = nullptr;
    QButtonGroup* AlignGroup = nullptr; // exactly one alignment button down
    QMenu* Popup1 = nullptr;            // sizes H1..H7
    QMenu* Popup6 = nullptr;            // faces T0..T23, two columns
    QWidget* FaceColumns = nullptr;     // the two columns of Popup6

    // ---- Handlers ----
    void BoutNormalClick();
    void BoutFontGrasClick();
    void BoutFontItaliqueClick();
    void BoutFontSouligneClick();
    void BoutFontBarreClick();
    void BoutFontcouleurClick();
    void BoutAlignGaucheClick();
    void BoutAlignCentreClick();
    void BoutAlignDroiteClick();
    void H1Click(QAction* sender);
    void T0Click(QAction* sender);
    void BoutNoBalClick();
    void BoutSignClick();
    void BoutScrollClick();
    void BoutVagueClick();
    void BoutDegradeClick();

    // The size and face menus' check marks from the state.
    void SetMenuChecksFromState();
    // Every button from the state.
    void SetButtonsFromState();
    // What a loaded preset shows: the size and face menus, the face's name from the face
    // table, the alignment and text style buttons; then faceChanged.
    void ShowPresetFormatting();

signals:
    // The face of the state changed: the character table takes it.
    void faceChanged();

private:
    void buildSizeMenu(QWidget* window);
    void buildFaceMenu(QWidget* window);
    // Of the items letter+first..letter+last of menu, only letter+chosen is checked.
    static void checkGroupItem(QMenu* menu, const QString& letter, int first, int last, int chosen);
    void setTextStyleButtons();

    zk::platform::WindowHost& host_;
    zk::AppSettings& settings_;
};

} // namespace zk::ui
