// Construction of the window: regions, toolbars, menus, overlay panels and tray.
#include "main_window.h"
#include "status_clock.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWidgetAction>

#include <utility>

#include "accessibility.h"
#include "accessible_names.h"
#include "html_view.h"
#include "icons.h"
#include "plain_memo.h"
#include "preview_page.h"
#include "tray.h"

namespace {

constexpr int kClientWidth = 544;
constexpr int kClientHeight = 415;
constexpr int kParkLeft = 0;
constexpr int kParkTop = 436;

QWidget* makePanel(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(x, y, w, h);
    return panel;
}

// An overlay panel: raised border, parked out of view and hidden until opened.
QWidget* makeOverlay(QWidget* parent, const char* name, int w, int h) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    panel->setGeometry(kParkLeft, kParkTop, w, h);
    panel->hide();
    return panel;
}

QToolButton* makeButton(QWidget* parent, const char* name, const QString& tip, const QString& icon,
                        int x, int y) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(tip);
    b->setAutoRaise(true);
    // Reached by Tab; a click leaves the focus in the editor, so its shortcuts keep working.
    b->setFocusPolicy(Qt::TabFocus);
    b->setGeometry(x, y, 24, 24);
    b->setIconSize(QSize(16, 16));
    if (!icon.isEmpty())
        b->setIcon(zk::shell::toolbarIcon(icon));
    return b;
}

// A caption letter drawn in the Courier face, 9 points, or larger where the face the
// machine has for Courier draws small letters: a capital stands about as tall as the
// drawings of the icons beside it.
void setCaption(QToolButton* b, const QString& text, const QColor& color, bool italic = false,
                bool underline = false, bool strike = false) {
    constexpr int kLetterHeight = 11; // pixels, like the icons' drawings in their 16 x 16
    QFont f(QStringLiteral("Courier"), 9);
    f.setStyleHint(QFont::TypeWriter);
    f.setBold(true);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strike);
    for (int px = QFontInfo(f).pixelSize(); px < 20; ++px) {
        if (QFontMetrics(f).tightBoundingRect(text).height() >= kLetterHeight)
            break;
        f.setPixelSize(px + 1);
    }
    b->setFont(f);
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QPalette pal = b->palette();
    if (color.isValid())
        pal.setColor(QPalette::ButtonText, color);
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    b->setPalette(pal);
}

void makeDropDown(QToolButton* b, QMenu* menu) {
    b->setMenu(menu);
    b->setPopupMode(QToolButton::InstantPopup);
    b->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    // The menu took the mouse: the button never saw it leave and would stay highlighted.
    QObject::connect(menu, &QMenu::aboutToHide, b, [b] {
        b->setAttribute(Qt::WA_UnderMouse, false);
        b->update();
    });
}

QPushButton* makePushButton(QWidget* parent, const char* name, const QString& caption, int x, int y,
                            int w = 64, int h = 25) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, y, w, h);
    return b;
}

QAction* makeItem(QMenu* menu, const char* name, const QString& caption,
                  const QKeySequence& shortcut = {}) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty()) {
        // Shown in the menu; the window's own dispatch runs it (see DispatchShortcut).
        a->setShortcut(shortcut);
        a->setShortcutContext(Qt::WidgetShortcut);
    }
    return a;
}

void makeSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

// An item of a one-of-many group: shown with a radio mark.
QAction* makeGroupItem(QMenu* menu, QActionGroup* group, const QString& name,
                       const QString& caption, int tag) {
    QAction* a = menu->addAction(caption);
    group->addAction(a);
    a->setObjectName(name);
    a->setCheckable(true);
    a->setData(tag);
    a->setProperty("Tag", tag);
    return a;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                  int h) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(x, y, w, h);
    return l;
}

} // namespace

