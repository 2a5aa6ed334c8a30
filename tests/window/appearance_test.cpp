// What the eye sees: every caption whole with the fonts the machine has, drop-down buttons
// that look idle once their menu has closed, one-of-many menus with radio marks, toolbar
// letters as tall as the icons' drawings, and the standard dialogs in French.
#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionMenuItem>
#include <QToolButton>
#include <QTreeView>

#include "presets.h"
#include "style_commands.h"
#include "window_test_support.h"

using zktest::AppFolder;

namespace {

QString shown(QString text) {
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// What is missing for the caption of w to show whole, or empty when it fits.
QString cutCaption(QWidget* w) {
    const QString name = w->objectName().isEmpty()
                             ? QString::fromLatin1(w->metaObject()->className())
                             : w->objectName();
    auto report = [&](const QString& text, int needed, int has) {
        return QStringLiteral("%1 \"%2\": needs %3, has %4").arg(name, text).arg(needed).arg(has);
    };
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText)
            return {};
        const QRect room = label->contentsRect();
        if (label->wordWrap()) {
            const int needed = label->heightForWidth(label->width());
            return needed <= label->height() ? QString()
                                             : report(label->text(), needed, label->height());
        }
        const QSize needed = label->fontMetrics().size(Qt::TextShowMnemonic, label->text());
        if (needed.width() > room.width())
            return report(label->text(), needed.width(), room.width());
        if (needed.height() > room.height())
            return report(label->text(), needed.height(), room.height());
        return {};
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        auto* button = static_cast<QAbstractButton*>(w);
        if (button->text().isEmpty())
            return {};
        const int needed = button->sizeHint().width();
        return needed <= button->width() ? QString()
                                         : report(button->text(), needed, button->width());
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        if (button->text().isEmpty())
            return {};
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        const int needed =
            button->fontMetrics().horizontalAdvance(shown(button->text())) + icon + 8;
        return needed <= button->width() ? QString()
                                         : report(button->text(), needed, button->width());
    }
    return {};
}

// The style's own description of a menu item, as the menu paints it.
QStyleOptionMenuItem menuItemOption(QMenu* menu, QAction* action) {
    struct Painter : QMenu {
        using QMenu::initStyleOption;
    };
    QStyleOptionMenuItem option;
    static_cast<Painter*>(menu)->initStyleOption(&option, action);
    return option;
}

QStringList visibleTexts(QWidget* dialog) {
    QStringList texts;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        if (auto* label = qobject_cast<QLabel*>(w))
            texts.append(label->text());
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts.append(button->text());
    }
    return texts;
}

} // namespace

class AppearanceTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;

