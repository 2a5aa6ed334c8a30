// The pictures of the window: toolbar buttons, the window and tray icon, the about logo.
// They are drawn at run time from vector drawings (the program's icon from its SVG source,
// data/icons/zelkohtml.svg, built in), at the size and pixel ratio of the screen that shows
// them: sharp on a screen of two device pixels per pixel as on one.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace zk::platform {

// A toolbar picture by name ("nouveau", "ouvrir", ...), 16 x 16 pixels by design; an
// unknown name gives a blank picture.
QIcon toolbarIcon(const QString& name);

// The program's icon (window, tray), 32 x 32 pixels by design, and the about tab's logo:
// that icon at 32 x 32 pixels, with the screen's device pixels.
QIcon appIcon();
QPixmap appLogo();

// A check mark shown beside the checked item of a menu drawn by the window itself.
QIcon checkMarkIcon();

// Text filled with a left-to-right gradient, bordered, for the about tab, with the
// screen's device pixels.
QPixmap gradientText(const QString& text, const QFont& font, const QColor& from, const QColor& to,
                     const QColor& border, bool outlineOnly, int shadow);

} // namespace zk::platform