TForm1::TForm1(const QString& appFolder, const QStringList& args, QWidget* parent)
    : QWidget(parent) {
    AppFolder = appFolder.isEmpty() ? QCoreApplication::applicationDirPath() : appFolder;
    if (!AppFolder.endsWith(QLatin1Char('/')))
        AppFolder += QLatin1Char('/');

    BuildWindow();
    BuildMenus();
    BuildTopToolbar();
    BuildSideToolbar();
    BuildOverlayPanels();
    BuildTray();
    WireCommands();
    zk::platform::makeAccessible(this, zk::shell::accessibleNames());
    Memo1->setFocus();
    FormCreate(args);
}

TForm1::~TForm1() = default;

void TForm1::BuildWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral(" ZelkoHTML"));
    setWindowIcon(zk::shell::appIcon());
    // Fixed single border: system menu and minimise only, no maximise, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    move(236, 164);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(QFont(QStringLiteral("Verdana"), 8));

    Panel2 = makePanel(this, "Panel2", 0, 0, 512, 32);
    Panel5 = makePanel(this, "Panel5", 512, 0, 32, 32);
    Panel1 = makePanel(this, "Panel1", 512, 32, 32, 364);

    Memo1 = new PlainMemo(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, 32, 512, 180);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    // The browser pane's engine starts once the window has been painted (EnsureWebB); a
    // blank area stands in for it until then, so the window shows without waiting.
    WebBHolder = new QFrame(this);
    WebBHolder->setObjectName(QStringLiteral("WebBHolder"));
    WebBHolder->setGeometry(0, 216, 512, 180);
    WebBHolder->setAutoFillBackground(true);
    WebBHolder->setBackgroundRole(QPalette::Base);

    StatBar = new QStatusBar(this);
    StatBar->setObjectName(QStringLiteral("StatBar"));
    StatBar->setSizeGripEnabled(false);
    StatBar->setGeometry(0, 396, kClientWidth, 19);
    for (int i = 0; i < 2; ++i) {
        StatBarPanels[i] = new QLabel(StatBar);
        StatBarPanels[i]->setObjectName(QStringLiteral("StatBarPanel%1").arg(i));
        StatBarPanels[i]->setFrameShape(QFrame::Panel);
        StatBarPanels[i]->setFrameShadow(QFrame::Sunken);
    }
    StatBarPanels[0]->setFixedWidth(418);
    StatBar->addWidget(StatBarPanels[0]);
    StatBar->addWidget(StatBarPanels[1], 1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1->start();
}

