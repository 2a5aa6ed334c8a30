// What the window system lets the program know of its own window. An X11 window manager
// places a window where the program asks and tells where it stands; a Wayland compositor
// places windows itself and keeps their positions to itself.
#pragma once

namespace zk::platform {

// Whether the window system places a window where the program asks and tells where it
// stands. Where it does not, the position read from the settings is saved again as it was.
bool windowPositionKnown();

} // namespace zk::platform
