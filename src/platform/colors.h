// Colours between the formatting state (Windows values 0x00BBGGRR, with the system colours)
// and the toolkit.
#pragma once

#include <QColor>

#include "formatting_state.h"

namespace zk::ui {

// A colour of the state, system colours resolved, as the toolkit's colour.
QColor toQColor(Color c);
// A chosen colour as the state keeps it.
Color fromQColor(const QColor& c);

} // namespace zk::ui
