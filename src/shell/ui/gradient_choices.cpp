#include "gradient_choices.h"

#include <QComboBox>
#include <QLabel>
#include <QSlider>

#include <algorithm>

#include "gradient_stop_row.h"
#include "gradient_swatch.h"
#include "options_file.h"

namespace zk::ui {
namespace {

QLabel* makeLabel(QWidget* tab, const char* name, const QString& text, const QRect& r) {
    auto* l = new QLabel(text, tab);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(r);
    return l;
}

QComboBox* makeChoice(QWidget* tab, const char* name, const QStringList& items, const QRect& r) {
    auto* c = new QComboBox(tab);
    c->setObjectName(QLatin1String(name));
    c->addItems(items);
    c->setGeometry(r);
    return c;
}

QSlider* makeDegrees(QWidget* tab, const char* name, const QRect& r) {
    auto* s = new QSlider(Qt::Horizontal, tab);
    s->setObjectName(QLatin1String(name));
    s->setRange(0, zk::kMaxRainbowDegrees);
    s->setSingleStep(1);
    s->setPageStep(30);
    s->setGeometry(r);
    return s;
}

QString degrees(int value) {
    return QStringLiteral("%1°").arg(value);
}

} // namespace

GradientChoices::GradientChoices(QWidget* tab, zk::NewOptions& options,
                                 const zk::FormattingState& state, GradientSwatch* swatch,
                                 const QList<QWidget*>& twoColours)
    : QObject(tab), options_(options), state_(state), swatch_(swatch), twoColours_(twoColours) {
    LabTypeDeg =
        makeLabel(tab, "LabTypeDeg", QStringLiteral("Type de dégradé"), QRect(8, 2, 150, 16));
    CombTypeDeg = makeChoice(tab, "CombTypeDeg",
                             {QStringLiteral("Deux couleurs"), QStringLiteral("Multicolore"),
                              QStringLiteral("Arc-en-ciel")},
                             QRect(8, 18, 150, 24));
    LabMelange = makeLabel(tab, "LabMelange", QStringLiteral("Mélange des couleurs"),
                           QRect(166, 2, 170, 16));
    CombMelange = makeChoice(
        tab, "CombMelange", {QStringLiteral("RVB classique"), QStringLiteral("Perceptuel (OKLab)")},
        QRect(166, 18, 170, 24));
    LabTypeDeg->setBuddy(CombTypeDeg);
    LabMelange->setBuddy(CombMelange);

    CouleursDeg = new GradientStopRow(tab);
    CouleursDeg->setObjectName(QStringLiteral("CouleursDeg"));
    CouleursDeg->move(100, kTypeRowsTop);

    const int second = kTypeRowsTop + 28;
    LabTeinte = makeLabel(tab, "LabTeinte", QStringLiteral("Teinte de départ"),
                          QRect(8, kTypeRowsTop + 4, 120, 16));
    SliderTeinte = makeDegrees(tab, "SliderTeinte", QRect(132, kTypeRowsTop, 240, 24));
    LabTeinteVal = makeLabel(tab, "LabTeinteVal", degrees(0), QRect(378, kTypeRowsTop + 4, 44, 16));
    LabEtendue =
        makeLabel(tab, "LabEtendue", QStringLiteral("Étendue"), QRect(8, second + 4, 120, 16));
    SliderEtendue = makeDegrees(tab, "SliderEtendue", QRect(132, second, 240, 24));
    LabEtendueVal = makeLabel(tab, "LabEtendueVal", degrees(zk::kMaxRainbowDegrees),
                              QRect(378, second + 4, 44, 16));
    LabTeinte->setBuddy(SliderTeinte);
    LabEtendue->setBuddy(SliderEtendue);

    connect(CombTypeDeg, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &GradientChoices::CombTypeDegChange);
    connect(CombMelange, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &GradientChoices::CombMelangeChange);
    connect(CouleursDeg, &GradientStopRow::stopsChanged, this, &GradientChoices::CouleursDegChange);
    connect(SliderTeinte, &QSlider::valueChanged, this, &GradientChoices::SliderTeinteChange);
    connect(SliderEtendue, &QSlider::valueChanged, this, &GradientChoices::SliderEtendueChange);
    Fill();
}

void GradientChoices::Fill() {
    filling_ = true;
    // A hand-edited file cannot get past the options file's checks, but the controls hold
    // their own ranges all the same.
    CombTypeDeg->setCurrentIndex(std::min<int>(options_.GradientType, 2));
    CombMelange->setCurrentIndex(std::min<int>(options_.GradientBlend, 1));
    CouleursDeg->setBlend(static_cast<zk::GradientBlend>(CombMelange->currentIndex()));
    CouleursDeg->setStops(options_.GradientStops, options_.GradientSelectedStop);
    SliderTeinte->setValue(options_.RainbowStart);
    SliderEtendue->setValue(options_.RainbowSpan);
    LabTeinteVal->setText(degrees(SliderTeinte->value()));
    LabEtendueVal->setText(degrees(SliderEtendue->value()));
    filling_ = false;
    ShowTypeControls();
    ShowGradient();
}

void GradientChoices::ShowTypeControls() {
    const int type = CombTypeDeg->currentIndex();
    for (QWidget* w : twoColours_)
        w->setVisible(type == 0);
    CouleursDeg->setVisible(type == 1);
    for (QWidget* w : {static_cast<QWidget*>(LabTeinte), static_cast<QWidget*>(SliderTeinte),
                       static_cast<QWidget*>(LabTeinteVal), static_cast<QWidget*>(LabEtendue),
                       static_cast<QWidget*>(SliderEtendue), static_cast<QWidget*>(LabEtendueVal)})
        w->setVisible(type == 2);
}

void GradientChoices::ShowGradient() {
    const zk::GeneratorOptions generator = zk::generatorOptions(options_);
    if (generator.gradient.type == zk::GradientType::TwoColours &&
        generator.gradient.blend == zk::GradientBlend::Rgb) {
        swatch_->setColors(state_.GradientStartColor, state_.GradientEndColor);
        return;
    }
    // Drawn from left to right, as the classic swatch: the symmetry shows in the text only.
    zk::FormattingState plain = state_;
    plain.GradientSymmetry = 1;
    swatch_->setRow(zk::GradientRow(plain, generator.gradient,
                                    static_cast<std::size_t>(std::max(swatch_->width() - 2, 1))));
}

void GradientChoices::CombTypeDegChange(int index) {
    if (filling_ || index < 0)
        return;
    options_.GradientType = static_cast<std::uint8_t>(index);
    ShowTypeControls();
    ShowGradient();
}

void GradientChoices::CombMelangeChange(int index) {
    if (filling_ || index < 0)
        return;
    options_.GradientBlend = static_cast<std::uint8_t>(index);
    CouleursDeg->setBlend(static_cast<zk::GradientBlend>(index));
    ShowGradient();
}

void GradientChoices::CouleursDegChange() {
    options_.GradientStops = CouleursDeg->stops();
    options_.GradientSelectedStop = static_cast<std::uint8_t>(CouleursDeg->selected());
    ShowGradient();
}

void GradientChoices::SliderTeinteChange(int value) {
    SetDegrees(options_.RainbowStart, LabTeinteVal, value);
}

void GradientChoices::SliderEtendueChange(int value) {
    SetDegrees(options_.RainbowSpan, LabEtendueVal, value);
}

void GradientChoices::SetDegrees(std::uint16_t& option, QLabel* shown, int value) {
    shown->setText(degrees(value));
    if (filling_)
        return;
    option = static_cast<std::uint16_t>(value);
    ShowGradient();
}

} // namespace zk::ui
