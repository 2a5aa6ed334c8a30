// The preferences panel: its "Général", "Scrolling" and "Vagues" tabs, filling the controls
// from the state when it opens and copying them back when it is confirmed. Nothing is
// written to disk here.
#include "main_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "dialogs.h"
#include "radio_group.h"
#include "settings_file.h"

namespace {

QCheckBox* makeCheck(QWidget* tab, const char* name, const QString& caption, int y) {
    auto* c = new QCheckBox(caption, tab);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(8, y, 300, 18);
    return c;
}

zk::ui::RadioGroup* makeRadioGroup(QWidget* tab, const char* name, const QString& caption,
                                   const QStringList& items, int x, int width) {
    auto* g = new zk::ui::RadioGroup(caption, items, tab);
    g->setObjectName(QLatin1String(name));
    g->setGeometry(x, 4, width, 24 + 20 * static_cast<int>(items.size()));
    return g;
}

QLabel* makeCaption(QWidget* tab, const char* name, const QString& text, int x, int y, int w) {
    auto* l = new QLabel(text, tab);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(x, y, w, 16);
    return l;
}

void setChecked(QCheckBox* box, std::uint8_t value) {
    box->setChecked(value == 1);
}

std::uint8_t checkedValue(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

std::uint8_t indexByte(int index) {
    return static_cast<std::uint8_t>(index); // no selection (-1) is kept as 255
}

// Offers the characters typed into EditLimit to its key handler. Shortcuts and control
// characters other than backspace and carriage return are the editor's own commands (paste,
// select all...) and pass; a character the handler drops is not inserted.
class LimitKeyFilter final : public QObject {
public:
    explicit LimitKeyFilter(TForm1* form) : QObject(form), form_(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
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
            form_->EditLimitKeyPress(c);
            if (c.isNull())
                dropped = true;
            else
                kept += c;
        }
        if (!dropped)
            return false;
        if (!kept.isEmpty())
            form_->EditLimit->insert(kept);
        return true;
    }

private:
    TForm1* form_ = nullptr;
};

} // namespace

void TForm1::BuildGeneralTab(QWidget* tab) {
    CheckDemarrage = makeCheck(tab, "CheckDemarrage", QStringLiteral("ZelkoHTML au Démarrage"), 4);
    CheckReduire = makeCheck(tab, "CheckReduire",
                             QStringLiteral("Réduire après Copie dans le Presse Papier"), 24);
    CheckApercuNavIndep =
        makeCheck(tab, "CheckApercuNavIndep",
                  QStringLiteral("Aperçu dans une Nouvelle page du Navigateur"), 44);
    CheckIntegre = makeCheck(tab, "CheckIntegre", QStringLiteral("Aperçu dans le programme"), 64);
    CheckBulle = makeCheck(tab, "CheckBulle", QStringLiteral("Afficher les bulles d'aide"), 84);

    // Faces wider than the one these texts were made for (Verdana is rarely installed):
    // the check boxes get room for their captions and this caption may take two lines.
    LabAjout = makeCaption(tab, "LabAjout",
                           QStringLiteral("Texte ou balises au début du Code HTML"), 314, 2, 190);
    LabAjout->setWordWrap(true);
    LabAjout->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    LabAjout->setFixedHeight(32);
    EditAjout = new QLineEdit(tab);
    EditAjout->setObjectName(QStringLiteral("EditAjout"));
    EditAjout->setGeometry(314, 36, 188, 22);
    LabLimit1 =
        makeCaption(tab, "LabLimit1", QStringLiteral("Limiter la taille du code à"), 314, 64, 188);
    EditLimit = new QLineEdit(tab);
    EditLimit->setObjectName(QStringLiteral("EditLimit"));
    EditLimit->setGeometry(314, 82, 56, 22);
    EditLimit->setMaxLength(5);
    EditLimit->installEventFilter(new LimitKeyFilter(this));
    LabLimit2 = makeCaption(tab, "LabLimit2", QStringLiteral("caractères"), 376, 85, 100);
}

