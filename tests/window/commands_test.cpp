// The command builder alone: buttons and menu items made from table rows, the handler run
// and recorded, one command shared by a button and a menu item, and the shortcuts of a
// context menu dispatched by the focused control.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QToolButton>

#include "commands.h"
#include "part_test_support.h"

using namespace zktest;

namespace {

// A part with two commands.
class Owner final {
public:
    int aRuns = 0;
    int bRuns = 0;
    void AClick() { ++aRuns; }
    void BClick() { ++bRuns; }
};

using Row = zk::platform::Command<Owner>;
const Row kRows[] = {
    {"BoutA", "&Alpha", "Alpha - Ctrl+L", "alpha", "Ctrl+L", true, ZK_HANDLER(Owner, AClick)},
    {"B1", "&Bravo", nullptr, nullptr, "Shift+Del", false, ZK_HANDLER(Owner, BClick)},
    {"BoutMenu", nullptr, "Menu", nullptr, nullptr, false, nullptr, nullptr},
};

QIcon iconNamed(const QString& name) {
    QPixmap p(16, 16);
    p.fill(name == QLatin1String("alpha") ? Qt::red : Qt::blue);
    return QIcon(p);
}

} // namespace

class CommandsTest final : public QObject {
    Q_OBJECT

private slots:
    void rowsMakeButtonsAndItemsThatRunAndRecordTheirHandler() {
        QString last;
        zk::platform::CommandBuilder builder(last, iconNamed);
        Owner owner;
        QWidget parent;
        QMenu menu;
        QToolButton* a = builder.button(&parent, &owner, zk::platform::commandRow(kRows, "BoutA"));
        QCOMPARE(a->objectName(), QStringLiteral("BoutA"));
        QCOMPARE(a->parentWidget(), &parent);
        QCOMPARE(a->toolTip(), QStringLiteral("Alpha - Ctrl+L"));
        QVERIFY(a->isCheckable());
        QVERIFY(!a->icon().isNull());
        QCOMPARE(a->focusPolicy(), Qt::TabFocus);
        QCOMPARE(a->size(), QSize(24, 24));
        a->click();
        QCOMPARE(owner.aRuns, 1);
        QCOMPARE(last, QStringLiteral("AClick"));
        QVERIFY(a->isChecked());

        QAction* b = builder.item(&menu, &owner, zk::platform::commandRow(kRows, "B1"));
        builder.separator(&menu, "N1");
        QCOMPARE(menu.actions().size(), 2);
        QCOMPARE(menu.actions().at(0), b);
        QCOMPARE(menu.actions().at(1)->objectName(), QStringLiteral("N1"));
        QVERIFY(menu.actions().at(1)->isSeparator());
        QCOMPARE(b->objectName(), QStringLiteral("B1"));
        QCOMPARE(b->text(), QStringLiteral("&Bravo"));
        QCOMPARE(b->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
        QCOMPARE(b->shortcutContext(), Qt::WidgetShortcut); // only the dispatch runs it
        QVERIFY(!b->isCheckable());
        b->trigger();
        QCOMPARE(owner.bRuns, 1);
        QCOMPARE(last, QStringLiteral("BClick"));

        // A drop-down button runs nothing of its own.
        QToolButton* m = builder.button(&parent, &owner, kRows[2]);
        last.clear();
        m->click();
        QVERIFY(last.isEmpty());
        QCOMPARE(owner.aRuns + owner.bRuns, 2);

        builder.run("Other", [&owner] { owner.BClick(); });
        QCOMPARE(last, QStringLiteral("Other"));
        QCOMPARE(owner.bRuns, 2);
    }

    // One command shown twice: the button keeps its tooltip and icon, and either runs the
    // handler once.
    void buttonSharingAMenuItemRunsItsHandlerOnce() {
        QString last;
        zk::platform::CommandBuilder builder(last, iconNamed);
        Owner owner;
        QWidget parent;
        QMenu menu;
        // The button's own row runs A: sharing the menu item's action replaces it.
        QToolButton* button = builder.button(&parent, &owner,
                                             Row{"BoutB", nullptr, "Bravo - Shift+Del", "beta",
                                                 nullptr, false, ZK_HANDLER(Owner, AClick)});
        QAction* item = builder.item(&menu, &owner, zk::platform::commandRow(kRows, "B1"));
        const QIcon icon = button->icon();
        builder.shareAction(button, item);
        QCOMPARE(button->defaultAction(), item);
        QCOMPARE(button->toolTip(), QStringLiteral("Bravo - Shift+Del"));
        QCOMPARE(button->icon().cacheKey(), icon.cacheKey());
        button->click();
        QCOMPARE(owner.bRuns, 1);
        QCOMPARE(owner.aRuns, 0);
        QCOMPARE(last, QStringLiteral("BClick"));
        item->trigger();
        QCOMPARE(owner.bRuns, 2);
        item->setEnabled(false);
        QVERIFY(!button->isEnabled());
    }

    // The focused control's context menu first, then its parents'; a disabled item takes the
    // key without running.
    void shortcutsRunTheItemOfTheFocusedControlsMenu() {
        QString last;
        zk::platform::CommandBuilder builder(last, iconNamed);
        Owner owner;
        QWidget top;
        QWidget group(&top);
        QLineEdit inner(&group);
        QLineEdit other(&top);
        QMenu groupMenu, otherMenu;
        builder.item(&groupMenu, &owner, zk::platform::commandRow(kRows, "BoutA"));
        QAction* b = builder.item(&otherMenu, &owner, zk::platform::commandRow(kRows, "B1"));
        builder.attachContextMenu(&group, &groupMenu);
        builder.attachContextMenu(&other, &otherMenu);
        QCOMPARE(other.contextMenuPolicy(), Qt::CustomContextMenu);

        auto press = [&](QWidget* target, QKeyCombination key) {
            QKeyEvent event(QEvent::KeyPress, key.key(), key.keyboardModifiers());
            return builder.dispatchShortcut(target, &event, &top);
        };
        QVERIFY(press(&inner, Qt::CTRL | Qt::Key_L)); // from the parent's menu
        QCOMPARE(owner.aRuns, 1);
        QVERIFY(!press(&inner, Qt::SHIFT | Qt::Key_Delete)); // another control's menu
        QVERIFY(press(&other, Qt::SHIFT | Qt::Key_Delete));
        QCOMPARE(owner.bRuns, 1);
        QVERIFY(!press(&other, Qt::CTRL | Qt::Key_L));
        b->setEnabled(false);
        QVERIFY(press(&other, Qt::SHIFT | Qt::Key_Delete));
        QCOMPARE(owner.bRuns, 1);
        QVERIFY(!press(&top, Qt::CTRL | Qt::Key_L)); // above the controls: no menu
        QCOMPARE(owner.aRuns, 1);
    }
};

ZK_PART_TEST_MAIN(CommandsTest)
#include "commands_test.moc"
