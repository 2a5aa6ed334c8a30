// The "Dégradé" tab: the current gradient, the eight preset gradients and the commands that
// choose and edit their colours. They act at once; editing a colour edits the selected preset
// too.
#include "preferences_panel.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

#include <utility>

#include "colors.h"
#include "dialogs.h"
#include "gradient_choices.h"
#include "gradient_swatch.h"
#include "icons.h"
#include "settings_file.h"
#include "window_host.h"

namespace zk::ui {

namespace {

constexpr int kPresetCount = 8;

QToolButton* makeTabButton(QWidget* tab, const char* name, const QString& tip, int x, int y) {
    auto* b = new QToolButton(tab);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(tip);
    b->setGeometry(x, y, 24, 24);
    return b;
}

// The selected preset when it names an entry of the tables (a hand-edited settings file may
// hold any byte); -1 otherwise, and then only the current colours change.
int selectedPreset(const zk::FormattingState& f) {
    return f.GradientPresetIndex < kPresetCount ? f.GradientPresetIndex : -1;
}

} // namespace

void PreferencesPanel::BuildGradientTab() {
    QWidget* tab = TabSheet3;
    for (int k = 0; k < kPresetCount; ++k) {
        auto* swatch = new GradientSwatch(tab);
        swatch->setObjectName(QStringLiteral("Grad%1").arg(k));
        swatch->setGeometry(100 + 40 * k, GradientChoices::kTypeRowsTop, 32, 28);
        // A clear button over the swatch, so that the swatch shows through.
        auto* z = new QToolButton(tab);
        z->setObjectName(QStringLiteral("Z%1").arg(k));
        z->setProperty("Tag", k);
        z->setGeometry(swatch->geometry());
        z->setAutoRaise(true);
        z->setCursor(Qt::PointingHandCursor);
        z->setStyleSheet(QStringLiteral("QToolButton { background: transparent; }"));
    }
    LabDeg = new QLabel(QString(QChar(0x2022)), tab); // the bullet of code 149
    LabDeg->setObjectName(QStringLiteral("LabDeg"));
    LabDeg->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LabDeg->setGeometry(104, GradientChoices::kTypeRowsTop + 30, 24, 16);

    BoutDeg1 = makeTabButton(tab, "BoutDeg1", QStringLiteral("Couleur de départ"), 70, 48);
    BoutDeg1->setIcon(zk::platform::toolbarIcon(QStringLiteral("couleur")));
    Degrade = new GradientSwatch(tab);
    Degrade->setObjectName(QStringLiteral("Degrade"));
    Degrade->setGeometry(100, 48, 312, 24);
    BoutDeg2 = makeTabButton(tab, "BoutDeg2", QStringLiteral("Couleur d'arrivée"), 418, 48);
    BoutDeg2->setIcon(zk::platform::toolbarIcon(QStringLiteral("couleur")));
    BoutInverse = makeTabButton(tab, "BoutInverse", QStringLiteral("Inverser"), 446, 48);
    BoutInverse->setText(QString(QChar(0x21C4)));
    CheckDouble = new QCheckBox(QStringLiteral("Symétrie"), tab);
    CheckDouble->setObjectName(QStringLiteral("CheckDouble"));
    CheckDouble->setGeometry(350, 21, 120, 18);

    // The choices of the options file above the swatch; the presets, the marker and the
    // colour buttons belong to "Deux couleurs".
    QList<QWidget*> twoColours = {LabDeg, BoutDeg1, BoutDeg2, BoutInverse};
    for (int k = 0; k < kPresetCount; ++k) {
        twoColours.append(PresetSwatch(k));
        twoColours.append(tab->findChild<QToolButton*>(QStringLiteral("Z%1").arg(k)));
    }
    Choices = new GradientChoices(tab, options_, settings_.fmt, Degrade, twoColours);

    ShowCurrentGradient();
    for (int k = 0; k < kPresetCount; ++k)
        ShowPresetGradient(k);
}

GradientSwatch* PreferencesPanel::PresetSwatch(int k) const {
    return TabSheet3->findChild<GradientSwatch*>(QStringLiteral("Grad%1").arg(k));
}

void PreferencesPanel::ShowCurrentGradient() {
    Choices->ShowGradient();
}

void PreferencesPanel::ShowPresetGradient(int k) {
    if (k < 0 || k >= kPresetCount)
        return;
    if (GradientSwatch* swatch = PresetSwatch(k))
        swatch->setColors(settings_.fmt.PresetStartColors[static_cast<std::size_t>(k)],
                          settings_.fmt.PresetEndColors[static_cast<std::size_t>(k)]);
}

void PreferencesPanel::SelectPresetGradient() {
    zk::FormattingState& f = settings_.fmt;
    const int k = selectedPreset(f);
    if (k >= 0) {
        f.GradientStartColor = f.PresetStartColors[static_cast<std::size_t>(k)];
        f.GradientEndColor = f.PresetEndColors[static_cast<std::size_t>(k)];
    }
    ShowCurrentGradient();
    LabDeg->move(104 + 40 * f.GradientPresetIndex, LabDeg->y());
}

void PreferencesPanel::BoutDeg1Click() {
    zk::FormattingState& f = settings_.fmt;
    const auto chosen =
        zk::platform::dialogs().chooseColor(host_.hostWindow(), toQColor(f.GradientStartColor));
    if (!chosen)
        return;
    f.GradientStartColor = fromQColor(*chosen);
    ShowCurrentGradient();
    const int k = selectedPreset(f);
    if (k < 0)
        return;
    f.PresetStartColors[static_cast<std::size_t>(k)] = f.GradientStartColor;
    ShowPresetGradient(k);
}

void PreferencesPanel::BoutDeg2Click() {
    zk::FormattingState& f = settings_.fmt;
    const auto chosen =
        zk::platform::dialogs().chooseColor(host_.hostWindow(), toQColor(f.GradientEndColor));
    if (!chosen)
        return;
    f.GradientEndColor = fromQColor(*chosen);
    ShowCurrentGradient();
    const int k = selectedPreset(f);
    if (k < 0)
        return;
    f.PresetEndColors[static_cast<std::size_t>(k)] = f.GradientEndColor;
    ShowPresetGradient(k);
}

void PreferencesPanel::BoutInverseClick() {
    zk::FormattingState& f = settings_.fmt;
    std::swap(f.GradientStartColor, f.GradientEndColor);
    ShowCurrentGradient();
    const int k = selectedPreset(f);
    if (k < 0)
        return;
    f.PresetStartColors[static_cast<std::size_t>(k)] = f.GradientStartColor;
    f.PresetEndColors[static_cast<std::size_t>(k)] = f.GradientEndColor;
    ShowPresetGradient(k);
}

void PreferencesPanel::Z0Click(QToolButton* sender) {
    settings_.fmt.GradientPresetIndex = static_cast<std::uint8_t>(sender->property("Tag").toInt());
    SelectPresetGradient();
}

} // namespace zk::ui
