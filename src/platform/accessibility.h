// What a screen reader such as Orca says of the window's controls, and the keyboard's way
// to each of them.
#pragma once

#include <QString>

#include <vector>

class QWidget;

namespace zk::platform {

// A hint without the shortcut it names: "Préférences - F9" gives "Préférences",
// "Gras (Ctrl+B)" gives "Gras"; a hint without a shortcut is given back trimmed.
QString hintWithoutShortcut(const QString& hint);

// The shortcut a hint names ("F9" for "Préférences - F9"); empty when it names none.
QString shortcutOfHint(const QString& hint);

// The name of a control that shows neither a caption nor a hint, by its objectName: a
// French name, or the objectName of the label that names it (the screen reader then says
// the label's text as it is at the time). description, when not empty, says what the
// name does not.
struct ControlName {
    const char* control = nullptr;
    const char* name = nullptr;  // or null when label names it
    const char* label = nullptr; // or null
    const char* description = nullptr;
};

// Makes every control of the window `root`, and those made in it later (browser views,
// panels filled when they open), speakable and reachable from the keyboard:
// - a tool button, shown by a picture or a letter, says its hint without the shortcut,
//   and the shortcut as its description ("Raccourci : F9");
// - the controls of `names` get their name, label and description;
// - the part of a control that takes the focus for it (a browser view's page) says the
//   control's name;
// - Ctrl+Tab and Ctrl+Shift+Tab leave a text editor, where Tab types a tab.
// A name given in code beforehand is kept.
void makeAccessible(QWidget* root, std::vector<ControlName> names);

} // namespace zk::platform
