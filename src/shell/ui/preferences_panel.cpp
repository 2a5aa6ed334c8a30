// The panel, its "Général", "Scrolling", "Vagues" and "A propos..." tabs, filling the controls
// from the state when it opens and copying them back when it is confirmed.
#include "preferences_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs.h"
#include "gradient_choices.h"
#include "gradient_swatch.h"
#include "icons.h"
#include "options_file.h"
#include "radio_group.h"
#include "settings_file.h"
#include "shell.h"
#include "widget_kit.h"
#include "window_host.h"

namespace zk::ui {

namespace {

constexpr int kPanelWidth = 512;
constexpr int kPanelHeight = 180;
constexpr int kGeneralColumnWidth = 310; // the rows; the code prefix and limit lie beside them
constexpr int kBbcodeItem = 2;           // of "Format du code", as the options file counts

RadioGroup* makeRadioGroup(QWidget* tab, const char* name, const QString& caption,
                           const QStringList& items, int x, int width) {
    auto* g = new RadioGroup(caption, items, tab);
    g->setObjectName(QLatin1String(name));
    g->setGeometry(x, 4, width, 24 + 20 * static_cast<int>(items.size()));
    return g;
}

using zk::platform::makeLabel;

// Columns: name, caption, hint, icon, shortcut, checkable, handler.
const zk::platform::Command<PreferencesPanel> kCommands[] = {
    {"BoutPreferences", nullptr, "Préférences - F9", "preferences", nullptr, false,
     ZK_HANDLER(PreferencesPanel, BoutPreferencesClick)},
    {"Prfrences1", "&Préférences", nullptr, nullptr, "F9", false,
     ZK_HANDLER(PreferencesPanel, Prfrences1Click)},
};

void setChecked(QCheckBox* box, std::uint8_t value) {
    box->setChecked(value == 1);
}

std::uint8_t checkedValue(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

std::uint8_t indexByte(int index) {
    return static_cast<std::uint8_t>(index); // no selection (-1) is kept as 255
}

} // namespace

const zk::platform::Command<PreferencesPanel>& PreferencesPanel::CommandRow(const char* name) {
    return zk::platform::commandRow(kCommands, name);
}

PreferencesPanel::PreferencesPanel(zk::platform::WindowHost& host, zk::AppSettings& settings,
                                   zk::NewOptions& options, QWidget* window,
                                   const QString& appFolder)
    : QObject(window), host_(host), settings_(settings), options_(options), appFolder_(appFolder) {
    BuildPanel(window);
    WireCommands();
}

void PreferencesPanel::BuildPanel(QWidget* window) {
    Panel9 = zk::platform::makeOverlay(window, "Panel9", kPanelWidth, kPanelHeight);
    PageControl1 = new QTabWidget(Panel9);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, kPanelWidth, kPanelHeight);
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
        *t.ok = zk::platform::makePushButton(*t.tab, t.okName, QStringLiteral("Ok"), 432, 120);
    }
    BuildGeneralTab();
    BuildSignatureTab();
    BuildGradientTab();
    BuildScrollingTab();
    BuildWavesTab();
    BuildAboutTab();
}

// ---- "Général" ----

