// The choices of the "Dégradé" tab kept in the options file: the type of gradient, the blend
// of its colours, the colours of "Multicolore" and the hues of "Arc-en-ciel". They act at
// once, as the tab's colour commands do, and the gradient swatch shows the result.
#pragma once

#include <QList>
#include <QObject>

#include <cstdint>

class QComboBox;
class QLabel;
class QSlider;
class QWidget;

namespace zk {
struct FormattingState;
struct NewOptions;
} // namespace zk

namespace zk::ui {

class GradientStopRow;
class GradientSwatch;

class GradientChoices final : public QObject {
    Q_OBJECT

public:
    // Builds the controls in tab, over options; swatch is the tab's gradient swatch, state
    // gives the two colours of "Deux couleurs", and twoColours are that type's own controls
    // (its presets and colour buttons), shown for that type only.
    GradientChoices(QWidget* tab, zk::NewOptions& options, const zk::FormattingState& state,
                    GradientSwatch* swatch, const QList<QWidget*>& twoColours);

    QLabel* LabTypeDeg = nullptr;
    QComboBox* CombTypeDeg = nullptr; // "Deux couleurs", "Multicolore", "Arc-en-ciel"
    QLabel* LabMelange = nullptr;
    QComboBox* CombMelange = nullptr; // "RVB classique", "Perceptuel (OKLab)"
    GradientStopRow* CouleursDeg = nullptr;
    QLabel* LabTeinte = nullptr;
    QSlider* SliderTeinte = nullptr; // the rainbow's start hue, 0 to 360 degrees
    QLabel* LabTeinteVal = nullptr;
    QLabel* LabEtendue = nullptr;
    QSlider* SliderEtendue = nullptr; // the rainbow's span, 0 to 360 degrees
    QLabel* LabEtendueVal = nullptr;

    // Sets the controls from the options (when the panel opens), the swatch with them.
    void Fill();
    // The swatch: the classic blend of the two colours, or the colours the generator gives
    // a row of letters as wide as the swatch in the type and blend chosen.
    void ShowGradient();

    void CombTypeDegChange(int index);
    void CombMelangeChange(int index);
    void CouleursDegChange();
    void SliderTeinteChange(int degrees);
    void SliderEtendueChange(int degrees);

    // Top of the rows of the type's own controls, under the swatch.
    static constexpr int kTypeRowsTop = 80;

private:
    // Shows the controls of the type chosen, hides the others.
    void ShowTypeControls();
    // A slider's degrees shown beside it and, unless filling, kept in its option.
    void SetDegrees(std::uint16_t& option, QLabel* shown, int value);

    zk::NewOptions& options_;
    const zk::FormattingState& state_;
    GradientSwatch* swatch_;
    QList<QWidget*> twoColours_;
    bool filling_ = false;
};

} // namespace zk::ui
