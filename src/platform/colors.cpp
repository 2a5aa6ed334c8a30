#include "colors.h"

#include "string_utils.h"

namespace zk::ui {

QColor toQColor(Color c) {
    const Color rgb = ResolveColor(c);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

Color fromQColor(const QColor& c) {
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

} // namespace zk::ui