void PreferencesPanel::BuildGeneralTab() {
    auto* rows = new QScrollArea(TabSheet1);
    rows->setObjectName(QStringLiteral("GeneralRows"));
    rows->setFrameShape(QFrame::NoFrame);
    rows->setFocusPolicy(Qt::NoFocus); // a frame for the rows; Tab goes to the rows
    rows->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rows->setWidgetResizable(true);
    rows->setFixedWidth(kGeneralColumnWidth);
    rows->viewport()->setAutoFillBackground(false);
    auto* column = new QWidget;
    column->setAutoFillBackground(false);
    generalRows_ = new QVBoxLayout(column);
    generalRows_->setContentsMargins(8, 4, 2, 4);
    generalRows_->setSpacing(2);
    generalRows_->addStretch();
    rows->setWidget(column);
    auto* tabLayout = new QVBoxLayout(TabSheet1);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    tabLayout->addWidget(rows, 0, Qt::AlignLeft);

    CheckDemarrage = AddGeneralCheck("CheckDemarrage", QStringLiteral("ZelkoHTML au Démarrage"));
    CheckReduire = AddGeneralCheck("CheckReduire",
                                   QStringLiteral("Réduire après Copie dans le Presse Papier"));
    CheckApercuNavIndep = AddGeneralCheck(
        "CheckApercuNavIndep", QStringLiteral("Aperçu dans une Nouvelle page du Navigateur"));
    CheckIntegre = AddGeneralCheck("CheckIntegre", QStringLiteral("Aperçu dans le programme"));
    CheckBulle = AddGeneralCheck("CheckBulle", QStringLiteral("Afficher les bulles d'aide"));
    CheckApercuDirect = AddGeneralCheck("CheckApercuDirect", QStringLiteral("Aperçu en direct"));
    CombFormat = AddGeneralChoice("CombFormat", QStringLiteral("Format du code"),
                                  {QStringLiteral("HTML classique"),
                                   QStringLiteral("HTML5 (styles CSS)"), QStringLiteral("BBCode")});
    LabNoteBBCode = new QLabel(QStringLiteral("Le défilement n'existe pas en BBCode"));
    LabNoteBBCode->setObjectName(QStringLiteral("LabNoteBBCode"));
    LabNoteBBCode->setWordWrap(true);
    AddGeneralRow(LabNoteBBCode);
    CheckCompact = AddGeneralCheck("CheckCompact", QStringLiteral("Code compact"));
    CheckPourcent =
        AddGeneralCheck("CheckPourcent", QStringLiteral("Tailles en pourcentage (phpBB)"));
    CheckCopieRiche =
        AddGeneralCheck("CheckCopieRiche", QStringLiteral("Copier aussi le texte mis en forme"));
    connect(CombFormat, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &PreferencesPanel::CombFormatChange);
    CombFormatChange();

    // Faces wider than the one these texts were made for (Verdana is rarely installed):
    // the check boxes get room for their captions and this caption may take two lines.
    LabAjout = makeLabel(TabSheet1, "LabAjout",
                         QStringLiteral("Texte ou balises au début du Code HTML"), 314, 2, 190, 32);
    LabAjout->setWordWrap(true);
    LabAjout->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    EditAjout = new QLineEdit(TabSheet1);
    EditAjout->setObjectName(QStringLiteral("EditAjout"));
    EditAjout->setGeometry(314, 36, 188, 22);
    LabLimit1 = makeLabel(TabSheet1, "LabLimit1", QStringLiteral("Limiter la taille du code à"),
                          314, 64, 188, 16);
    EditLimit = new QLineEdit(TabSheet1);
    EditLimit->setObjectName(QStringLiteral("EditLimit"));
    EditLimit->setGeometry(314, 82, 56, 22);
    EditLimit->setMaxLength(5);
    EditLimit->installEventFilter(this);
    LabLimit2 = makeLabel(TabSheet1, "LabLimit2", QStringLiteral("caractères"), 376, 85, 100, 16);
}

void PreferencesPanel::CombFormatChange() {
    const bool bbcode = CombFormat->currentIndex() == kBbcodeItem;
    LabNoteBBCode->setVisible(bbcode);
    CheckPourcent->setEnabled(bbcode);
}

void PreferencesPanel::AddGeneralRow(QWidget* row) {
    generalRows_->insertWidget(generalRows_->count() - 1, row); // above the closing stretch
    // The column is as tall as its rows from the start, not only once the panel shows, so
    // that no row is laid out squeezed in the meantime.
    QWidget* column = generalRows_->parentWidget();
    column->resize(column->width(), column->sizeHint().height());
}

QCheckBox* PreferencesPanel::AddGeneralCheck(const char* name, const QString& caption) {
    auto* c = new QCheckBox(caption);
    c->setObjectName(QLatin1String(name));
    c->setFixedHeight(18);
    AddGeneralRow(c);
    return c;
}

QComboBox* PreferencesPanel::AddGeneralChoice(const char* name, const QString& caption,
                                              const QStringList& items) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(caption, row);
    label->setObjectName(QStringLiteral("Lab") + QLatin1String(name));
    auto* choice = new QComboBox(row);
    choice->setObjectName(QLatin1String(name));
    choice->addItems(items);
    label->setBuddy(choice);
    layout->addWidget(label);
    layout->addWidget(choice, 1);
    AddGeneralRow(row);
    return choice;
}

