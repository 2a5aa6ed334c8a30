// The makers of the window's widgets, shared by the window and its parts so that every
// panel, button and menu item is made alike.
#pragma once

#include <QColor>
#include <QString>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class QWidget;

namespace zk::platform {

// Where a closed overlay panel waits, out of view.
inline constexpr int kParkLeft = 0;
inline constexpr int kParkTop = 436;

QWidget* makePanel(QWidget* parent, const char* name, int x, int y, int w, int h);
// An overlay panel: raised border, parked out of view and hidden until opened.
QWidget* makeOverlay(QWidget* parent, const char* name, int w, int h);
// Puts the controls of an overlay panel after every other control of its window in the Tab
// order, as if it had been made last. A part that makes its panel with the window's regions
// is then reached where the window's overlay panels are: Ctrl+Shift+Tab from the editor comes
// to the open panel. The panel stays parked and hidden until opened.
void moveToEndOfTabOrder(QWidget* panel);
// A caption letter drawn in the Courier face, 9 points, or larger where the face the
// machine has for Courier draws small letters: a capital stands about as tall as the
// drawings of the icons beside it.
void setCaption(QToolButton* b, const QString& text, const QColor& color, bool italic = false,
                bool underline = false, bool strike = false);
// A button that opens menu at a press, without the toolkit's arrow.
void makeDropDown(QToolButton* b, QMenu* menu);
QPushButton* makePushButton(QWidget* parent, const char* name, const QString& caption, int x, int y,
                            int w = 64, int h = 25);
// An item of a one-of-many group: shown with a radio mark.
QAction* makeGroupItem(QMenu* menu, QActionGroup* group, const QString& name,
                       const QString& caption, int tag);
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                  int h);

} // namespace zk::platform