private slots:
    void init() {
        zktest::dialogs() = zktest::FakeDialogs();
        folder = std::make_unique<AppFolder>();
        form = zktest::openWindow(*folder);
    }
    void cleanup() {
        zk::platform::setDialogs(&zktest::dialogs());
        form.reset();
        folder.reset();
    }

    // Every label, check box, radio button and push button of the window and of its panels
    // (the preferences' tabs, the banner, the prompt, the tables and menus) has the room its
    // text needs in the face the machine gives for the window's font.
    void everyCaptionIsWhole() {
        QStringList cut;
        int seen = 0;
        const QList<QWidget*> widgets = form->findChildren<QWidget*>();
        // Styled and laid out as when they show: the face menu's columns at the size they ask.
        for (QWidget* w : widgets)
            w->ensurePolished();
        for (QWidget* w : widgets) {
            if (!w->layout())
                continue;
            if (qobject_cast<QMenu*>(w->parentWidget()))
                w->resize(w->sizeHint()); // a menu gives its widgets the size they ask for
            w->layout()->activate();
        }
        for (QWidget* w : widgets) {
            if (!qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w))
                continue;
            ++seen;
            const QString missing = cutCaption(w);
            if (!missing.isEmpty()) {
                qWarning("%s", qPrintable(missing));
                cut.append(missing);
            }
        }
        QVERIFY(seen > 300); // the 224 character cells and the rest
        QCOMPARE(cut.size(), 0);
    }

    void dropDownButtonsLookIdleOnceTheirMenuCloses() {
        struct Case {
            QToolButton* button;
            QMenu* menu;
        };
        const Case cases[] = {{form->styleCommands()->BoutTaille, form->styleCommands()->Popup1},
                              {form->BoutMisc, form->textTools()->Popup3},
                              {form->BoutPredefini, form->presets()->Popup4},
                              {form->styleCommands()->BoutFntName, form->styleCommands()->Popup6}};
        for (const Case& c : cases) {
            QToolButton* button = c.button;
            QMenu* menu = c.menu;
            const QImage idle = button->grab().toImage();
            // The pointer comes over the button, which lights up (as the toolkit marks it
            // when the pointer enters), and presses it.
            button->setAttribute(Qt::WA_UnderMouse, true);
            QVERIFY2(button->grab().toImage() != idle, qPrintable(button->objectName()));
            bool opened = false;
            zktest::whenShown(menu, [&] {
                opened = true;
                // The pointer goes down into the menu; the menu is closed from there.
                QTest::mouseMove(menu, menu->rect().center());
                menu->hide();
            });
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(12, 12));
            QTRY_VERIFY(opened);
            QTRY_VERIFY(!menu->isVisible());
            QTRY_VERIFY2(button->grab().toImage() == idle, qPrintable(button->objectName()));
        }
    }

    // The size and preset menus are one-of-many choices: their items carry radio marks.
    void sizeAndPresetMenusAreOneOfMany() {
        for (QMenu* menu : {form->styleCommands()->Popup1, form->presets()->Popup4}) {
            for (QAction* item : menu->actions()) {
                if (item->isSeparator() || item == form->presets()->SauvegarderP)
                    continue;
                QCOMPARE(menuItemOption(menu, item).checkType, QStyleOptionMenuItem::Exclusive);
            }
        }
        QCOMPARE(menuItemOption(form->presets()->Popup4, form->presets()->SauvegarderP).checkType,
                 QStyleOptionMenuItem::NotCheckable);
        // Choosing the checked item again keeps it checked.
        form->MenuItem(QStringLiteral("H3"))->trigger();
        form->MenuItem(QStringLiteral("H3"))->trigger();
        QVERIFY(form->MenuItem(QStringLiteral("H3"))->isChecked());
        QCOMPARE(int(form->settings.fmt.FontSizeIndex), 3);
    }

    // The caption letters of the toolbar stand about as tall as the icons' drawings (16 by
    // 16 pixels) beside them, and fit their buttons.
    void toolbarLettersMatchTheIcons() {
        for (QToolButton* b :
             {form->styleCommands()->BoutFntName, form->styleCommands()->BoutNormal,
              form->styleCommands()->BoutFontGras, form->styleCommands()->BoutFontItalique,
              form->styleCommands()->BoutFontSouligne, form->styleCommands()->BoutFontBarre}) {
            const QRect letter = QFontMetrics(b->font()).tightBoundingRect(b->text());
            QVERIFY2(
                letter.height() >= 10 && letter.height() <= 16,
                qPrintable(
                    QStringLiteral("%1: %2 pixels").arg(b->objectName()).arg(letter.height())));
            QVERIFY(QFontMetrics(b->font()).horizontalAdvance(b->text()) <= b->width() - 4);
            QCOMPARE(b->font().family(), QStringLiteral("Courier"));
        }
    }

    // The toolkit's own dialogs speak French: the colour dialog, the file dialog's columns
    // and side bar, the message boxes' buttons.
    void standardDialogsSpeakFrench() {
        zk::platform::setDialogs(nullptr);
        QStringList colourTexts;
        zktest::whenModal([&](QWidget* dialog) { colourTexts = visibleTexts(dialog); });
        form->styleCommands()->BoutFontcouleurClick();
        QVERIFY(!colourTexts.isEmpty());
        QVERIFY2(colourTexts.contains(QStringLiteral("Annuler")) ||
                     colourTexts.contains(QStringLiteral("&Annuler")),
                 qPrintable(colourTexts.join(QLatin1Char('|'))));
        for (const char* english : {"Cancel", "&Basic colors", "&Custom colors",
                                    "&Add to Custom Colors", "&Pick Screen Color"})
            QVERIFY2(!colourTexts.contains(QLatin1String(english)), english);

        QStringList columns;
        zktest::whenModal([&](QWidget* dialog) {
            if (auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("treeView"))) {
                for (int i = 0; i < tree->model()->columnCount(); ++i)
                    columns.append(
                        tree->model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString());
            }
        });
        form->textTools()->BoutOuvrirClick();
        QVERIFY2(columns.contains(QStringLiteral("Nom")),
                 qPrintable(columns.join(QLatin1Char('|'))));
        QVERIFY(columns.contains(QStringLiteral("Taille")));
        QVERIFY(!columns.contains(QStringLiteral("Name")));

        QStringList boxButtons;
        zktest::whenModal([&](QWidget* dialog) {
            for (QAbstractButton* b : static_cast<QMessageBox*>(dialog)->buttons())
                boxButtons.append(b->text());
        });
        zk::platform::dialogs().confirmReplace(form.get(), folder->file(QStringLiteral("x.txt")));
        QCOMPARE(boxButtons.size(), 2);
        QVERIFY2(boxButtons.contains(QStringLiteral("&Oui")), qPrintable(boxButtons.join('|')));
        QVERIFY(boxButtons.contains(QStringLiteral("&Non")));
    }
};

ZK_WINDOW_TEST_MAIN(AppearanceTest)
#include "appearance_test.moc"