// ---- "Scrolling", "Vagues" ----

void PreferencesPanel::BuildScrollingTab() {
    CheckHoriz = makeRadioGroup(
        TabSheet4, "CheckHoriz", QStringLiteral(" Horizontal "),
        {QStringLiteral("Non"), QStringLiteral("Droite-Gauche"), QStringLiteral("Gauche-Droite")},
        8, 124);
    CheckVert = makeRadioGroup(
        TabSheet4, "CheckVert", QStringLiteral(" Vertical "),
        {QStringLiteral("Non"), QStringLiteral("Bas-Haut"), QStringLiteral("Haut-Bas")}, 136, 110);
    CheckSpeed = makeRadioGroup(
        TabSheet4, "CheckSpeed", QStringLiteral(" Vitesse "),
        {QStringLiteral("Rapide"), QStringLiteral("Moyen"), QStringLiteral("Lent")}, 250, 96);
    CheckStyle = makeRadioGroup(TabSheet4, "CheckStyle", QStringLiteral(" Style "),
                                {QStringLiteral("Continu"), QStringLiteral("Ping-Pong")}, 350, 100);
}

void PreferencesPanel::BuildWavesTab() {
    CheckVague =
        makeRadioGroup(TabSheet5, "CheckVague", QStringLiteral(" Vagues "),
                       {QStringLiteral("    Vagues Y"), QStringLiteral("    Vagues Z")}, 8, 160);
}

// ---- "A propos..." ----

void PreferencesPanel::BuildAboutTab() {
    QWidget* tab = TabSheet6;
    ImageLogo = makeLabel(tab, "ImageLogo", QString(), 8, 8, 32, 32);
    ImageLogo->setPixmap(zk::platform::appLogo());

    QFont big(QStringLiteral("Verdana"), 18, QFont::Bold);
    ZelkoInfo1 = makeLabel(tab, "ZelkoInfo1", QString(), 52, 4, 300, 36);
    ZelkoInfo1->setPixmap(zk::platform::gradientText(QStringLiteral("ZelkoHTML"), big,
                                                     QColor(255, 0, 0), QColor(255, 255, 0),
                                                     QColor(64, 0, 64), false, 2));
    ZelkoInfo1->setAccessibleName(QStringLiteral("ZelkoHTML"));
    QFont medium(QStringLiteral("Verdana"), 12, QFont::Bold);
    ZelkoInfo2 = makeLabel(tab, "ZelkoInfo2", QString(), 52, 42, 300, 26);
    ZelkoInfo2->setPixmap(zk::platform::gradientText(QStringLiteral("Quorvane 2001"), medium,
                                                     QColor(128, 0, 0), QColor(0, 128, 0),
                                                     Qt::black, true, 0));
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
        link->installEventFilter(this);
    }
}

void PreferencesPanel::ZelkoInfo5Click() {
    zk::platform::openDocument(ZelkoInfo5->text());
}

void PreferencesPanel::ZelkoInfo6Click() {
    zk::platform::openDocument(QStringLiteral("mailto:") + ZelkoInfo6->text());
}

// ---- Opening and confirming ----

