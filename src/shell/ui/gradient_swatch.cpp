#include "gradient_swatch.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

#include "colors.h"

namespace zk::ui {

GradientSwatch::GradientSwatch(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientSwatch::setColors(Color start, Color end) {
    if (start == start_ && end == end_ && row_.empty())
        return;
    start_ = start;
    end_ = end;
    row_.clear();
    update();
}

void GradientSwatch::setRow(const std::vector<Color>& row) {
    if (row == row_)
        return;
    row_ = row;
    update();
}

void GradientSwatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!row_.empty()) {
        // Column x of the inside shows the colour of the row at the same fraction of it.
        const auto n = static_cast<long long>(row_.size());
        const int width = std::max(inside.width(), 1);
        for (int x = 0; x < inside.width(); ++x)
            p.fillRect(inside.left() + x, inside.top(), 1, inside.height(),
                       toQColor(row_[static_cast<std::size_t>(x * n / width)]));
        return;
    }
    // Pixel centres of the first and last columns carry the two colours exactly.
    QLinearGradient blend(inside.left() + 0.5, 0, inside.right() + 0.5, 0);
    blend.setColorAt(0, toQColor(start_));
    blend.setColorAt(1, toQColor(end_));
    p.fillRect(inside, blend);
}

} // namespace zk::ui
