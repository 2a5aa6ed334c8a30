#include "accessibility.h"

#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTextEdit>
#include <QToolButton>

#include <utility>

namespace zk::platform {

namespace {

struct SplitHint {
    QString caption;
    QString shortcut;
};

// "Préférences - F9", "Couper - Shift+Del", "Gras (Ctrl+B)": the caption, then the keys.
SplitHint splitHint(const QString& hint) {
    static const QString keys = QStringLiteral(
        R"(((?:(?:Ctrl|Shift|Maj|Alt|Meta)\+)*(?:F[0-9]{1,2}|Del|Ins|Suppr|Inser|Tab|[A-Z0-9])))");
    static const QRegularExpression afterDash(QStringLiteral(R"(^(.*\S)\s+-\s+)") + keys +
                                              QStringLiteral("$"));
    static const QRegularExpression inBrackets(QStringLiteral(R"(^(.*\S)\s*\()") + keys +
                                               QStringLiteral(R"(\)$)"));
    const QString trimmed = hint.trimmed();
    for (const QRegularExpression* form : {&afterDash, &inBrackets}) {
        const QRegularExpressionMatch m = form->match(trimmed);
        if (m.hasMatch())
            return {m.captured(1), m.captured(2)};
    }
    return {trimmed, {}};
}

bool isTextEditor(const QObject* o) {
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(o))
        return !plain->tabChangesFocus();
    if (auto* rich = qobject_cast<const QTextEdit*>(o))
        return !rich->tabChangesFocus();
    return false;
}

// The next (or previous) control of from's window that Tab would reach.
void moveFocus(QWidget* from, bool forward) {
    for (QWidget* w = from;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == from)
            return;
        if (w->window() == from->window() && w->isVisible() && w->isEnabled() && !w->focusProxy() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

// Watches the window's widgets as they are polished (made, or first shown), so that
// controls made after the window, like browser views, get their names too.
class Namer final : public QObject {
public:
    Namer(QWidget* root, std::vector<ControlName> names) : QObject(root), root_(root) {
        for (const ControlName& n : names)
            names_.insert(QLatin1String(n.control), n);
        qApp->installEventFilter(this);
        const QList<QWidget*> all = root->findChildren<QWidget*>();
        for (QWidget* w : all)
            name(w);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Polish:
            if (auto* w = qobject_cast<QWidget*>(watched); w && root_ && root_->isAncestorOf(w))
                name(w);
            break;
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (tab && (key->modifiers() & Qt::ControlModifier) && isTextEditor(watched) && root_ &&
                root_->isAncestorOf(static_cast<QWidget*>(watched))) {
                const bool back =
                    key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
                moveFocus(static_cast<QWidget*>(watched), !back);
                return true;
            }
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    void name(QWidget* w) {
        const auto known = names_.constFind(w->objectName());
        if (known != names_.constEnd()) {
            const ControlName& n = *known;
            if (w->accessibleName().isEmpty()) {
                if (n.name)
                    w->setAccessibleName(QString::fromUtf8(n.name));
                else if (auto* label = root_->findChild<QLabel*>(QLatin1String(n.label)))
                    label->setBuddy(w); // the label's text, as it reads when it is said
            }
            if (n.description && w->accessibleDescription().isEmpty())
                w->setAccessibleDescription(QString::fromUtf8(n.description));
        }
        if (auto* button = qobject_cast<QToolButton*>(w); button && !button->toolTip().isEmpty()) {
            const SplitHint hint = splitHint(button->toolTip());
            if (button->accessibleName().isEmpty())
                button->setAccessibleName(hint.caption);
            if (!hint.shortcut.isEmpty() && button->accessibleDescription().isEmpty())
                button->setAccessibleDescription(QStringLiteral("Raccourci : ") + hint.shortcut);
        }
        // The page of a browser view takes the focus for it and says the view's name.
        QWidget* owner = w->parentWidget();
        if (owner && owner->focusProxy() == w && w->accessibleName().isEmpty()) {
            name(owner);
            w->setAccessibleName(owner->accessibleName());
        }
    }

    QPointer<QWidget> root_;
    QHash<QString, ControlName> names_;
};

} // namespace

QString hintWithoutShortcut(const QString& hint) {
    return splitHint(hint).caption;
}

QString shortcutOfHint(const QString& hint) {
    return splitHint(hint).shortcut;
}

void makeAccessible(QWidget* root, std::vector<ControlName> names) {
    new Namer(root, std::move(names));
}

} // namespace zk::platform
