// What a screen reader such as Orca finds in the window: every control that can take the
// keyboard focus has a French name, in the window and in each overlay panel, and every
// command of the toolbars and panels can be reached from the keyboard.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QWebEngineView>

#include "accessibility.h"
#include "image_list_panel.h"
#include "preferences_panel.h"
#include "style_commands.h"
#include "window_test_support.h"

using zktest::AppFolder;

namespace {

QString accessibleText(QWidget* w, QAccessible::Text kind) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(kind) : QString();
}

QString describe(QWidget* w) {
    return w->objectName().isEmpty()
               ? QStringLiteral("%1 in %2")
                     .arg(QLatin1String(w->metaObject()->className()),
                          w->parentWidget() ? w->parentWidget()->objectName() : QString())
               : w->objectName();
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder = std::make_unique<AppFolder>();
        form = zktest::openWindow(*folder);
        QAccessible::setActive(true);
    }
    void cleanup() {
        form.reset();
        folder.reset();
    }

    // The names of the window's controls, then of each overlay panel's, each open in turn
    // (and each tab of the preferences).
    void everyFocusableControlHasAName() {
        QStringList offenders;
        QStringList named; // each offender once, with the first place it was found
        auto walk = [&](const QString& where, QWidget* panel) {
            const QList<QWidget*> all = form->findChildren<QWidget*>();
            for (QWidget* w : all) {
                if (w->focusPolicy() == Qt::NoFocus || w->window() != form.get())
                    continue;
                if (!w->isVisible() && !(panel && panel->isAncestorOf(w)))
                    continue;
                if (accessibleText(w, QAccessible::Name).trimmed().isEmpty() &&
                    !named.contains(describe(w))) {
                    named.append(describe(w));
                    offenders.append(QStringLiteral("%1 (%2)").arg(describe(w), where));
                }
            }
        };
        QTRY_VERIFY(form->codeOutput()->WebB);
        walk(QStringLiteral("window"), nullptr);

        form->characterTable()->BoutCaracClick();
        QTRY_VERIFY(form->characterTable()->Panel3->isVisible());
        walk(QStringLiteral("character table"), form->characterTable()->Panel3);

        form->imagePanel()->BoutImageClick();
        QTRY_VERIFY(form->imagePanel()->Panel7->isVisible());
        // Its picture's view, made when a picture is first shown.
        QWebEngineView* picture = form->imagePanel()->EnsureWebB2();
        picture->setHtml(QStringLiteral("<p>image</p>"));
        QTRY_VERIFY(picture->focusProxy());
        walk(QStringLiteral("image lists"), form->imagePanel()->Panel7);
        form->imagePanel()->BoutImgNouvClick();
        QTRY_VERIFY(form->imagePanel()->Panel6->isVisible());
        walk(QStringLiteral("list name"), form->imagePanel()->Panel6);
        form->imagePanel()->BoutMessAnnuleClick();

        form->codeOutput()->BoutCodeClick();
        QTRY_VERIFY(form->codeOutput()->Panel8->isVisible());
        walk(QStringLiteral("code view"), form->codeOutput()->Panel8);

        form->preferences()->BoutPreferencesClick();
        QTRY_VERIFY(form->preferences()->Panel9->isVisible());
        for (int tab = 0; tab < form->preferences()->PageControl1->count(); ++tab) {
            form->preferences()->PageControl1->setCurrentIndex(tab);
            QTRY_VERIFY(form->preferences()->PageControl1->widget(tab)->isVisible());
            walk(form->preferences()->PageControl1->tabText(tab), form->preferences()->Panel9);
        }
        form->preferences()->BoutOKConf0Click();

        form->ShowError(QStringLiteral("\r\nERREUR en écriture"));
        QTRY_VERIFY(form->PanError->isVisible());
        walk(QStringLiteral("error banner"), form->PanError);
        form->BoutErrorClick();

        QVERIFY2(offenders.isEmpty(),
                 qPrintable(QStringLiteral("without a name: ") + offenders.join(", ")));
    }

    // A hint's caption and the shortcut it names, in the forms the hints take.
    void hintsAndTheirShortcuts_data() {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("function key") << "Préférences - F9"
                                      << "Préférences"
                                      << "F9";
        QTest::newRow("two keys") << "Couper - Shift+Del"
                                  << "Couper"
                                  << "Shift+Del";
        QTest::newRow("letter") << "Menu images - Ctrl+I"
                                << "Menu images"
                                << "Ctrl+I";
        QTest::newRow("brackets") << "Gras (Ctrl+B)"
                                  << "Gras"
                                  << "Ctrl+B";
        QTest::newRow("none") << "Afficher / Cacher le code HTML"
                              << "Afficher / Cacher le code HTML"
                              << "";
        QTest::newRow("dash in the caption") << "Min - Maj"
                                             << "Min - Maj"
                                             << "";
        QTest::newRow("brackets in the caption") << "Couleur (de la police)"
                                                 << "Couleur (de la police)"
                                                 << "";
        QTest::newRow("spaces around") << "  Aide - F1 "
                                       << "Aide"
                                       << "F1";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }
    void hintsAndTheirShortcuts() {
        QFETCH(QString, hint);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QCOMPARE(zk::platform::hintWithoutShortcut(hint), caption);
        QCOMPARE(zk::platform::shortcutOfHint(hint), shortcut);
    }

    // The buttons shown by a picture or a letter say their hint, without the shortcut,
    // which the description gives.
    void iconButtonsSayTheirHintWithoutTheShortcut() {
        struct Case {
            QToolButton* button;
            const char* name;
            const char* description; // empty: none needed
        };
        const Case cases[] = {
            {form->styleCommands()->BoutFontGras, "Gras", ""},
            {form->BoutPreferences, "Préférences", "Raccourci : F9"},
            {form->BoutCouper, "Couper", "Raccourci : Shift+Del"},
            {form->BoutNavIntegre, "Aperçu", "Raccourci : F12"},
            {form->BoutImage, "Menu images", "Raccourci : Ctrl+I"},
            {form->BoutCarac, "Table des caractères", ""},
            {form->imagePanel()->BoutImgFermer, "Fermer le menu images", ""},
        };
        for (const Case& c : cases) {
            const QString name = c.button->objectName();
            QCOMPARE(accessibleText(c.button, QAccessible::Name), QString::fromUtf8(c.name));
            if (*c.description)
                QCOMPARE(accessibleText(c.button, QAccessible::Description),
                         QString::fromUtf8(c.description));
        }
    }

    // Every button of the toolbars and of the open panels is in the Tab chain, so that
    // the commands without a shortcut are reached from the keyboard; a click still leaves
    // the focus in the editor. Ctrl+Tab leaves the editor, where Tab types a tab.
    void everyCommandIsReachedFromTheKeyboard() {
        QTRY_VERIFY(form->Memo1->hasFocus());
        QTest::keyClick(form->Memo1, Qt::Key_Tab);
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("\t"));
        QTest::keyClick(form->Memo1, Qt::Key_Tab, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), form->BoutNouveau);

        // Tab by Tab from there: every button of both toolbars comes up, in order.
        QList<QToolButton*> reached;
        for (int i = 0; i < 60; ++i) {
            if (auto* b = qobject_cast<QToolButton*>(QApplication::focusWidget()))
                if (!reached.contains(b))
                    reached.append(b);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        // Of the alignment buttons, Tab reaches the one that is down, as in any group of
        // one-of-many choices; the arrow keys choose another.
        QStringList missing;
        for (QWidget* toolbar : {form->Panel2, form->Panel5, form->Panel1})
            for (QToolButton* b : toolbar->findChildren<QToolButton*>())
                if (!reached.contains(b) && b->group() != form->styleCommands()->AlignGroup)
                    missing.append(b->objectName());
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
        QVERIFY(reached.contains(form->styleCommands()->BoutAlignGauche));
        form->styleCommands()->BoutAlignGauche->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(form->styleCommands()->BoutAlignGauche->hasFocus());
        QTest::keyClick(form->styleCommands()->BoutAlignGauche, Qt::Key_Right);
        QTRY_VERIFY(form->styleCommands()->BoutAlignCentre->isChecked());
        QCOMPARE(form->LastCommand, QStringLiteral("BoutAlignCentreClick"));

        // Space on a focused button runs its command.
        form->styleCommands()->BoutFontGras->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(form->styleCommands()->BoutFontGras->hasFocus());
        QTest::keyClick(form->styleCommands()->BoutFontGras, Qt::Key_Space);
        QCOMPARE(form->LastCommand, QStringLiteral("BoutFontGrasClick"));
        QVERIFY(form->styleCommands()->BoutFontGras->isChecked());

        // A click leaves the focus in the editor.
        form->Memo1->setFocus();
        QTRY_VERIFY(form->Memo1->hasFocus());
        QTest::mouseClick(form->styleCommands()->BoutFontItalique, Qt::LeftButton);
        QCOMPARE(form->LastCommand, QStringLiteral("BoutFontItaliqueClick"));
        QVERIFY(form->Memo1->hasFocus());

        // A drop-down button opens its menu from the keyboard.
        bool opened = false;
        zktest::whenShown(form->textTools()->Popup3, [&] {
            opened = true;
            form->textTools()->Popup3->hide();
        });
        form->BoutMisc->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(form->BoutMisc->hasFocus());
        QTest::keyClick(form->BoutMisc, Qt::Key_Space);
        QTRY_VERIFY(opened);

        // Ctrl+Shift+Tab goes back from the editor, past the preview, to the controls of
        // the open panel.
        form->preferences()->BoutPreferencesClick();
        QTRY_VERIFY(form->preferences()->Panel9->isVisible());
        form->Memo1->setFocus();
        QTRY_VERIFY(form->Memo1->hasFocus());
        QTest::keyClick(form->Memo1, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(!form->Memo1->hasFocus());
        for (int i = 0;
             i < 4 && !form->preferences()->Panel9->isAncestorOf(QApplication::focusWidget());
             ++i) {
            QWidget* at = QApplication::focusWidget();
            QTest::keyClick(at, Qt::Key_Backtab, Qt::ShiftModifier);
            QTRY_VERIFY2(QApplication::focusWidget() != at, qPrintable(describe(at)));
        }
        QVERIFY2(form->preferences()->Panel9->isAncestorOf(QApplication::focusWidget()),
                 qPrintable(describe(QApplication::focusWidget())));
        form->preferences()->BoutOKConf0Click();

        // The image list panel's buttons too.
        form->imagePanel()->BoutImageClick();
        QTRY_VERIFY(form->imagePanel()->Panel7->isVisible());
        QStringList untabbable;
        for (QToolButton* b : form->imagePanel()->Panel7->findChildren<QToolButton*>())
            if (!(b->focusPolicy() & Qt::TabFocus))
                untabbable.append(b->objectName());
        QVERIFY2(untabbable.isEmpty(), qPrintable(untabbable.join(", ")));
    }

private:
    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;
};

ZK_WINDOW_TEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