void TForm1::BuildMenus() {
    Popup1 = new QMenu(this);
    Popup1->setObjectName(QStringLiteral("Popup1"));
    auto* sizes = new QActionGroup(Popup1);
    for (int i = 1; i <= 7; ++i)
        makeGroupItem(Popup1, sizes, QStringLiteral("H%1").arg(i), QStringLiteral("H&%1").arg(i),
                      i);

    // The faces in two columns, T12 heading the second: a grid of menu-like buttons, each
    // driven by its item T0..T23.
    Popup6 = new QMenu(this);
    Popup6->setObjectName(QStringLiteral("Popup6"));
    FaceColumns = new QWidget(Popup6);
    FaceColumns->setObjectName(QStringLiteral("FaceColumns"));
    auto* grid = new QGridLayout(FaceColumns);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(0);
    const QIcon check = zk::shell::checkMarkIcon();
    for (int i = 0; i < 24; ++i) {
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
        grid->addWidget(cell, i % 12, i / 12);
    }
    auto* columns = new QWidgetAction(Popup6);
    columns->setDefaultWidget(FaceColumns);
    Popup6->addAction(columns);

    Popup3 = new QMenu(this);
    Popup3->setObjectName(QStringLiteral("Popup3"));
    C2 = makeItem(Popup3, "C2", QStringLiteral("riori&M"));
    C3 = makeItem(Popup3, "C3", QStringLiteral("min&uscules"));
    C4 = makeItem(Popup3, "C4", QStringLiteral("MA&JUSCULES"));
    C5 = makeItem(Popup3, "C5", QStringLiteral("a&LtErNaNcE Min - Maj"));
    C6 = makeItem(Popup3, "C6", QStringLiteral("&AlTeRnAnCe Maj - Min"));
    C7 = makeItem(Popup3, "C7", QStringLiteral("Intercaler des &E s p a c e s"));
    C8 = makeItem(Popup3, "C8", QStringLiteral("&Supprimer les Espaces"));
    C9 = makeItem(Popup3, "C9", QStringLiteral("&Hacker"));
    makeSeparator(Popup3, "N4");
    C10 = makeItem(Popup3, "C10", QStringLiteral("&Choucroute"));
    C11 = makeItem(Popup3, "C11", QStringLiteral("&Dom-Tom"));
    C13 = makeItem(Popup3, "C13", QStringLiteral("&Viking"));
    C12 = makeItem(Popup3, "C12", QStringLiteral("Atch&oum"));

    Popup4 = new QMenu(this);
    Popup4->setObjectName(QStringLiteral("Popup4"));
    auto* presets = new QActionGroup(Popup4);
    for (int i = 1; i <= 8; ++i)
        makeGroupItem(Popup4, presets, QStringLiteral("P%1").arg(i),
                      QStringLiteral("Config &%1").arg(i), i);
    makeSeparator(Popup4, "N8");
    SauvegarderP = makeItem(Popup4, "SauvegarderP", QStringLiteral("&Sauvegarder"));

    Popup5 = new QMenu(this);
    Popup5->setObjectName(QStringLiteral("Popup5"));
    Couper1 = makeItem(Popup5, "Couper1", QStringLiteral("&Couper"),
                       QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    Copier1 = makeItem(Popup5, "Copier1", QStringLiteral("Co&pier"),
                       QKeySequence(Qt::CTRL | Qt::Key_Insert));
    Coller1 = makeItem(Popup5, "Coller1", QStringLiteral("Co&ller"),
                       QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    Annuler1 = makeItem(Popup5, "Annuler1", QStringLiteral("&Annuler"),
                        QKeySequence(Qt::CTRL | Qt::Key_Z));
    ToutSelectionner1 = makeItem(Popup5, "ToutSelectionner1", QStringLiteral("&Tout Sélectionner"));
    makeSeparator(Popup5, "N11");
    AperudansleNavigateurIntgr1 = makeItem(Popup5, "AperudansleNavigateurIntgr1",
                                           QStringLiteral("Ap&erçu"), QKeySequence(Qt::Key_F12));
    Prfrences1 =
        makeItem(Popup5, "Prfrences1", QStringLiteral("&Préférences"), QKeySequence(Qt::Key_F9));
    makeSeparator(Popup5, "N2");
    Insreruneimage1 = makeItem(Popup5, "Insreruneimage1", QStringLiteral("Menu &Images"),
                               QKeySequence(Qt::CTRL | Qt::Key_I));
    CrerunLien1 = makeItem(Popup5, "CrerunLien1", QStringLiteral("Créer un &Lien"),
                           QKeySequence(Qt::CTRL | Qt::Key_L));
    makeSeparator(Popup5, "N3");
    AideF11 = makeItem(Popup5, "AideF11", QStringLiteral("Ai&de"), QKeySequence(Qt::Key_F1));

    Popup8 = new QMenu(this);
    Popup8->setObjectName(QStringLiteral("Popup8"));
    CouperListe = makeItem(Popup8, "CouperListe", QStringLiteral("&Couper"),
                           QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    CopierListe = makeItem(Popup8, "CopierListe", QStringLiteral("Co&pier"),
                           QKeySequence(Qt::CTRL | Qt::Key_Insert));
    CollerListe = makeItem(Popup8, "CollerListe", QStringLiteral("Co&ller"),
                           QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    makeSeparator(Popup8, "InsrerdansleTexte1");
    Voirtoutelaliste1 =
        makeItem(Popup8, "Voirtoutelaliste1", QStringLiteral("&Voir toute la Liste"));
    CapturerlurlCourante1 =
        makeItem(Popup8, "CapturerlurlCourante1", QStringLiteral("C&apturer l'URL Courante"));
    makeSeparator(Popup8, "N1");
    InsererTexte = makeItem(Popup8, "InsererTexte", QStringLiteral("Insérer l'&URL dans le Texte"));
    FermerEditeurImage = makeItem(Popup8, "FermerEditeurImage", QStringLiteral("&Fermer"));

    Popup9 = new QMenu(this);
    Popup9->setObjectName(QStringLiteral("Popup9"));
    AfficherTray = makeItem(Popup9, "AfficherTray", QStringLiteral("&Afficher"));
    CacherTray = makeItem(Popup9, "CacherTray", QStringLiteral("&Réduire"));
    makeSeparator(Popup9, "Quitter1");
    QuitterTray = makeItem(Popup9, "QuitterTray", QStringLiteral("&Quitter..."));
}

void TForm1::BuildTopToolbar() {
    int x = 4;
    const int y = 4;
    auto next = [&x](int gap = 0) {
        const int at = x;
        x += 24 + gap;
        return at;
    };
    BoutNouveau = makeButton(Panel2, "BoutNouveau", QStringLiteral("Nouveau"),
                             QStringLiteral("nouveau"), next(), y);
    BoutOuvrir = makeButton(Panel2, "BoutOuvrir", QStringLiteral("Ouvrir un fichier"),
                            QStringLiteral("ouvrir"), next(), y);
    BoutSauver =
        makeButton(Panel2, "BoutSauver", QStringLiteral("Sauvegarder un fichier texte ou HTML"),
                   QStringLiteral("sauver"), next(), y);
    BoutPreferences = makeButton(Panel2, "BoutPreferences", QStringLiteral("Préférences - F9"),
                                 QStringLiteral("preferences"), next(8), y);
    BoutCouper = makeButton(Panel2, "BoutCouper", QStringLiteral("Couper - Shift+Del"),
                            QStringLiteral("couper"), next(), y);
    BoutCopier = makeButton(Panel2, "BoutCopier", QStringLiteral("Copier - Ctrl+Ins"),
                            QStringLiteral("copier"), next(), y);
    BoutColler = makeButton(Panel2, "BoutColler", QStringLiteral("Coller - Shift+Ins"),
                            QStringLiteral("coller"), next(), y);
    BoutUndo = makeButton(Panel2, "BoutUndo", QStringLiteral("Annuler - Ctrl+Z"),
                          QStringLiteral("undo"), next(8), y);
    BoutFntName = makeButton(Panel2, "BoutFntName", QStringLiteral("Police"), QString(), next(), y);
    setCaption(BoutFntName, QStringLiteral("P"), QColor(128, 0, 0));
    makeDropDown(BoutFntName, Popup6);
    BoutTaille = makeButton(Panel2, "BoutTaille", QStringLiteral("Taille"),
                            QStringLiteral("taille"), next(8), y);
    makeDropDown(BoutTaille, Popup1);
    BoutNormal = makeButton(Panel2, "BoutNormal", QStringLiteral("Normal"), QString(), next(), y);
    setCaption(BoutNormal, QStringLiteral("N"), QColor(0, 128, 128));
    BoutFontGras = makeButton(Panel2, "BoutFontGras", QStringLiteral("Gras"), QString(), next(), y);
    setCaption(BoutFontGras, QStringLiteral("G"), QColor());
    BoutFontItalique =
        makeButton(Panel2, "BoutFontItalique", QStringLiteral("Italique"), QString(), next(), y);
    setCaption(BoutFontItalique, QStringLiteral("I"), QColor(), true);
    BoutFontSouligne =
        makeButton(Panel2, "BoutFontSouligne", QStringLiteral("Souligné"), QString(), next(), y);
    setCaption(BoutFontSouligne, QStringLiteral("S"), QColor(), false, true);
    BoutFontBarre =
        makeButton(Panel2, "BoutFontBarre", QStringLiteral("Barré"), QString(), next(), y);
    setCaption(BoutFontBarre, QStringLiteral("B"), QColor(), false, false, true);
    BoutAlignGauche = makeButton(Panel2, "BoutAlignGauche", QStringLiteral("Aligner à gauche"),
                                 QStringLiteral("gauche"), next(), y);
    BoutAlignCentre = makeButton(Panel2, "BoutAlignCentre", QStringLiteral("Centrer"),
                                 QStringLiteral("centre"), next(), y);
    BoutAlignDroite = makeButton(Panel2, "BoutAlignDroite", QStringLiteral("Aligner à droite"),
                                 QStringLiteral("droite"), next(), y);
    BoutFontcouleur = makeButton(Panel2, "BoutFontcouleur", QStringLiteral("Couleur de la police"),
                                 QStringLiteral("couleur"), next(), y);
    BoutNoBal = makeButton(Panel2, "BoutNoBal", QStringLiteral("Ignorer les balises de texte"),
                           QStringLiteral("nobal"), next(), y);

    for (QToolButton* b :
         {BoutFontGras, BoutFontItalique, BoutFontSouligne, BoutFontBarre, BoutNoBal})
        b->setCheckable(true);
    AlignGroup = new QButtonGroup(this);
    AlignGroup->setExclusive(true);
    for (QToolButton* b : {BoutAlignGauche, BoutAlignCentre, BoutAlignDroite}) {
        b->setCheckable(true);
        AlignGroup->addButton(b);
    }
    BoutAlignGauche->setChecked(true);

    BoutTop = makeButton(Panel5, "BoutTop", QStringLiteral("Toujours visible"),
                         QStringLiteral("top"), 4, 4);
    BoutTop->setCheckable(true);
}

void TForm1::BuildSideToolbar() {
    const int x = 4;
    int y = 4;
    auto next = [&y](int gap = 0) {
        const int at = y;
        y += 24 + gap;
        return at;
    };
    BoutNavIntegre = makeButton(Panel1, "BoutNavIntegre", QStringLiteral("Aperçu - F12"),
                                QStringLiteral("apercu"), x, next());
    BoutClipBoard =
        makeButton(Panel1, "BoutClipBoard", QStringLiteral("Copier dans le presse-papier"),
                   QStringLiteral("clipboard"), x, next(8));
    BoutImage = makeButton(Panel1, "BoutImage", QStringLiteral("Menu images - Ctrl+I"),
                           QStringLiteral("image"), x, next());
    BoutSound = makeButton(Panel1, "BoutSound", QStringLiteral("Ajouter un son"),
                           QStringLiteral("son"), x, next());
    BoutLien = makeButton(Panel1, "BoutLien", QStringLiteral("Créer un lien - Ctrl+L"),
                          QStringLiteral("lien"), x, next());
    BoutMisc = makeButton(Panel1, "BoutMisc", QStringLiteral("Effets de texte"),
                          QStringLiteral("effets"), x, next());
    makeDropDown(BoutMisc, Popup3);
    BoutSign = makeButton(Panel1, "BoutSign", QStringLiteral("Signature"),
                          QStringLiteral("signature"), x, next());
    BoutScroll = makeButton(Panel1, "BoutScroll", QStringLiteral("Scrolling"),
                            QStringLiteral("scrolling"), x, next());
    BoutVague = makeButton(Panel1, "BoutVague", QStringLiteral("Vagues"), QStringLiteral("vagues"),
                           x, next());
    BoutDegrade = makeButton(Panel1, "BoutDegrade", QStringLiteral("Dégradé"),
                             QStringLiteral("degrade"), x, next(8));
    BoutCode = makeButton(Panel1, "BoutCode", QStringLiteral("Afficher / Cacher le code HTML"),
                          QStringLiteral("code"), x, next());
    BoutCarac = makeButton(Panel1, "BoutCarac", QStringLiteral("Table des caractères"), QString(),
                           x, next());
    BoutCarac->setText(QStringLiteral("abc"));
    BoutCarac->setToolButtonStyle(Qt::ToolButtonTextOnly);
    BoutCarac->setFont(QFont(QStringLiteral("Arial"), 7));
    QPalette caracPalette = BoutCarac->palette();
    caracPalette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    BoutCarac->setPalette(caracPalette);
    BoutPredefini = makeButton(Panel1, "BoutPredefini", QStringLiteral("Prédéfinis"),
                               QStringLiteral("predefinis"), x, next());
    makeDropDown(BoutPredefini, Popup4);
    BoutHelp = makeButton(Panel1, "BoutHelp", QStringLiteral("Aide - F1"), QStringLiteral("aide"),
                          x, next());

    for (QToolButton* b : {BoutSign, BoutScroll, BoutVague, BoutDegrade})
        b->setCheckable(true);
}

void TForm1::BuildOverlayPanels() {
    BuildCharacterPanel();
    BuildImagePanel();
    BuildListNamePrompt();
    BuildCodeView();
    BuildPreferencesPanel();
    BuildErrorBanner();
}

void TForm1::BuildCharacterPanel() {
    Panel3 = makeOverlay(this, "Panel3", 280, 288);
    CharLoop = makeLabel(Panel3, "CharLoop", QString(), 12, 244, 36, 36);
    CharLoop->setAlignment(Qt::AlignCenter);
    CharLoop->setFrameShape(QFrame::Box);
    CharLoop->setAutoFillBackground(true);
    CharLoop->setBackgroundRole(QPalette::Base);
    CharCode = makeLabel(Panel3, "CharCode", QStringLiteral("255"), 60, 252, 120, 20);
    BoutCharOk = makePushButton(Panel3, "BoutCharOk", QStringLiteral("Ok"), 204, 252);
}

void TForm1::BuildImagePanel() {
    Panel7 = makeOverlay(this, "Panel7", 512, 180);
    Rubrique = new QComboBox(Panel7);
    Rubrique->setObjectName(QStringLiteral("Rubrique"));
    ListImg = new QListWidget(Panel7);
    ListImg->setObjectName(QStringLiteral("ListImg"));
    ListImg->setAcceptDrops(true);
    struct ButtonSpec {
        QToolButton** member;
        const char* name;
        const char* tip;
        const char* icon;
    };
    const ButtonSpec buttons[] = {
        {&BoutImgNouv, "BoutImgNouv", "Créer une nouvelle liste", "liste-nouv"},
        {&BoutImgEff, "BoutImgEff", "Suppimer la liste", "liste-eff"},
        {&BoutImgRen, "BoutImgRen", "Renommer la liste", "liste-ren"},
        {&BoutVoirList, "BoutVoirList", "Voir toutes les images de la liste", "liste-voir"},
        {&BoutCapture, "BoutCapture", "Capturer l'URL du navigateur", "capture"},
        {&BoutImgAdd, "BoutImgAdd", "Ajouter une URL dans la liste", "url-add"},
        {&BoutImgSupp, "BoutImgSupp", "Supprimer l'URL de la liste", "url-supp"},
        {&BoutImgInser, "BoutImgInser", "Insérer l'URL dans le texte", "url-inser"},
        {&BoutImgFermer, "BoutImgFermer", "Fermer le menu images", "fermer"},
    };
    for (const ButtonSpec& b : buttons) {
        *b.member =
            makeButton(Panel7, b.name, QString::fromUtf8(b.tip), QString::fromLatin1(b.icon), 0, 0);
    }
    SetUpImagePanel(); // lays the panel out
}

QWebEngineView* TForm1::EnsureWebB() {
    if (!WebB) {
        WebB = zk::platform::makeBrowserView(*this, this, QStringLiteral("WebB"),
                                             QRect(0, 216, 512, 180));
        WebB->lower(); // below the overlay panels
        WebBHolder->hide();
        if (!pendingWebBPage_.isEmpty())
            zk::platform::showFile(WebB, std::exchange(pendingWebBPage_, QString()));
        emit browserPaneReady();
    }
    return WebB;
}

void TForm1::ShowNewBrowserView(QWebEngineView* view) {
    // The first browser view of a shown window has the toolkit make the window again for
    // GPU drawing, which takes the keyboard focus away from it; it is given back.
    const bool wasActive = isActiveWindow();
    view->show();
    if (wasActive) {
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !isActiveWindow())
                activateWindow();
        });
    }
}

void TForm1::ShowInBrowserPane(const QString& path) {
    if (WebB)
        zk::platform::showFile(WebB, path);
    else if (browserPaneWanted_)
        zk::platform::showFile(EnsureWebB(), path);
    else
        pendingWebBPage_ = path; // shown as soon as the pane exists
}

void TForm1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!browserPaneWanted_) {
        browserPaneWanted_ = true;
        QTimer::singleShot(0, this, &TForm1::EnsureWebB);
    }
}