void PreferencesPanel::BoutPreferencesClick() {
    if (Panel9->isVisible()) {
        ApplyPreferences();
        return;
    }
    host_.CloseOverlayPanels();

    const zk::FormattingState& f = settings_.fmt;
    setChecked(CheckDemarrage, settings_.StartAtLogon);
    setChecked(CheckReduire, settings_.MinimizeAfterCopy);
    setChecked(CheckApercuNavIndep, settings_.PreviewInNewWindow);
    setChecked(CheckBulle, settings_.ShowHints);
    setChecked(CheckIntegre, settings_.PreviewInProgram);
    setChecked(CheckApercuDirect, options_.LivePreview);
    CombFormat->setCurrentIndex(options_.OutputFormat);
    setChecked(CheckCompact, options_.CompactCode);
    setChecked(CheckPourcent, options_.BbcodePercentSizes);
    setChecked(CheckCopieRiche, options_.CopyRichText);
    EditTextSign->setText(QString::fromStdString(f.SignatureText));
    EditImgSign->setText(QString::fromStdString(f.SignatureImageUrl));
    EditLinkImgSign->setText(QString::fromStdString(f.SignatureLink));
    // An index beyond the seven sizes selects nothing.
    CombTaille->setCurrentIndex(f.SignatureSizeIndex < CombTaille->count() ? f.SignatureSizeIndex
                                                                           : -1);
    EditAjout->setText(QString::fromStdString(f.CodePrefix));
    CheckHoriz->setItemIndex(f.MarqueeHorizontal);
    CheckVert->setItemIndex(f.MarqueeVertical);
    CheckStyle->setItemIndex(f.MarqueeStyle);
    CheckSpeed->setItemIndex(f.MarqueeSpeed);
    CheckVague->setItemIndex(f.WavesKind);

    SelectPresetGradient();
    Choices->Fill();
    CheckDouble->setChecked(f.GradientSymmetry == 2);
    CheckTxtImg->setItemIndex(f.SignatureOrder);
    EditLimit->setText(QString::number(f.CodeSizeLimit));
    for (int k = 0; k < 8; ++k)
        ShowPresetGradient(k);
    PreviewSignature();

    if (settings_.PreferencesPage >= PageControl1->count()) {
        // A page number from a hand-edited file: reported, and the panel stays closed.
        zk::platform::dialogs().runtimeError(
            host_.hostWindow(),
            QStringLiteral("List index out of bounds (%1)").arg(settings_.PreferencesPage));
        return;
    }
    host_.ToggleOverlayPanel(
        kPanelNumber, [this] { PageControl1->setCurrentIndex(settings_.PreferencesPage); },
        [this] { ApplyPreferences(); });
}

void PreferencesPanel::Prfrences1Click() {
    BoutPreferencesClick();
}

void PreferencesPanel::ApplyPreferences() {
    zk::FormattingState& f = settings_.fmt;
    settings_.StartAtLogon = checkedValue(CheckDemarrage);
    settings_.MinimizeAfterCopy = checkedValue(CheckReduire);
    settings_.PreviewInNewWindow = checkedValue(CheckApercuNavIndep);
    settings_.ShowHints = checkedValue(CheckBulle);
    settings_.PreviewInProgram = checkedValue(CheckIntegre);
    emit hintsChosen(CheckBulle->isChecked());
    options_.LivePreview = checkedValue(CheckApercuDirect);
    options_.OutputFormat = indexByte(CombFormat->currentIndex());
    options_.CompactCode = checkedValue(CheckCompact);
    options_.BbcodePercentSizes = checkedValue(CheckPourcent);
    options_.CopyRichText = checkedValue(CheckCopieRiche);

    f.SignatureText = EditTextSign->text().toStdString();
    f.SignatureImageUrl = EditImgSign->text().toStdString();
    f.SignatureLink = EditLinkImgSign->text().toStdString();
    f.SignatureSizeIndex = indexByte(CombTaille->currentIndex());
    f.CodePrefix = EditAjout->text().toStdString();

    f.MarqueeHorizontal = indexByte(CheckHoriz->itemIndex());
    f.MarqueeVertical = indexByte(CheckVert->itemIndex());
    f.MarqueeStyle = indexByte(CheckStyle->itemIndex());
    f.MarqueeSpeed = indexByte(CheckSpeed->itemIndex());
    f.WavesKind = indexByte(CheckVague->itemIndex());
    f.SignatureOrder = indexByte(CheckTxtImg->itemIndex());

    f.GradientSymmetry = CheckDouble->isChecked() ? 2 : 1;
    settings_.PreferencesPage = static_cast<std::uint8_t>(PageControl1->currentIndex());

    const QString limit = EditLimit->text();
    if (limit.isEmpty()) {
        f.CodeSizeLimit = 0;
    } else {
        std::int64_t value = 0;
        if (!zk::parseSettingsInteger(limit.toStdString(), value)) {
            // Pasted text: the values above are kept and the panel stays open.
            zk::platform::dialogs().runtimeError(
                host_.hostWindow(), QStringLiteral("'%1' is not a valid integer value").arg(limit));
            emit codeOptionsChosen();
            return;
        }
        f.CodeSizeLimit = static_cast<std::uint16_t>(static_cast<std::uint64_t>(value) & 0xFFFFu);
    }
    host_.CloseOverlayPanels();
    emit codeOptionsChosen();
}

