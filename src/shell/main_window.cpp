// Construction of the window: regions, toolbars, menus, overlay panels and tray.
#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <utility>

#include "accessibility.h"
#include "accessible_names.h"
#include "character_table.h"
#include "code_output.h"
#include "html_view.h"
#include "icons.h"
#include "image_list_panel.h"
#include "plain_memo.h"
#include "preferences_panel.h"
#include "presets.h"
#include "preview_page.h"
#include "status_bar_clock.h"
#include "style_commands.h"
#include "text_tools.h"
#include "tray.h"
#include "widget_kit.h"

using namespace zk::platform;

namespace {

constexpr int kClientWidth = 544;
constexpr int kClientHeight = 415;

// A button of a table placed at x, y.
QToolButton* place(QToolButton* b, int x, int y) {
    b->move(x, y);
    return b;
}

} // namespace

TForm1::TForm1(const QString& appFolder, const QStringList& args, QWidget* parent)
    : QWidget(parent) {
    AppFolder = appFolder.isEmpty() ? QCoreApplication::applicationDirPath() : appFolder;
    if (!AppFolder.endsWith(QLatin1Char('/')))
        AppFolder += QLatin1Char('/');

    Commands = new zk::platform::CommandBuilder(
        LastCommand, [](const QString& name) { return zk::platform::toolbarIcon(name); }, this);
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
    setWindowIcon(zk::platform::appIcon());
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

    // The browser pane and the code view.
    codeOutput_ = new zk::ui::CodeOutput(*this, settings, options, Memo1, this, AppFolder);
    // The preferences panel: overlay panel 9, parked until opened.
    preferences_ = new zk::ui::PreferencesPanel(*this, settings, options, this, AppFolder);

    characterTable_ = new zk::ui::CharacterTable(*this, this);
    textTools_ = new zk::ui::TextTools(*this, settings, Memo1, *codeOutput_, this);
    imagePanel_ = new zk::ui::ImageListPanel(*this, settings, this, AppFolder);
    styleCommands_ = new zk::ui::StyleCommands(*this, settings, this);

    clock_ = new zk::ui::StatusBarClock(AppFolder, this);
    clock_->StatBar->setGeometry(0, 396, kClientWidth, 19);

    // Every change of the text and every command (style, effect, insertion, undo, preset,
    // an overlay panel closed) measures the code again and shows it live.
    connect(Memo1, &QPlainTextEdit::textChanged, codeOutput_, &zk::ui::CodeOutput::CodeChanged);
    connect(Commands, &CommandBuilder::ran, codeOutput_, &zk::ui::CodeOutput::CodeChanged);
    connect(codeOutput_, &zk::ui::CodeOutput::codeSized, clock_,
            &zk::ui::StatusBarClock::ShowCodeSize);
}

void TForm1::BuildMenus() {
    presets_ =
        new zk::ui::Presets(*this, settings, this, AppFolder,
                            {[this](const QString& path) { return KeepCopyOfUnreadFile(path); },
                             [this](const QString& path) { return MayReplace(path); }});

    Popup5 = new QMenu(this);
    Popup5->setObjectName(QStringLiteral("Popup5"));
    Couper1 = Commands->item(Popup5, textTools_, zk::ui::TextTools::CommandRow("Couper1"));
    Copier1 = Commands->item(Popup5, textTools_, zk::ui::TextTools::CommandRow("Copier1"));
    Coller1 = Commands->item(Popup5, textTools_, zk::ui::TextTools::CommandRow("Coller1"));
    Annuler1 = Commands->item(Popup5, textTools_, zk::ui::TextTools::CommandRow("Annuler1"));
    ToutSelectionner1 =
        Commands->item(Popup5, textTools_, zk::ui::TextTools::CommandRow("ToutSelectionner1"));
    Commands->separator(Popup5, "N11");
    AperudansleNavigateurIntgr1 = Commands->item(
        Popup5, codeOutput_, zk::ui::CodeOutput::CommandRow("AperudansleNavigateurIntgr1"));
    Prfrences1 =
        Commands->item(Popup5, preferences_, zk::ui::PreferencesPanel::CommandRow("Prfrences1"));
    Commands->separator(Popup5, "N2");
    Insreruneimage1 =
        Commands->item(Popup5, imagePanel_, zk::ui::ImageListPanel::CommandRow("Insreruneimage1"));
    CrerunLien1 = Commands->item(Popup5, textTools_, zk::ui::TextTools::CommandRow("CrerunLien1"));
    Commands->separator(Popup5, "N3");
    AideF11 = Commands->item(Popup5, this, CommandRow("AideF11"));

    Popup9 = new QMenu(this);
    Popup9->setObjectName(QStringLiteral("Popup9"));
    AfficherTray = Commands->item(Popup9, this, CommandRow("AfficherTray"));
    CacherTray = Commands->item(Popup9, this, CommandRow("CacherTray"));
    Commands->separator(Popup9, "Quitter1");
    QuitterTray = Commands->item(Popup9, this, CommandRow("QuitterTray"));
}