void TForm1::BuildListNamePrompt() {
    Panel6 = makeOverlay(this, "Panel6", 180, 146);
    LabMessListe = makeLabel(Panel6, "LabMessListe", QString(), 8, 8, 164, 44);
    LabMessListe->setWordWrap(true);
    LabMessListe->setAlignment(Qt::AlignCenter);
    EditMessListe = new QLineEdit(Panel6);
    EditMessListe->setObjectName(QStringLiteral("EditMessListe"));
    EditMessListe->setGeometry(8, 60, 164, 22);
    BoutMessAnnule =
        makePushButton(Panel6, "BoutMessAnnule", QStringLiteral("Annuler"), 8, 110, 76);
    BoutMessOK = makePushButton(Panel6, "BoutMessOK", QStringLiteral("Ok"), 96, 110, 76);
    SetUpListNamePrompt();
}

void TForm1::BuildCodeView() {
    Panel8 = makeOverlay(this, "Panel8", 512, 180);
    Memo2 = new PlainMemo(Panel8);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setGeometry(0, 0, 512, 180);
    Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette pal = Memo2->palette();
    pal.setColor(QPalette::Base, QColor(255, 255, 221));
    Memo2->setPalette(pal);
}

void TForm1::BuildPreferencesPanel() {
    Panel9 = makeOverlay(this, "Panel9", 512, 180);
    PageControl1 = new QTabWidget(Panel9);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, 512, 180);
    struct TabSpec {
        QWidget** tab;
        const char* name;
        const char* caption;
        QPushButton** ok;
        const char* okName;
    };
    const TabSpec tabs[] = {
        {&TabSheet1, "TabSheet1", "Général", &BoutOKConf0, "BoutOKConf0"},
        {&TabSheet2, "TabSheet2", "Signature", &BoutOKConf1, "BoutOKConf1"},
        {&TabSheet3, "TabSheet3", "Dégradé", &BoutOKCong2, "BoutOKCong2"},
        {&TabSheet4, "TabSheet4", "Scrolling", &BoutOKConf3, "BoutOKConf3"},
        {&TabSheet5, "TabSheet5", "Vagues", &BoutOKConf4, "BoutOKConf4"},
        {&TabSheet6, "TabSheet6", "A propos...", &BoutOKConf5, "BoutOKConf5"},
    };
    for (const TabSpec& t : tabs) {
        *t.tab = new QWidget;
        (*t.tab)->setObjectName(QLatin1String(t.name));
        PageControl1->addTab(*t.tab, QString::fromUtf8(t.caption));
        *t.ok = makePushButton(*t.tab, t.okName, QStringLiteral("Ok"), 432, 120);
    }
    BuildGeneralTab(TabSheet1);
    BuildSignatureTab(TabSheet2);
    BuildGradientTab(TabSheet3);
    BuildScrollingTab(TabSheet4);
    BuildWavesTab(TabSheet5);
    BuildAboutTab(TabSheet6);
}