void PreferencesPanel::BoutOKConf0Click() {
    ApplyPreferences();
}

void PreferencesPanel::EditLimitKeyPress(QChar& key) {
    const char16_t c = key.unicode();
    if (c != 8 && c != 13 && (c < u'0' || c > u'9'))
        key = QChar();
}

void PreferencesPanel::OpenOnTab(Qt::MouseButton button, int page) {
    if (button != Qt::RightButton)
        return;
    settings_.PreferencesPage = static_cast<std::uint8_t>(page);
    BoutPreferencesClick();
}

void PreferencesPanel::BoutPreferencesMouseUp(Qt::MouseButton button) {
    OpenOnTab(button, 0);
}
void PreferencesPanel::BoutNavIntegreMouseUp(Qt::MouseButton button) {
    OpenOnTab(button, 0);
}
void PreferencesPanel::BoutSignMouseUp(Qt::MouseButton button) {
    OpenOnTab(button, 1);
}
void PreferencesPanel::BoutDegradeMouseUp(Qt::MouseButton button) {
    OpenOnTab(button, 2);
}
void PreferencesPanel::BoutScrollMouseUp(Qt::MouseButton button) {
    OpenOnTab(button, 3);
}
void PreferencesPanel::BoutVagueMouseUp(Qt::MouseButton button) {
    OpenOnTab(button, 4);
}

// ---- Commands and events ----

void PreferencesPanel::WireCommands() {
    zk::platform::CommandBuilder& commands = host_.commands();
    for (QPushButton* ok :
         {BoutOKConf0, BoutOKConf1, BoutOKCong2, BoutOKConf3, BoutOKConf4, BoutOKConf5})
        commands.wire(ok, &QPushButton::clicked, this,
                      ZK_HANDLER(PreferencesPanel, BoutOKConf0Click));
    commands.wire(BoutTexteSignCoul, &QToolButton::clicked, this,
                  ZK_HANDLER(PreferencesPanel, BoutTexteSignCoulClick));
    commands.wire(BoutApercuSign, &QToolButton::clicked, this,
                  ZK_HANDLER(PreferencesPanel, BoutApercuSignClick));
    commands.wire(BoutDeg1, &QToolButton::clicked, this,
                  ZK_HANDLER(PreferencesPanel, BoutDeg1Click));
    commands.wire(BoutDeg2, &QToolButton::clicked, this,
                  ZK_HANDLER(PreferencesPanel, BoutDeg2Click));
    commands.wire(BoutInverse, &QToolButton::clicked, this,
                  ZK_HANDLER(PreferencesPanel, BoutInverseClick));
    for (int k = 0; k < 8; ++k) {
        auto* z = TabSheet3->findChild<QToolButton*>(QStringLiteral("Z%1").arg(k));
        connect(z, &QToolButton::clicked, this,
                [this, &commands, z] { commands.run("Z0Click", [this, z] { Z0Click(z); }); });
    }
}

bool PreferencesPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditLimit && event->type() == QEvent::KeyPress) {
        // The characters typed into EditLimit go through its key handler. Shortcuts and
        // control characters other than backspace and carriage return are the editor's own
        // commands (paste, select all...) and pass; a character the handler drops is not
        // inserted.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if (typed.isEmpty() ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false; // a shortcut, not a typed character
        QString kept;
        bool dropped = false;
        for (QChar c : typed) {
            const bool command = c.unicode() < 32 && c != QChar(8) && c != QChar(13);
            if (command)
                return false;
            EditLimitKeyPress(c);
            if (c.isNull())
                dropped = true;
            else
                kept += c;
        }
        if (!dropped)
            return false;
        if (!kept.isEmpty())
            EditLimit->insert(kept);
        return true;
    }
    if ((watched == ZelkoInfo5 || watched == ZelkoInfo6) &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ZelkoInfo5)
            ZelkoInfo5Click();
        else
            ZelkoInfo6Click();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zk::ui