void TForm1::BuildScrollingTab(QWidget* tab) {
    CheckHoriz = makeRadioGroup(
        tab, "CheckHoriz", QStringLiteral(" Horizontal "),
        {QStringLiteral("Non"), QStringLiteral("Droite-Gauche"), QStringLiteral("Gauche-Droite")},
        8, 124);
    CheckVert = makeRadioGroup(
        tab, "CheckVert", QStringLiteral(" Vertical "),
        {QStringLiteral("Non"), QStringLiteral("Bas-Haut"), QStringLiteral("Haut-Bas")}, 136, 110);
    CheckSpeed = makeRadioGroup(
        tab, "CheckSpeed", QStringLiteral(" Vitesse "),
        {QStringLiteral("Rapide"), QStringLiteral("Moyen"), QStringLiteral("Lent")}, 250, 96);
    CheckStyle = makeRadioGroup(tab, "CheckStyle", QStringLiteral(" Style "),
                                {QStringLiteral("Continu"), QStringLiteral("Ping-Pong")}, 350, 100);
}

void TForm1::BuildWavesTab(QWidget* tab) {
    CheckVague =
        makeRadioGroup(tab, "CheckVague", QStringLiteral(" Vagues "),
                       {QStringLiteral("    Vagues Y"), QStringLiteral("    Vagues Z")}, 8, 160);
}

void TForm1::BoutPreferencesClick() {
    if (Panel9->isVisible()) {
        ApplyPreferences();
        return;
    }
    CloseOverlayPanels();
    OpenPanel = 9;

    const zk::FormattingState& f = settings.fmt;
    setChecked(CheckDemarrage, settings.StartAtLogon);
    setChecked(CheckReduire, settings.MinimizeAfterCopy);
    setChecked(CheckApercuNavIndep, settings.PreviewInNewWindow);
    setChecked(CheckBulle, settings.ShowHints);
    setChecked(CheckIntegre, settings.PreviewInProgram);
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
    CheckDouble->setChecked(f.GradientSymmetry == 2);
    CheckTxtImg->setItemIndex(f.SignatureOrder);
    EditLimit->setText(QString::number(f.CodeSizeLimit));
    for (int k = 0; k < 8; ++k)
        ShowPresetGradient(k);
    PreviewSignature();

    if (settings.PreferencesPage >= PageControl1->count()) {
        // A page number from a hand-edited file: reported, and the panel stays closed, so
        // that OpenPanel never names a panel that is not shown.
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
    zk::FormattingState& f = settings.fmt;
    settings.StartAtLogon = checkedValue(CheckDemarrage);
    settings.MinimizeAfterCopy = checkedValue(CheckReduire);
    settings.PreviewInNewWindow = checkedValue(CheckApercuNavIndep);
    settings.ShowHints = checkedValue(CheckBulle);
    settings.PreviewInProgram = checkedValue(CheckIntegre);
    SetShowHint(CheckBulle->isChecked());

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
    settings.PreferencesPage = static_cast<std::uint8_t>(PageControl1->currentIndex());

    const QString limit = EditLimit->text();
    if (limit.isEmpty()) {
        f.CodeSizeLimit = 0;
    } else {
        std::int64_t value = 0;
        if (!zk::parseSettingsInteger(limit.toStdString(), value)) {
            // Pasted text: the values above are kept and the panel stays open.
            zk::platform::dialogs().runtimeError(
                this, QStringLiteral("'%1' is not a valid integer value").arg(limit));
            return;
        }
        f.CodeSizeLimit = static_cast<std::uint16_t>(static_cast<std::uint64_t>(value) & 0xFFFFu);
    }
    CloseOverlayPanels();
}

void TForm1::BoutOKConf0Click() {
    ApplyPreferences();
}

void TForm1::EditLimitKeyPress(QChar& key) {
    const char16_t c = key.unicode();
    if (c != 8 && c != 13 && (c < u'0' || c > u'9'))
        key = QChar();
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
