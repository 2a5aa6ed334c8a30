#include "gradient_swatch.h"

#include <QLinearGradient>
#include <QPainter>

#include "colors.h"

namespace zk::ui {

GradientSwatch::GradientSwatch(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientSwatch::setColors(Color start, Color end) {
    if (start == start_ && end == end_)
        return;
    start_ = start;
    end_ = end;
    update();
}

void GradientSwatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    // Pixel centres of the first and last columns carry the two colours exactly.
    QLinearGradient blend(inside.left() + 0.5, 0, inside.right() + 0.5, 0);
    blend.setColorAt(0, toQColor(start_));
    blend.setColorAt(1, toQColor(end_));
    p.fillRect(inside, blend);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace zk::ui
