#include "window_system.h"

#include <QGuiApplication>

namespace zk::platform {

bool windowPositionKnown() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace zk::platform
