// The eight presets of the basic formatting, reached from the drop-down menu Popup4:
// choosing a slot makes it current and loads its file, "&Sauvegarder" writes the present
// formatting into the current slot.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

#include "commands.h"

class QAction;
class QMenu;
class QWidget;

namespace zk {
struct AppSettings;
}
namespace zk::platform {
class WindowHost;
}

namespace zk::ui {

class Presets final : public QObject {
    Q_OBJECT

public:
    // What the window keeps of the files it read in part: a copy of such a file is kept
    // before it is written over, and it is not written over while none could be kept.
    struct UnreadFiles {
        // Keeps a copy beside the file; the sentence that names it for a message.
        std::function<QString(const QString& path)> keepCopy;
        // False while a file read in part has no copy kept.
        std::function<bool(const QString& path)> mayReplace;
    };

    // window: the parent of Popup4. appFolder ends with "/". The items are built and wired
    // through the host's command builder.
    Presets(zk::platform::WindowHost& host, zk::AppSettings& settings, QWidget* window,
            const QString& appFolder, UnreadFiles unreadFiles);

    QMenu* Popup4 = nullptr; // items P1..P8 (found by name), N8, SauvegarderP
    QAction* SauvegarderP = nullptr;

    // The item Pk of slot k - 1; null when there is none.
    QAction* SlotItem(int k) const;
    // Checks the item of slot n and clears the others.
    void CheckSlot(int n);

    void P1Click(QAction* sender);
    void LoadPreset(std::uint8_t n);
    void SauvegarderPClick();
    QString PresetPath(int slot) const;

    // The rows of the menu's own commands.
    static const zk::platform::Command<Presets>& CommandRow(const char* name);

signals:
    // A preset file was read whole into the formatting: the menus, the style buttons and
    // the character table follow it.
    void presetLoaded();

private:
    zk::platform::WindowHost& host_;
    zk::AppSettings& settings_;
    QString appFolder_;
    UnreadFiles unreadFiles_;
};

} // namespace zk::ui
