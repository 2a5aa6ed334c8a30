// A rectangle filled with a left-to-right blend between two colours: the current gradient
// and the preset gradients of the preferences.
#pragma once

#include <QColor>
#include <QWidget>

#include "formatting_state.h"

namespace zk::ui {

class GradientSwatch final : public QWidget {
    Q_OBJECT

public:
    explicit GradientSwatch(QWidget* parent = nullptr);

    void setColors(Color start, Color end);
    Color startColor() const { return start_; }
    Color endColor() const { return end_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Color start_ = 0;
    Color end_ = 0;
};

} // namespace zk::ui