void TForm1::BuildAboutTab(QWidget* tab) {
    ImageLogo = makeLabel(tab, "ImageLogo", QString(), 8, 8, 32, 32);
    ImageLogo->setPixmap(zk::shell::appLogo());

    QFont big(QStringLiteral("Verdana"), 18, QFont::Bold);
    ZelkoInfo1 = makeLabel(tab, "ZelkoInfo1", QString(), 52, 4, 300, 36);
    ZelkoInfo1->setPixmap(zk::shell::gradientText(QStringLiteral("ZelkoHTML"), big,
                                                  QColor(255, 0, 0), QColor(255, 255, 0),
                                                  QColor(64, 0, 64), false, 2));
    ZelkoInfo1->setAccessibleName(QStringLiteral("ZelkoHTML"));
    QFont medium(QStringLiteral("Verdana"), 12, QFont::Bold);
    ZelkoInfo2 = makeLabel(tab, "ZelkoInfo2", QString(), 52, 42, 300, 26);
    ZelkoInfo2->setPixmap(zk::shell::gradientText(QStringLiteral("Quorvane 2001"), medium,
                                                  QColor(128, 0, 0), QColor(0, 128, 0), Qt::black,
                                                  true, 0));
    ZelkoInfo2->setAccessibleName(QStringLiteral("Quorvane 2001"));

    ZelkoInfo3 = makeLabel(tab, "ZelkoInfo3", QStringLiteral("Site:"), 52, 80, 40, 18);
    ZelkoInfo4 = makeLabel(tab, "ZelkoInfo4", QStringLiteral("Mail:"), 52, 102, 40, 18);
    ZelkoInfo5 =
        makeLabel(tab, "ZelkoInfo5", QStringLiteral("http://zelkohtml.free.fr"), 96, 80, 240, 18);
    ZelkoInfo6 =
        makeLabel(tab, "ZelkoInfo6", QStringLiteral("zelkohtml@free.fr"), 96, 102, 240, 18);
    for (QLabel* link : {ZelkoInfo5, ZelkoInfo6}) {
        link->setCursor(Qt::PointingHandCursor);
        QPalette pal = link->palette();
        pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
        link->setPalette(pal);
        QFont f = link->font();
        f.setUnderline(true);
        link->setFont(f);
    }
}