void TForm1::BuildTopToolbar() {
    int x = 4;
    const int y = 4;
    auto next = [&x](int gap = 0) {
        const int at = x;
        x += 24 + gap;
        return at;
    };
    BoutNouveau =
        place(Commands->button(Panel2, textTools_, zk::ui::TextTools::CommandRow("BoutNouveau")),
              next(), y);
    BoutOuvrir =
        place(Commands->button(Panel2, textTools_, zk::ui::TextTools::CommandRow("BoutOuvrir")),
              next(), y);
    BoutSauver =
        place(Commands->button(Panel2, textTools_, zk::ui::TextTools::CommandRow("BoutSauver")),
              next(), y);
    BoutPreferences =
        place(Commands->button(Panel2, preferences_,
                               zk::ui::PreferencesPanel::CommandRow("BoutPreferences")),
              next(8), y);
    BoutCouper =
        place(Commands->button(Panel2, textTools_, zk::ui::TextTools::CommandRow("BoutCouper")),
              next(), y);
    BoutCopier =
        place(Commands->button(Panel2, textTools_, zk::ui::TextTools::CommandRow("BoutCopier")),
              next(), y);
    BoutColler =
        place(Commands->button(Panel2, textTools_, zk::ui::TextTools::CommandRow("BoutColler")),
              next(), y);
    BoutUndo =
        place(Commands->button(Panel2, textTools_, zk::ui::TextTools::CommandRow("BoutUndo")),
              next(8), y);
    // The style commands' buttons: the part makes them, the window places them.
    auto style = [this](const char* name) { return styleCommands_->MakeButton(Panel2, name); };
    place(style("BoutFntName"), next(), y);
    place(style("BoutTaille"), next(8), y);
    for (const char* name :
         {"BoutNormal", "BoutFontGras", "BoutFontItalique", "BoutFontSouligne", "BoutFontBarre",
          "BoutAlignGauche", "BoutAlignCentre", "BoutAlignDroite", "BoutFontcouleur", "BoutNoBal"})
        place(style(name), next(), y);

    BoutTop = place(Commands->button(Panel5, this, CommandRow("BoutTop")), 4, 4);
}

void TForm1::BuildSideToolbar() {
    // Fifteen buttons fill the toolbar's height: no room is left between the groups.
    const int x = 4;
    int y = 2;
    auto next = [&y](int gap = 0) {
        const int at = y;
        y += 24 + gap;
        return at;
    };
    BoutNavIntegre = place(
        Commands->button(Panel1, codeOutput_, zk::ui::CodeOutput::CommandRow("BoutNavIntegre")), x,
        next());
    BoutClipBoard = place(
        Commands->button(Panel1, codeOutput_, zk::ui::CodeOutput::CommandRow("BoutClipBoard")), x,
        next());
    BoutCopieImage = place(
        Commands->button(Panel1, codeOutput_, zk::ui::CodeOutput::CommandRow("BoutCopieImage")), x,
        next());
    Commands->shareAction(BoutCopieImage, codeOutput_->CopiercommeImage1);
    BoutImage = place(
        Commands->button(Panel1, imagePanel_, zk::ui::ImageListPanel::CommandRow("BoutImage")), x,
        next());
    BoutSound =
        place(Commands->button(Panel1, textTools_, zk::ui::TextTools::CommandRow("BoutSound")), x,
              next());
    BoutLien = place(
        Commands->button(Panel1, textTools_, zk::ui::TextTools::CommandRow("BoutLien")), x, next());
    BoutMisc = place(
        Commands->button(Panel1, textTools_, zk::ui::TextTools::CommandRow("BoutMisc")), x, next());
    makeDropDown(BoutMisc, textTools_->Popup3);
    for (const char* name : {"BoutSign", "BoutScroll", "BoutVague", "BoutDegrade"})
        place(styleCommands_->MakeButton(Panel1, name), x, next());
    BoutCode =
        place(Commands->button(Panel1, codeOutput_, zk::ui::CodeOutput::CommandRow("BoutCode")), x,
              next());
    BoutCarac = place(
        Commands->button(Panel1, characterTable_, zk::ui::CharacterTable::CommandRow("BoutCarac")),
        x, next());
    BoutCarac->setText(QStringLiteral("abc"));
    BoutCarac->setToolButtonStyle(Qt::ToolButtonTextOnly);
    BoutCarac->setFont(QFont(QStringLiteral("Arial"), 7));
    QPalette caracPalette = BoutCarac->palette();
    caracPalette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    BoutCarac->setPalette(caracPalette);
    BoutPredefini = place(Commands->button(Panel1, this, CommandRow("BoutPredefini")), x, next());
    makeDropDown(BoutPredefini, presets_->Popup4);
    BoutHelp = place(Commands->button(Panel1, this, CommandRow("BoutHelp")), x, next());
}

void TForm1::BuildOverlayPanels() {
    // The parts made their panels with the editor; Tab reaches them after the toolbars,
    // the image panels first, like the other overlay panels.
    for (QWidget* panel : {imagePanel_->Panel7, imagePanel_->Panel6, preferences_->Panel9})
        zk::platform::moveToEndOfTabOrder(panel);
    BuildErrorBanner();
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

void TForm1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    codeOutput_->WindowPainted();
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
    Tray = new zk::platform::TrayIcon(zk::platform::appIcon(), QStringLiteral("ZelkoHTML"), Popup9,
                                      this);
    if (Tray->available())
        Tray->show();
}

QWidget* TForm1::OverlayPanel(int n) const {
    switch (n) {
    case 3:
        return characterTable_->Panel3;
    case zk::ui::ImageListPanel::kPanelNumber:
        return imagePanel_->Panel7;
    case 8:
        return codeOutput_->Panel8;
    case 9:
        return preferences_->Panel9;
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
