// The colours of a gradient of several colours, as a row of swatches under the gradient
// swatch: a click on one selects it and offers the colour dialog; "+" adds a colour after
// the selected one, "−" removes the selected one, from 2 to 8 colours.
#pragma once

#include <QWidget>

#include <array>
#include <cstddef>
#include <vector>

#include "gradient_sources.h"

class QToolButton;

namespace zk::ui {

class GradientStopRow final : public QWidget {
    Q_OBJECT

public:
    explicit GradientStopRow(QWidget* parent = nullptr);

    // The colours shown (2 to 8 of them are kept; fewer get the first again, more are cut),
    // the selected one brought within them. Emits nothing.
    void setStops(const std::vector<Color>& stops, std::size_t selected);
    const std::vector<Color>& stops() const { return stops_; }
    std::size_t selected() const { return selected_; }
    // How "+" mixes the new colour from its neighbours.
    void setBlend(GradientBlend blend) { blend_ = blend; }

    // The swatch of colour k (BoutCoulDeg0..BoutCoulDeg7); hidden beyond the count.
    QToolButton* stopButton(std::size_t k) const { return buttons_[k]; }
    QToolButton* BoutCoulPlus = nullptr;
    QToolButton* BoutCoulMoins = nullptr;

    // Selects colour k and opens the colour dialog on it.
    void BoutCoulDegClick(std::size_t k);
    // A colour after the selected one, halfway to the next as the gradient mixes them (a
    // copy of the selected one after the last), becomes the selected one.
    void BoutCoulPlusClick();
    // The selected colour goes; the one after it, or the new last one, is selected.
    void BoutCoulMoinsClick();

    // Width and height the row needs.
    static constexpr int kWidth = 312;
    static constexpr int kHeight = 24;

signals:
    // The user changed a colour, the number of colours or the selected one.
    void stopsChanged();

private:
    void showStops();

    std::array<QToolButton*, kMaxGradientStops> buttons_{};
    std::vector<Color> stops_;
    std::size_t selected_ = 0;
    GradientBlend blend_ = GradientBlend::Rgb;
};

} // namespace zk::ui