void TForm1::BuildErrorBanner() {
    PanError = new QFrame(this);
    PanError->setObjectName(QStringLiteral("PanError"));
    PanError->setFrameShape(QFrame::Panel);
    PanError->setFrameShadow(QFrame::Raised);
    PanError->setAutoFillBackground(true);
    PanError->setGeometry(kParkLeft, kParkTop, 276, 116);
    PanError->hide();
    Bevel5 = new QFrame(PanError);
    Bevel5->setObjectName(QStringLiteral("Bevel5"));
    Bevel5->setFrameShape(QFrame::Box);
    Bevel5->setFrameShadow(QFrame::Sunken);
    Bevel5->setGeometry(6, 6, 264, 64);
    LabError = makeLabel(PanError, "LabError", QString(), 14, 14, 248, 48);
    LabError->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LabError->setWordWrap(true); // the face may be wider than the one the texts were made for
    BoutError = makePushButton(PanError, "BoutError", QStringLiteral("Ok"), 106, 80);
}

void TForm1::BuildTray() {
    Tray =
        new zk::platform::TrayIcon(zk::shell::appIcon(), QStringLiteral("ZelkoHTML"), Popup9, this);
    if (Tray->available())
        Tray->show();
}

QWidget* TForm1::OverlayPanel(int n) const {
    switch (n) {
    case 3:
        return Panel3;
    case 7:
        return Panel7;
    case 8:
        return Panel8;
    case 9:
        return Panel9;
    default:
        return nullptr;
    }
}

QAction* TForm1::MenuItem(const QString& name) const {
    return findChild<QAction*>(name);
}

void TForm1::CheckGroupItem(const QString& letter, int first, int last, int chosen) {
    for (int i = first; i <= last; ++i) {
        if (QAction* item = MenuItem(letter + QString::number(i)))
            item->setChecked(i == chosen);
    }
}

void TForm1::AttachContextMenu(QWidget* w, QMenu* menu) {
    contextMenus_.insert(w, menu);
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    // A scroll area reports the position in its viewport.
    auto* area = qobject_cast<QAbstractScrollArea*>(w);
    QWidget* origin = area ? area->viewport() : w;
    connect(w, &QWidget::customContextMenuRequested, menu,
            [origin, menu](const QPoint& pos) { menu->popup(origin->mapToGlobal(pos)); });
}
