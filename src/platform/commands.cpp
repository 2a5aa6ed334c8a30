#include "commands.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QToolButton>

#include <utility>

namespace zk::platform {

CommandBuilder::CommandBuilder(QString& lastCommand, std::function<QIcon(const QString&)> icon,
                               QObject* parent)
    : QObject(parent), lastCommand_(lastCommand), icon_(std::move(icon)) {}

void CommandBuilder::run(const char* handlerName, const std::function<void()>& handler) {
    lastCommand_ = QLatin1String(handlerName);
    const QPointer<CommandBuilder> self(this);
    handler();
    if (self) // a handler may have closed the window
        emit ran();
}

QAction* CommandBuilder::makeItem(QMenu* menu, const char* name, const char* caption,
                                  const char* hint, const char* icon, const char* shortcut,
                                  bool checkable) {
    QAction* a = menu->addAction(QString::fromUtf8(caption ? caption : name));
    a->setObjectName(QLatin1String(name));
    if (hint)
        a->setToolTip(QString::fromUtf8(hint));
    if (icon)
        a->setIcon(icon_(QLatin1String(icon)));
    if (shortcut) {
        // Shown in the menu; the dispatch by focused control runs it (dispatchShortcut).
        a->setShortcut(QKeySequence(QLatin1String(shortcut), QKeySequence::PortableText));
        a->setShortcutContext(Qt::WidgetShortcut);
    }
    a->setCheckable(checkable);
    return a;
}

void CommandBuilder::separator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

QToolButton* CommandBuilder::makeButton(QWidget* parent, const char* name, const char* hint,
                                        const char* icon, bool checkable) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    if (hint)
        b->setToolTip(QString::fromUtf8(hint));
    b->setAutoRaise(true);
    // Reached by Tab; a click leaves the focus in the editor, so its shortcuts keep working.
    b->setFocusPolicy(Qt::TabFocus);
    b->resize(24, 24);
    b->setIconSize(QSize(16, 16));
    if (icon)
        b->setIcon(icon_(QLatin1String(icon)));
    b->setCheckable(checkable);
    return b;
}

void CommandBuilder::connectAction(QAction* a, const char* handlerName,
                                   std::function<void()> handler) {
    connect(a, &QAction::triggered, this,
            [this, handlerName, handler = std::move(handler)] { run(handlerName, handler); });
}

void CommandBuilder::connectButton(QToolButton* b, const char* handlerName,
                                   std::function<void()> handler) {
    connect(b, &QToolButton::clicked, this,
            [this, handlerName, handler = std::move(handler)] { run(handlerName, handler); });
}

void CommandBuilder::shareAction(QToolButton* button, QAction* action) {
    const QString hint = button->toolTip();
    const QIcon icon = button->icon();
    disconnect(button, &QToolButton::clicked, this, nullptr); // the action runs it now
    button->setDefaultAction(action);
    button->setToolTip(hint);
    button->setIcon(icon);
}

void CommandBuilder::attachContextMenu(QWidget* w, QMenu* menu) {
    contextMenus_.insert(w, menu);
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    // A scroll area reports the position in its viewport.
    auto* area = qobject_cast<QAbstractScrollArea*>(w);
    QWidget* origin = area ? area->viewport() : w;
    connect(w, &QWidget::customContextMenuRequested, menu,
            [origin, menu](const QPoint& pos) { menu->popup(origin->mapToGlobal(pos)); });
}

bool CommandBuilder::dispatchShortcut(QWidget* target, QEvent* event, const QWidget* top) const {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == 0 || key->key() == Qt::Key_unknown)
        return false;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const QKeySequence pressed(QKeyCombination(mods, Qt::Key(key->key())));
    // The context menu of the focused control first, then those of its parents.
    for (QWidget* w = target; w && w != top; w = w->parentWidget()) {
        QMenu* menu = contextMenus_.value(w);
        if (!menu)
            continue;
        const QList<QAction*> items = menu->actions();
        for (QAction* item : items) {
            if (item->isSeparator() || item->shortcut() != pressed)
                continue;
            if (event->type() == QEvent::ShortcutOverride) {
                event->accept(); // keep the editor's own binding out; the key press runs it
            } else if (item->isEnabled()) {
                item->trigger();
            }
            return true;
        }
    }
    return false;
}

} // namespace zk::platform
