// Commands from tables: one row per command (its name, caption, hint, icon, shortcut,
// whether it toggles, and its handler), and the one builder that makes the menu items and
// buttons of a part from its table, runs the handler and records which one ran. The window's
// parts all build through the window's builder, so every command is recorded the same way,
// and the keyboard shortcuts of the context menus are dispatched from what was built.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <cstddef>
#include <functional>

class QAction;
class QEvent;
class QIcon;
class QMenu;
class QToolButton;
class QWidget;

namespace zk::platform {

// One command of a part whose handlers are methods of Owner.
template <class Owner> struct Command final {
    const char* name;         // objectName of the action or button ("Couper1", "BoutNouveau")
    const char* caption;      // menu caption with its & letter; nullptr for a button alone
    const char* hint;         // tooltip; nullptr for none
    const char* icon;         // name of an icon of icons.h; nullptr for none
    const char* shortcut;     // "Shift+Del", "F12"...; nullptr for none
    bool checkable = false;   // a toggle
    const char* handlerName;  // as LastCommand records it ("Couper1Click"); nullptr: no handler
    void (Owner::*handler)(); // nullptr: a drop-down button or a group item handled elsewhere
};

// The handler columns of a row: its name as written and the method.
#define ZK_HANDLER(Owner, method) #method, &Owner::method

// The row of a table named name; nullptr when there is none.
template <class Owner, std::size_t N>
const Command<Owner>* findCommand(const Command<Owner> (&table)[N], const char* name) {
    for (const Command<Owner>& row : table) {
        if (qstrcmp(row.name, name) == 0)
            return &row;
    }
    return nullptr;
}

// The row of a table named name; a missing row is a programming error (asserted).
template <class Owner, std::size_t N>
const Command<Owner>& commandRow(const Command<Owner> (&table)[N], const char* name) {
    const Command<Owner>* row = findCommand(table, name);
    Q_ASSERT_X(row, "commandRow", name);
    return row ? *row : table[0];
}

class CommandBuilder final : public QObject {
    Q_OBJECT

public:
    // lastCommand: where the name of the handler most recently run is recorded; icon: the
    // icon of a name of the icon column.
    CommandBuilder(QString& lastCommand, std::function<QIcon(const QString&)> icon,
                   QObject* parent = nullptr);

    // Runs handler as a command: records its name first, tells ran() after.
    void run(const char* handlerName, const std::function<void()>& handler);

    // A menu item of menu from row, its triggering running the row's handler.
    template <class Owner> QAction* item(QMenu* menu, Owner* owner, const Command<Owner>& row) {
        QAction* a =
            makeItem(menu, row.name, row.caption, row.hint, row.icon, row.shortcut, row.checkable);
        if (row.handler)
            connectAction(a, row.handlerName, [owner, h = row.handler] { (owner->*h)(); });
        return a;
    }
    // A separator of menu named name.
    void separator(QMenu* menu, const char* name);
    // A toolbar button of parent from row, its click running the row's handler.
    template <class Owner>
    QToolButton* button(QWidget* parent, Owner* owner, const Command<Owner>& row) {
        QToolButton* b = makeButton(parent, row.name, row.hint, row.icon, row.checkable);
        if (row.handler)
            connectButton(b, row.handlerName, [owner, h = row.handler] { (owner->*h)(); });
        return b;
    }
    // The button runs the action: one command shown twice (caption and shortcut in the menu,
    // hint and icon on the button); a handler the button had of its own is dropped.
    void shareAction(QToolButton* button, QAction* action);
    // Any signal as a command: connect(sender, signal, ...) recording handlerName.
    template <class Sender, class Signal, class Owner>
    void wire(Sender* sender, Signal signal, Owner* owner, const char* handlerName,
              void (Owner::*handler)()) {
        QObject::connect(sender, signal, owner, [this, owner, handlerName, handler] {
            run(handlerName, [owner, handler] { (owner->*handler)(); });
        });
    }

    // The context menu of w, opened by the right button; its items' shortcuts work while
    // w or a child of w has the focus (dispatchShortcut).
    void attachContextMenu(QWidget* w, QMenu* menu);
    // A key pressed in target: the item of the context menu of target, or of its nearest
    // parent below top that has one, whose shortcut it is, runs. True when the key was one.
    bool dispatchShortcut(QWidget* target, QEvent* event, const QWidget* top) const;

signals:
    // A command has run (what follows a change of the text or the formatting listens).
    void ran();

private:
    QAction* makeItem(QMenu* menu, const char* name, const char* caption, const char* hint,
                      const char* icon, const char* shortcut, bool checkable);
    QToolButton* makeButton(QWidget* parent, const char* name, const char* hint, const char* icon,
                            bool checkable);
    void connectAction(QAction* a, const char* handlerName, std::function<void()> handler);
    void connectButton(QToolButton* b, const char* handlerName, std::function<void()> handler);

    QString& lastCommand_;
    std::function<QIcon(const QString&)> icon_;
    QHash<QWidget*, QMenu*> contextMenus_;
};

} // namespace zk::platform
