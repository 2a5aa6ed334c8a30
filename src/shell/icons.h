// The pictures of the window: toolbar buttons, the window and tray icon, the about logo.
// They are drawn at run time so that nothing has to be shipped beside the program.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace zk::shell {

// A 16 x 16 toolbar picture by name ("nouveau", "ouvrir", ...); an unknown name gives a
// blank picture.
QIcon toolbarIcon(const QString& name);

// The program's 32 x 32 icon (window, tray, about logo).
QIcon appIcon();
QPixmap appLogo();

// A check mark shown beside the checked item of a menu drawn by the window itself.
QIcon checkMarkIcon();

// Text filled with a left-to-right gradient, bordered, for the about tab.
QPixmap gradientText(const QString& text, const QFont& font, const QColor& from, const QColor& to,
                     const QColor& border, bool outlineOnly, int shadow);

} // namespace zk::shell
