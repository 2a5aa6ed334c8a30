// A rectangle filled with a left-to-right blend between two colours, or with a row of
// colours side by side: the current gradient and the preset gradients of the preferences.
#pragma once

#include <QColor>
#include <QWidget>

#include <vector>

#include "formatting_state.h"

namespace zk::ui {

class GradientSwatch final : public QWidget {
    Q_OBJECT

public:
    explicit GradientSwatch(QWidget* parent = nullptr);

    void setColors(Color start, Color end);
    // The colours of a row of letters, spread over the swatch's width, instead of the blend;
    // empty gives the blend back.
    void setRow(const std::vector<Color>& row);
    const std::vector<Color>& row() const { return row_; }
    // The colours at the left and right ends.
    Color startColor() const { return row_.empty() ? start_ : row_.front(); }
    Color endColor() const { return row_.empty() ? end_ : row_.back(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Color start_ = 0;
    Color end_ = 0;
    std::vector<Color> row_;
};

} // namespace zk::ui
