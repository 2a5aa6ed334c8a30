// The window's layout, its command map, the shortcut dispatch, the style commands, the
// error banner, the overlay panels, always-on-top and the tray menu.
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include "image_list_panel.h"
#include "preferences_panel.h"
#include "presets.h"
#include "sounds.h"
#include "status_bar_clock.h"
#include "style_commands.h"
#include "window_test_support.h"

using zktest::AppFolder;

namespace {

struct ButtonCase {
    const char* name;
    const char* tooltip;
    const char* handler; // nullptr: a drop-down without a handler of its own
    bool toggle;
};

const ButtonCase kButtons[] = {
    {"BoutNouveau", "Nouveau", "BoutNouveauClick", false},
    {"BoutOuvrir", "Ouvrir un fichier", "BoutOuvrirClick", false},
    {"BoutSauver", "Sauvegarder un fichier texte ou HTML", "BoutSauverClick", false},
    {"BoutPreferences", "Préférences - F9", "BoutPreferencesClick", false},
    {"BoutCouper", "Couper - Shift+Del", "BoutCouperClick", false},
    {"BoutCopier", "Copier - Ctrl+Ins", "BoutCopierClick", false},
    {"BoutColler", "Coller - Shift+Ins", "BoutCollerClick", false},
    {"BoutUndo", "Annuler - Ctrl+Z", "BoutUndoClick", false},
    {"BoutFntName", "Police", nullptr, false},
    {"BoutTaille", "Taille", nullptr, false},
    {"BoutNormal", "Normal", "BoutNormalClick", false},
    {"BoutFontGras", "Gras", "BoutFontGrasClick", true},
    {"BoutFontItalique", "Italique", "BoutFontItaliqueClick", true},
    {"BoutFontSouligne", "Souligné", "BoutFontSouligneClick", true},
    {"BoutFontBarre", "Barré", "BoutFontBarreClick", true},
    {"BoutAlignGauche", "Aligner à gauche", "BoutAlignGaucheClick", true},
    {"BoutAlignCentre", "Centrer", "BoutAlignCentreClick", true},
    {"BoutAlignDroite", "Aligner à droite", "BoutAlignDroiteClick", true},
    {"BoutFontcouleur", "Couleur de la police", "BoutFontcouleurClick", false},
    {"BoutNoBal", "Ignorer les balises de texte", "BoutNoBalClick", true},
    {"BoutTop", "Toujours visible", "BoutTopClick", true},
    {"BoutNavIntegre", "Aperçu - F12", "BoutNavIntegreClick", false},
    {"BoutClipBoard", "Copier dans le presse-papier", "BoutClipBoardClick", false},
    {"BoutCopieImage", "Copier l'aperçu comme image", "CopiercommeImage1Click", false},
    {"BoutImage", "Menu images - Ctrl+I", "BoutImageClick", false},
    {"BoutSound", "Ajouter un son", "BoutSoundClick", false},
    {"BoutLien", "Créer un lien - Ctrl+L", "BoutLienClick", false},
    {"BoutMisc", "Effets de texte", nullptr, false},
    {"BoutSign", "Signature", "BoutSignClick", true},
    {"BoutScroll", "Scrolling", "BoutScrollClick", true},
    {"BoutVague", "Vagues", "BoutVagueClick", true},
    {"BoutDegrade", "Dégradé", "BoutDegradeClick", true},
    {"BoutCode", "Afficher / Cacher le code HTML", "BoutCodeClick", false},
    {"BoutCarac", "Table des caractères", "BoutCaracClick", false},
    {"BoutPredefini", "Prédéfinis", nullptr, false},
    {"BoutHelp", "Aide - F1", "BoutHelpClick", false},
};

struct ItemCase {
    const char* menu;
    const char* item; // nullptr: a separator
    const char* caption;
    const char* shortcut;
    const char* handler;
};

const ItemCase kItems[] = {
    {"Popup3", "C2", "riori&M", "", "C2Click"},
    {"Popup3", "C3", "min&uscules", "", "C3Click"},
    {"Popup3", "C4", "MA&JUSCULES", "", "C4Click"},
    {"Popup3", "C5", "a&LtErNaNcE Min - Maj", "", "C5Click"},
    {"Popup3", "C6", "&AlTeRnAnCe Maj - Min", "", "C6Click"},
    {"Popup3", "C7", "Intercaler des &E s p a c e s", "", "C7Click"},
    {"Popup3", "C8", "&Supprimer les Espaces", "", "C8Click"},
    {"Popup3", "C9", "&Hacker", "", "C9Click"},
    {"Popup3", nullptr, "", "", ""},
    {"Popup3", "C10", "&Choucroute", "", "C10Click"},
    {"Popup3", "C11", "&Dom-Tom", "", "C11Click"},
    {"Popup3", "C13", "&Viking", "", "C13Click"},
    {"Popup3", "C12", "Atch&oum", "", "C12Click"},
    {"Popup5", "Couper1", "&Couper", "Shift+Del", "Couper1Click"},
    {"Popup5", "Copier1", "Co&pier", "Ctrl+Ins", "Copier1Click"},
    {"Popup5", "Coller1", "Co&ller", "Shift+Ins", "Coller1Click"},
    {"Popup5", "Annuler1", "&Annuler", "Ctrl+Z", "Annuler1Click"},
    {"Popup5", "ToutSelectionner1", "&Tout Sélectionner", "", "ToutSelectionner1Click"},
    {"Popup5", nullptr, "", "", ""},
    {"Popup5", "AperudansleNavigateurIntgr1", "Ap&erçu", "F12", "AperudansleNavigateurIntgr1Click"},
    {"Popup5", "Prfrences1", "&Préférences", "F9", "Prfrences1Click"},
    {"Popup5", nullptr, "", "", ""},
    {"Popup5", "Insreruneimage1", "Menu &Images", "Ctrl+I", "Insreruneimage1Click"},
    {"Popup5", "CrerunLien1", "Créer un &Lien", "Ctrl+L", "CrerunLien1Click"},
    {"Popup5", nullptr, "", "", ""},
    {"Popup5", "AideF11", "Ai&de", "F1", "AideF11Click"},
    {"Popup8", "CouperListe", "&Couper", "Shift+Del", "CouperListeClick"},
    {"Popup8", "CopierListe", "Co&pier", "Ctrl+Ins", "CopierListeClick"},
    {"Popup8", "CollerListe", "Co&ller", "Shift+Ins", "CollerListeClick"},
    {"Popup8", nullptr, "", "", ""},
    {"Popup8", "Voirtoutelaliste1", "&Voir toute la Liste", "", "Voirtoutelaliste1Click"},
    {"Popup8", "CapturerlurlCourante1", "C&apturer l'URL Courante", "",
     "CapturerlurlCourante1Click"},
    {"Popup8", nullptr, "", "", ""},
    {"Popup8", "InsererTexte", "Insérer l'&URL dans le Texte", "", "InsererTexteClick"},
    {"Popup8", "FermerEditeurImage", "&Fermer", "", "FermerEditeurImageClick"},
    {"Popup9", "AfficherTray", "&Afficher", "", "AfficherTrayClick"},
    {"Popup9", "CacherTray", "&Réduire", "", "CacherTrayClick"},
    {"Popup9", nullptr, "", "", ""},
    {"Popup9", "QuitterTray", "&Quitter...", "", nullptr}, // ends the window: own test
};

const char* const kFaces[24] = {"Abadi MT Condensed",
                                "Arial",
                                "Arial Black",
                                "Book Antiqua",
                                "Calisto MT",
                                "Century Gothic",
                                "Comic Sans MS",
                                "Courrier",
                                "Courrier New",
                                "Fixedsys",
                                "Lucida Handwriting",
                                "Marlett",
                                "Matisse ITC",
                                "Modern",
                                "MS Sans Serif",
                                "MS Serif",
                                "System",
                                "Tahoma",
                                "Tempus Sans ITC",
                                "Times New Roman",
                                "Verdana",
                                "Webdings",
                                "Westminster",
                                "Wingdings"};

QToolButton* button(TForm1* f, const char* name) {
    auto* b = f->findChild<QToolButton*>(QLatin1String(name));
    if (!b)
        qWarning("no button %s", name);
    return b;
}

int checkedCount(TForm1* f, const QString& letter, int first, int last, int* which = nullptr) {
    int n = 0;
    for (int i = first; i <= last; ++i) {
        if (f->MenuItem(letter + QString::number(i))->isChecked()) {
            ++n;
            if (which)
                *which = i;
        }
    }
    return n;
}

} // namespace

class WindowCommandsTest final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;

private slots:
    void init() {
        zktest::dialogs() = zktest::FakeDialogs();
        folder = std::make_unique<AppFolder>();
        form = zktest::openWindow(*folder);
        form->Memo1->setFocus();
    }
    void cleanup() {
        form.reset();
        folder.reset();
    }

    void windowAndRegions() {
        QCOMPARE(form->objectName(), QStringLiteral("Form1"));
        QCOMPARE(form->windowTitle(), QStringLiteral(" ZelkoHTML"));
        QCOMPARE(form->size(), QSize(544, 415));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QVERIFY(!form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(form->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QCOMPARE(form->Panel2->geometry(), QRect(0, 0, 512, 32));
        QCOMPARE(form->Panel5->geometry(), QRect(512, 0, 32, 32));
        QCOMPARE(form->Memo1->geometry(), QRect(0, 32, 512, 180));
        QCOMPARE(form->Panel1->geometry(), QRect(512, 32, 32, 364));
        QCOMPARE(form->statusBarClock()->StatBar->geometry(), QRect(0, 396, 544, 19));
        // The clock takes what the address and the code size leave: room for the time and
        // the date at least.
        QVERIFY(form->statusBarClock()->StatBarPanels[0]->width() >= 300);
        QTRY_VERIFY(form->Memo1->hasFocus());
        QCOMPARE(form->statusBarClock()->Timer1->interval(), 1000);
        QVERIFY(form->statusBarClock()->Timer1->isActive());
        // The browser pane comes once the window has been painted.
        QTRY_VERIFY(form->codeOutput()->WebB != nullptr);
        QCOMPARE(form->codeOutput()->WebB->geometry(), QRect(0, 216, 512, 180));
        QVERIFY(form->codeOutput()->WebB->isVisible());
        // Overlay panels wait parked below the client area.
        for (QWidget* p : {form->characterTable()->Panel3, form->imagePanel()->Panel7,
                           form->imagePanel()->Panel6, form->codeOutput()->Panel8,
                           form->preferences()->Panel9, static_cast<QWidget*>(form->PanError)}) {
            QVERIFY2(!p->isVisible(), qPrintable(p->objectName()));
            QCOMPARE(p->pos(), QPoint(0, 436));
        }
        QCOMPARE(form->characterTable()->Panel3->size(), QSize(280, 288));
        QCOMPARE(form->imagePanel()->Panel6->size(), QSize(180, 146));
        QCOMPARE(form->PanError->size(), QSize(276, 116));
        QCOMPARE(form->LabError->size(), QSize(248, 48));
        QCOMPARE(form->BoutError->text(), QStringLiteral("Ok"));
        QVERIFY(form->imagePanel()->WebB2 == nullptr); // made when the image panel needs it
        QVERIFY(form->preferences()->WebB3 == nullptr);
        QCOMPARE(form->codeOutput()->Memo2->palette().color(QPalette::Base), QColor(255, 255, 221));
    }

    void buttonsHaveTooltipKindAndHandler() {
        for (const ButtonCase& c : kButtons) {
            QToolButton* b = button(form.get(), c.name);
            QVERIFY2(b, c.name);
            QCOMPARE(b->toolTip(), QString::fromUtf8(c.tooltip));
            QCOMPARE(b->isCheckable(), c.toggle);
            if (!c.handler) {
                QVERIFY2(b->menu() != nullptr, c.name);
                QCOMPARE(b->popupMode(), QToolButton::InstantPopup);
                continue;
            }
            // Close what a previous command opened, so that every click starts alike.
            form->CloseOverlayPanels();
            if (form->PanError->isVisible())
                form->BoutErrorClick();
            form->LastCommand.clear();
            QTest::mouseClick(b, Qt::LeftButton);
            QCOMPARE(form->LastCommand, QString::fromLatin1(c.handler));
        }
        QCOMPARE(button(form.get(), "BoutFntName")->text(), QStringLiteral("P"));
        QCOMPARE(button(form.get(), "BoutNormal")->text(), QStringLiteral("N"));
        QCOMPARE(button(form.get(), "BoutFontGras")->text(), QStringLiteral("G"));
        QCOMPARE(button(form.get(), "BoutCarac")->text(), QStringLiteral("abc"));
        QCOMPARE(form->styleCommands()->BoutFntName->menu(), form->styleCommands()->Popup6);
        QCOMPARE(form->styleCommands()->BoutTaille->menu(), form->styleCommands()->Popup1);
        QCOMPARE(form->BoutMisc->menu(), form->textTools()->Popup3);
        QCOMPARE(form->BoutPredefini->menu(), form->presets()->Popup4);
    }

    void menuItemsInOrderWithCaptionsShortcutsAndHandlers() {
        QMap<QString, int> position;
        for (const ItemCase& c : kItems) {
            auto* menu = form->findChild<QMenu*>(QLatin1String(c.menu));
            QVERIFY(menu);
            const int at = position[QLatin1String(c.menu)]++;
            const QList<QAction*> actions = menu->actions();
            QVERIFY(at < actions.size());
            QAction* a = actions.at(at);
            if (!c.item) {
                QVERIFY2(a->isSeparator(), c.menu);
                continue;
            }
            QCOMPARE(a->objectName(), QLatin1String(c.item));
            QCOMPARE(a->text(), QString::fromUtf8(c.caption));
            QCOMPARE(a->shortcut(), QKeySequence(QString::fromLatin1(c.shortcut)));
            if (!c.handler)
                continue;
            form->CloseOverlayPanels();
            form->LastCommand.clear();
            a->trigger();
            QCOMPARE(form->LastCommand, QString::fromLatin1(c.handler));
        }
        for (auto it = position.begin(); it != position.end(); ++it)
            QCOMPARE(form->findChild<QMenu*>(it.key())->actions().size(), it.value());
    }

    void groupMenusSizesPresetsFaces() {
        QCOMPARE(form->styleCommands()->Popup1->actions().size(), 7);
        for (int i = 1; i <= 7; ++i) {
            QAction* h = form->MenuItem(QStringLiteral("H%1").arg(i));
            QCOMPARE(h->text(), QStringLiteral("H&%1").arg(i));
            QCOMPARE(h->data().toInt(), i);
            QCOMPARE(form->styleCommands()->Popup1->actions().at(i - 1), h);
        }
        for (int i = 1; i <= 8; ++i) {
            QAction* p = form->MenuItem(QStringLiteral("P%1").arg(i));
            QCOMPARE(p->text(), QStringLiteral("Config &%1").arg(i));
            QCOMPARE(form->presets()->Popup4->actions().at(i - 1), p);
            form->LastCommand.clear();
            p->trigger();
            QCOMPARE(form->LastCommand, QStringLiteral("P1Click"));
        }
        QVERIFY(form->presets()->Popup4->actions().at(8)->isSeparator());
        QCOMPARE(form->presets()->Popup4->actions().at(9), form->presets()->SauvegarderP);
        QCOMPARE(form->presets()->SauvegarderP->text(), QStringLiteral("&Sauvegarder"));
        form->LastCommand.clear();
        form->presets()->SauvegarderP->trigger();
        QCOMPARE(form->LastCommand, QStringLiteral("SauvegarderPClick"));

        // Faces: 24 names, two columns with T12 heading the second.
        for (int i = 0; i < 24; ++i) {
            QAction* t = form->MenuItem(QStringLiteral("T%1").arg(i));
            QCOMPARE(t->text(), QString::fromUtf8(kFaces[i]));
            QCOMPARE(t->data().toInt(), i);
        }
        auto cell = [&](int i) {
            return form->styleCommands()->FaceColumns->findChild<QPushButton*>(
                QStringLiteral("FaceCell%1").arg(i));
        };
        // The menu runs its own loop: look at it and choose from inside.
        bool seen = false;
        QPoint menuAt;
        zktest::whenShown(form->styleCommands()->Popup6, [&] {
            seen = true;
            menuAt = form->styleCommands()->Popup6->pos();
            QTest::mouseClick(cell(17), Qt::LeftButton);
        });
        form->styleCommands()->BoutFntName->showMenu(); // returns when the menu has closed
        QVERIFY(seen);
        QTRY_VERIFY(!form->styleCommands()->Popup6->isVisible());
        QVERIFY(menuAt.y() >=
                form->styleCommands()->BoutFntName->mapToGlobal(QPoint(0, 0)).y() + 20); // below it
        QCOMPARE(cell(0)->text(), QStringLiteral("Abadi MT Condensed"));
        QVERIFY(cell(12)->x() > cell(0)->x());
        QCOMPARE(cell(12)->y(), cell(0)->y());
        QCOMPARE(cell(11)->x(), cell(0)->x());
        QVERIFY(cell(11)->y() > cell(10)->y());
        QCOMPARE(cell(23)->x(), cell(12)->x());
        // A click on a cell chose the face and closed the menu.
        QCOMPARE(form->LastCommand, QStringLiteral("T0Click"));
        QCOMPARE(form->settings.fmt.FontFace, std::string("Tahoma"));
        QVERIFY(cell(17)->isChecked());
        QVERIFY(!cell(0)->isChecked());
    }

    void styleButtonsStoreTheirWeights() {
        struct Case {
            QToolButton* zk::ui::StyleCommands::*button;
            std::uint8_t zk::FormattingState::*flag;
            int weight;
        };
        const Case cases[] = {
            {&zk::ui::StyleCommands::BoutFontGras, &zk::FormattingState::Bold, 1},
            {&zk::ui::StyleCommands::BoutFontItalique, &zk::FormattingState::Italic, 2},
            {&zk::ui::StyleCommands::BoutFontSouligne, &zk::FormattingState::Underline, 4},
            {&zk::ui::StyleCommands::BoutFontBarre, &zk::FormattingState::StrikeOut, 8},
        };
        for (const Case& c : cases) {
            QToolButton* b = form->styleCommands()->*c.button;
            QTest::mouseClick(b, Qt::LeftButton);
            QVERIFY(b->isChecked());
            QCOMPARE(int(form->settings.fmt.*c.flag), c.weight);
        }
        // "N" clears the four and raises their buttons; size, face, colour, alignment stay.
        form->settings.fmt.FontColor = 0x123456;
        QTest::mouseClick(form->styleCommands()->BoutAlignCentre, Qt::LeftButton);
        QTest::mouseClick(form->styleCommands()->BoutNormal, Qt::LeftButton);
        for (const Case& c : cases) {
            QVERIFY(!(form->styleCommands()->*c.button)->isChecked());
            QCOMPARE(int(form->settings.fmt.*c.flag), 0);
        }
        QCOMPARE(form->settings.fmt.FontColor, 0x123456);
        QCOMPARE(int(form->settings.fmt.Alignment), 1);
        // Bold then up again.
        QTest::mouseClick(form->styleCommands()->BoutFontGras, Qt::LeftButton);
        QTest::mouseClick(form->styleCommands()->BoutFontGras, Qt::LeftButton);
        QCOMPARE(int(form->settings.fmt.Bold), 0);
    }

    void alignmentIsARadioGroup() {
        struct Case {
            QToolButton* zk::ui::StyleCommands::*button;
            int alignment;
        };
        const Case cases[] = {
            {&zk::ui::StyleCommands::BoutAlignDroite, 2},
            {&zk::ui::StyleCommands::BoutAlignCentre, 1},
            {&zk::ui::StyleCommands::BoutAlignCentre, 1}, // the one down stays down
            {&zk::ui::StyleCommands::BoutAlignGauche, 0}};
        for (const Case& c : cases) {
            QTest::mouseClick(form->styleCommands()->*c.button, Qt::LeftButton);
            QCOMPARE(int(form->settings.fmt.Alignment), c.alignment);
            int down = 0;
            for (QToolButton* b :
                 {form->styleCommands()->BoutAlignGauche, form->styleCommands()->BoutAlignCentre,
                  form->styleCommands()->BoutAlignDroite})
                down += b->isChecked() ? 1 : 0;
            QCOMPARE(down, 1);
            QVERIFY((form->styleCommands()->*c.button)->isChecked());
        }
    }

    void sizeAndFaceMenusKeepExactlyOneCheck() {
        const int sizes[] = {1, 7, 3, 3};
        for (int n : sizes) {
            form->MenuItem(QStringLiteral("H%1").arg(n))->trigger();
            int which = 0;
            QCOMPARE(checkedCount(form.get(), QStringLiteral("H"), 1, 7, &which), 1);
            QCOMPARE(which, n);
            QCOMPARE(int(form->settings.fmt.FontSizeIndex), n);
        }
        const int faces[] = {7, 1, 23, 23};
        for (int n : faces) {
            form->MenuItem(QStringLiteral("T%1").arg(n))->trigger();
            int which = -1;
            QCOMPARE(checkedCount(form.get(), QStringLiteral("T"), 0, 23, &which), 1);
            QCOMPARE(which, n);
            QCOMPARE(int(form->settings.fmt.FontFaceIndex), n);
            QCOMPARE(QString::fromStdString(form->settings.fmt.FontFace),
                     QString::fromUtf8(kFaces[n]));
            // The character table follows the face.
            QCOMPARE(form->characterTable()->Panel3->font().family(), QString::fromUtf8(kFaces[n]));
            QCOMPARE(form->characterTable()->CharLoop->font().family(),
                     QString::fromUtf8(kFaces[n]));
            QCOMPARE(form->characterTable()->CharLoop->font().pointSize(), 18);
        }
    }

    void fontColourDialog() {
        form->settings.fmt.FontColor = 0x0000FF; // red
        zktest::dialogs().color = std::nullopt;
        QTest::mouseClick(form->styleCommands()->BoutFontcouleur, Qt::LeftButton);
        QCOMPARE(zktest::dialogs().colorCalls, 1);
        QCOMPARE(zktest::dialogs().colorOffered, QColor(255, 0, 0));
        QCOMPARE(form->settings.fmt.FontColor, 0x0000FF); // cancelled: unchanged
        zktest::dialogs().color = QColor(0x11, 0x22, 0x33);
        QTest::mouseClick(form->styleCommands()->BoutFontcouleur, Qt::LeftButton);
        QCOMPARE(form->settings.fmt.FontColor, 0x332211);
    }

    void effectTogglesFlipTheirSwitch() {
        struct Case {
            QToolButton* zk::ui::StyleCommands::*button;
            std::uint8_t zk::FormattingState::*flag;
        };
        const Case cases[] = {
            {&zk::ui::StyleCommands::BoutSign, &zk::FormattingState::SignatureOn},
            {&zk::ui::StyleCommands::BoutScroll, &zk::FormattingState::ScrollingOn},
            {&zk::ui::StyleCommands::BoutVague, &zk::FormattingState::WavesOn},
            {&zk::ui::StyleCommands::BoutDegrade, &zk::FormattingState::GradientOn},
            {&zk::ui::StyleCommands::BoutNoBal, &zk::FormattingState::IgnoreTextTags}};
        for (const Case& c : cases) {
            QToolButton* b = form->styleCommands()->*c.button;
            QTest::mouseClick(b, Qt::LeftButton);
            QCOMPARE(int(form->settings.fmt.*c.flag), 1);
            QVERIFY(b->isChecked());
            QTest::mouseClick(b, Qt::LeftButton);
            QCOMPARE(int(form->settings.fmt.*c.flag), 0);
            QVERIFY(!b->isChecked());
        }
    }

    void rightButtonOpensThePreferencesOnATab() {
        struct Case {
            QToolButton* button;
            int page;
            std::uint8_t zk::FormattingState::*flag; // left unchanged
        };
        const Case cases[] = {
            {form->BoutPreferences, 0, nullptr},
            {form->BoutNavIntegre, 0, nullptr},
            {form->styleCommands()->BoutSign, 1, &zk::FormattingState::SignatureOn},
            {form->styleCommands()->BoutDegrade, 2, &zk::FormattingState::GradientOn},
            {form->styleCommands()->BoutScroll, 3, &zk::FormattingState::ScrollingOn},
            {form->styleCommands()->BoutVague, 4, &zk::FormattingState::WavesOn}};
        for (const Case& c : cases) {
            QToolButton* b = c.button;
            form->LastCommand.clear();
            QTest::mouseClick(b, Qt::RightButton);
            QVERIFY2(form->preferences()->Panel9->isVisible(), qPrintable(b->objectName()));
            QCOMPARE(form->preferences()->PageControl1->currentIndex(), c.page);
            QCOMPARE(int(form->OpenPanel), 9);
            QCOMPARE(form->preferences()->Panel9->pos(), QPoint(0, 32));
            QVERIFY(form->LastCommand.isEmpty()); // the button's own command did not run
            QVERIFY(!b->isChecked());
            if (c.flag)
                QCOMPARE(int(form->settings.fmt.*c.flag), 0);
            form->preferences()->ApplyPreferences();
            QVERIFY(!form->preferences()->Panel9->isVisible());
        }
        // With the panel open on "Vagues", a right click on BoutSign applies and closes it.
        form->settings.PreferencesPage = 4;
        form->preferences()->BoutPreferencesClick();
        QCOMPARE(form->preferences()->PageControl1->currentIndex(), 4);
        QTest::mouseClick(form->styleCommands()->BoutSign, Qt::RightButton);
        QVERIFY(!form->preferences()->Panel9->isVisible());
        QCOMPARE(int(form->OpenPanel), 0);
        QCOMPARE(int(form->settings.PreferencesPage), 4);
    }

    void preferencesPanelTabsAndOkButtons() {
        const char* const tabs[] = {"Général",   "Signature", "Dégradé",
                                    "Scrolling", "Vagues",    "A propos..."};
        QCOMPARE(form->preferences()->PageControl1->count(), 6);
        const QList<QPushButton*> oks = {
            form->preferences()->BoutOKConf0, form->preferences()->BoutOKConf1,
            form->preferences()->BoutOKCong2, form->preferences()->BoutOKConf3,
            form->preferences()->BoutOKConf4, form->preferences()->BoutOKConf5};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(form->preferences()->PageControl1->tabText(i), QString::fromUtf8(tabs[i]));
            form->settings.PreferencesPage = static_cast<std::uint8_t>(i);
            form->preferences()->BoutPreferencesClick();
            QVERIFY(form->preferences()->Panel9->isVisible());
            QCOMPARE(form->preferences()->PageControl1->currentIndex(), i);
            QCOMPARE(oks[i]->text(), QStringLiteral("Ok"));
            QCOMPARE(oks[i]->pos(), QPoint(432, 120));
            QTest::mouseClick(oks[i], Qt::LeftButton);
            QVERIFY(!form->preferences()->Panel9->isVisible());
            QCOMPARE(int(form->OpenPanel), 0);
            QCOMPARE(int(form->settings.PreferencesPage), i);
        }
        // A page number beyond the tabs: the error box, and no panel claims to be open.
        form->settings.PreferencesPage = 6;
        form->preferences()->BoutPreferencesClick();
        QCOMPARE(zktest::dialogs().errors,
                 QStringList{QStringLiteral("List index out of bounds (6)")});
        QVERIFY(!form->preferences()->Panel9->isVisible());
        QCOMPARE(int(form->OpenPanel), 0);
    }

    void aboutTabAndLinks() {
        QCOMPARE(form->preferences()->ZelkoInfo3->text(), QStringLiteral("Site:"));
        QCOMPARE(form->preferences()->ZelkoInfo4->text(), QStringLiteral("Mail:"));
        QVERIFY(!form->preferences()->ImageLogo->pixmap().isNull());
        QCOMPARE(form->preferences()->ImageLogo->pixmap().size(), QSize(32, 32));
        QCOMPARE(form->preferences()->ZelkoInfo5->cursor().shape(), Qt::PointingHandCursor);
        QList<QUrl> opened;
        zktest::UrlRecorder recorder(&opened);
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &recorder, "open");
        form->settings.PreferencesPage = 5;
        form->preferences()->BoutPreferencesClick();
        QTest::mouseClick(form->preferences()->ZelkoInfo5, Qt::LeftButton);
        QTest::mouseClick(form->preferences()->ZelkoInfo6, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0].toString(), form->preferences()->ZelkoInfo5->text());
        QCOMPARE(opened[1].toString(),
                 QStringLiteral("mailto:") + form->preferences()->ZelkoInfo6->text());
    }

    void shortcutsBelongToTheFocusedControlsMenu() {
        struct Case {
            const char* focus; // "Memo1", "Memo2", "ListImg", "Rubrique", "WebB"
            QKeyCombination key;
            const char* handler; // nullptr: the key runs nothing
        };
        const Case cases[] = {
            {"Memo1", QKeyCombination(Qt::ShiftModifier, Qt::Key_Delete), "Couper1Click"},
            {"Memo1", QKeyCombination(Qt::ControlModifier, Qt::Key_Insert), "Copier1Click"},
            {"Memo1", QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert), "Coller1Click"},
            {"Memo1", QKeyCombination(Qt::ControlModifier, Qt::Key_Z), "Annuler1Click"},
            {"Memo1", QKeyCombination(Qt::Key_F12), "AperudansleNavigateurIntgr1Click"},
            {"Memo1", QKeyCombination(Qt::Key_F9), "Prfrences1Click"},
            {"Memo1", QKeyCombination(Qt::ControlModifier, Qt::Key_I), "Insreruneimage1Click"},
            {"Memo1", QKeyCombination(Qt::ControlModifier, Qt::Key_L), "CrerunLien1Click"},
            {"Memo1", QKeyCombination(Qt::Key_F1), "AideF11Click"},
            {"Memo2", QKeyCombination(Qt::Key_F12), "AperudansleNavigateurIntgr1Click"},
            {"Memo2", QKeyCombination(Qt::ControlModifier, Qt::Key_Z), "Annuler1Click"},
            {"ListImg", QKeyCombination(Qt::ShiftModifier, Qt::Key_Delete), "CouperListeClick"},
            {"ListImg", QKeyCombination(Qt::ControlModifier, Qt::Key_Insert), "CopierListeClick"},
            {"ListImg", QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert), "CollerListeClick"},
            {"ListImg", QKeyCombination(Qt::ControlModifier, Qt::Key_Z), nullptr},
            {"ListImg", QKeyCombination(Qt::Key_F12), nullptr},
            {"ListImg", QKeyCombination(Qt::Key_F9), nullptr},
            {"ListImg", QKeyCombination(Qt::ControlModifier, Qt::Key_I), nullptr},
            {"Rubrique", QKeyCombination(Qt::Key_F1), nullptr},
            {"Rubrique", QKeyCombination(Qt::Key_F12), nullptr},
            {"Rubrique", QKeyCombination(Qt::ControlModifier, Qt::Key_L), nullptr},
            {"WebB", QKeyCombination(Qt::Key_F12), nullptr},
            {"WebB", QKeyCombination(Qt::Key_F9), nullptr},
            {"WebB", QKeyCombination(Qt::Key_F1), nullptr},
        };
        QTRY_VERIFY(form->codeOutput()->WebB != nullptr);
        for (const Case& c : cases) {
            const QString where = QLatin1String(c.focus);
            if (form->PanError->isVisible())
                form->BoutErrorClick();
            form->CloseOverlayPanels();
            QWidget* target = nullptr;
            if (where == QLatin1String("Memo1")) {
                target = form->Memo1;
            } else if (where == QLatin1String("Memo2")) {
                form->codeOutput()->BoutCodeClick();
                target = form->codeOutput()->Memo2;
            } else {
                form->imagePanel()->BoutImageClick();
                target = where == QLatin1String("ListImg")
                             ? static_cast<QWidget*>(form->imagePanel()->ListImg)
                         : where == QLatin1String("Rubrique")
                             ? static_cast<QWidget*>(form->imagePanel()->Rubrique)
                             : nullptr;
                if (!target) {
                    form->imagePanel()->BoutImgFermerClick();
                    target = form->codeOutput()->WebB->focusProxy()
                                 ? form->codeOutput()->WebB->focusProxy()
                                 : form->codeOutput()->WebB;
                }
            }
            form->activateWindow();
            target->setFocus();
            QTRY_VERIFY2(
                target->hasFocus(),
                qPrintable(where + QStringLiteral(" active: ") +
                           (QApplication::activeWindow()
                                ? QApplication::activeWindow()->objectName()
                                : QStringLiteral("none")) +
                           QStringLiteral(" focus: ") +
                           (QApplication::focusWidget()
                                ? QString::fromLatin1(
                                      QApplication::focusWidget()->metaObject()->className())
                                : QStringLiteral("none"))));
            form->LastCommand.clear();
            QTest::keyClick(target, c.key.key(), c.key.keyboardModifiers());
            const QString expected = c.handler ? QLatin1String(c.handler) : QString();
            QVERIFY2(form->LastCommand == expected,
                     qPrintable(where + QStringLiteral(" ") + QKeySequence(c.key).toString() +
                                QStringLiteral(" ran '") + form->LastCommand + QLatin1Char('\'')));
        }
    }

    void editorKeysGoThroughTheMenu() {
        // Shift+Ins pastes through "Co&ller", Ctrl+Z undoes through "&Annuler".
        QTest::keyClicks(form->Memo1, QStringLiteral("abc"));
        form->Memo1->selectAll();
        QTest::keyClick(form->Memo1, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(form->LastCommand, QStringLiteral("Copier1Click"));
        form->Memo1->moveCursor(QTextCursor::End);
        QTest::keyClick(form->Memo1, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(form->LastCommand, QStringLiteral("Coller1Click"));
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("abcabc"));
        // Typing still reaches the editor.
        zktest::typeText(form->Memo1, QStringLiteral("é€"));
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("abcabcé€"));
    }

    void errorBannerDisablesTheToolbars() {
        const int sounds = zk::platform::informationSoundCount();
        form->ShowError(QStringLiteral("\r\nERREUR en écriture"));
        QVERIFY(form->PanError->isVisible());
        QCOMPARE(form->PanError->pos(), QPoint(124, 156));
        QCOMPARE(form->LabError->text(), QStringLiteral("\nERREUR en écriture"));
        QVERIFY(!form->Panel1->isEnabled());
        QVERIFY(!form->Panel2->isEnabled());
        QCOMPARE(zk::platform::informationSoundCount(), sounds + 1);
        // No toolbar button reacts, drop-downs and right clicks included.
        form->LastCommand.clear();
        for (const ButtonCase& c : kButtons) {
            QToolButton* b = button(form.get(), c.name);
            if (b->parentWidget() == form->Panel5)
                continue; // the corner is not a toolbar
            QTest::mouseClick(b, Qt::LeftButton);
            QTest::mouseClick(b, Qt::RightButton);
        }
        QCOMPARE(form->LastCommand, QString());
        QVERIFY(!form->preferences()->Panel9->isVisible());
        QVERIFY(!form->styleCommands()->Popup6->isVisible());
        // Shortcuts still work.
        form->Memo1->setFocus();
        QTest::keyClick(form->Memo1, Qt::Key_F9);
        QCOMPARE(form->LastCommand, QStringLiteral("Prfrences1Click"));
        QVERIFY(form->preferences()->Panel9->isVisible());
        // A second message replaces the first; the preferences' Ok still works.
        form->ShowError(QStringLiteral("\r\nConfiguration non définie"));
        QCOMPARE(form->LabError->text(), QStringLiteral("\nConfiguration non définie"));
        QTest::mouseClick(form->preferences()->BoutOKConf0, Qt::LeftButton);
        QVERIFY(!form->preferences()->Panel9->isVisible());
        QVERIFY(!form->Panel1->isEnabled());
        // One Ok hides it and enables both toolbars.
        QTest::mouseClick(form->BoutError, Qt::LeftButton);
        QVERIFY(!form->PanError->isVisible());
        QCOMPARE(form->PanError->pos(), QPoint(0, 436));
        QVERIFY(form->Panel1->isEnabled());
        QVERIFY(form->Panel2->isEnabled());
        QTest::mouseClick(form->styleCommands()->BoutFontGras, Qt::LeftButton);
        QCOMPARE(form->LastCommand, QStringLiteral("BoutFontGrasClick"));
    }

    void overlayPanelsTakeTurns() {
        struct Step {
            QToolButton* TForm1::*button;
            int openPanel;
            QWidget* shown; // the panel visible afterwards, or nullptr
            QPoint at;
        };
        const Step steps[] = {
            {&TForm1::BoutCarac, 3, form->characterTable()->Panel3, QPoint(120, 72)},
            {&TForm1::BoutImage, 7, form->imagePanel()->Panel7, QPoint(0, 216)},
            {&TForm1::BoutCode, 8, form->codeOutput()->Panel8, QPoint(0, 32)},
            {&TForm1::BoutPreferences, 9, form->preferences()->Panel9, QPoint(0, 32)},
            {&TForm1::BoutPreferences, 0, nullptr, {}},
            {&TForm1::BoutCode, 8, form->codeOutput()->Panel8, QPoint(0, 32)},
            {&TForm1::BoutCode, 0, nullptr, {}},
            {&TForm1::BoutImage, 7, form->imagePanel()->Panel7, QPoint(0, 216)},
            {&TForm1::BoutImage, 0, nullptr, {}},
            {&TForm1::BoutCarac, 3, form->characterTable()->Panel3, QPoint(120, 72)},
            {&TForm1::BoutCarac, 0, nullptr, {}},
        };
        const QList<QWidget*> panels = {form->characterTable()->Panel3, form->imagePanel()->Panel7,
                                        form->codeOutput()->Panel8, form->preferences()->Panel9};
        for (const Step& s : steps) {
            QTest::mouseClick(form.get()->*s.button, Qt::LeftButton);
            QCOMPARE(int(form->OpenPanel), s.openPanel);
            for (QWidget* p : panels) {
                const bool expected = p == s.shown;
                QCOMPARE(p->isVisible(), expected);
                QCOMPARE(p->pos(), expected ? s.at : QPoint(0, 436));
            }
        }
        // Closing the code view gives the focus back to the editor.
        QTest::mouseClick(form->BoutCode, Qt::LeftButton);
        QTRY_VERIFY(form->codeOutput()->Memo2->hasFocus());
        QTest::mouseClick(form->BoutCode, Qt::LeftButton);
        QTRY_VERIFY(form->Memo1->hasFocus());
        // Nothing open: closing does nothing.
        form->CloseOverlayPanels();
        QCOMPARE(int(form->OpenPanel), 0);
        // The banner and the list prompt stand above an open panel and leave OpenPanel alone.
        form->characterTable()->BoutCaracClick();
        form->ShowError(QStringLiteral("x"));
        QCOMPARE(int(form->OpenPanel), 3);
        QVERIFY(form->PanError->isVisible());
        QVERIFY(form->characterTable()->Panel3->isVisible());
        QWidget* top = form->childAt(QPoint(124 + 138, 156 + 100));
        QVERIFY(top == form->PanError || form->PanError->isAncestorOf(top));
    }

    void characterTableCells() {
        QCOMPARE(form->characterTable()
                     ->Panel3->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^CH\\d+$")))
                     .size(),
                 224);
        struct Cell {
            int n;
            QString text;
            QPoint at;
        };
        const Cell cells[] = {
            {0, QStringLiteral(" "), {12, 12}},       {1, QStringLiteral("!"), {28, 12}},
            {16, QStringLiteral("0"), {12, 28}},      {96, QString(QChar(0x20AC)), {12, 108}},
            {117, QString(QChar(0x2022)), {92, 124}}, {223, QStringLiteral("ÿ"), {252, 220}}};
        for (const Cell& c : cells) {
            auto* cell =
                form->characterTable()->Panel3->findChild<QLabel*>(QStringLiteral("CH%1").arg(c.n));
            QVERIFY(cell);
            QCOMPARE(cell->text(), c.text);
            QCOMPARE(cell->property("Tag").toInt(), c.n + 32);
            QCOMPARE(cell->geometry(), QRect(c.at, QSize(16, 16)));
            QCOMPARE(cell->alignment(), Qt::AlignCenter);
            QCOMPARE(cell->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(cell->font().family(), form->characterTable()->Panel3->font().family());
        }
    }

    void alwaysOnTop() {
        QCOMPARE(int(form->settings.AlwaysOnTop), 0);
        QVERIFY(!form->IsTopmost());
        const QPoint at = form->pos();
        QTest::mouseClick(form->BoutTop, Qt::LeftButton);
        QCOMPARE(int(form->settings.AlwaysOnTop), 1);
        QVERIFY(form->IsTopmost());
        QVERIFY(form->BoutTop->isChecked());
        QVERIFY(form->isVisible());
        QCOMPARE(form->pos(), at);
        QTest::mouseClick(form->BoutTop, Qt::LeftButton);
        QCOMPARE(int(form->settings.AlwaysOnTop), 0);
        QVERIFY(!form->IsTopmost());
        // A value of 2 read from the file: the press makes it 3 and changes nothing.
        form->settings.AlwaysOnTop = 2;
        form->BoutTop->setChecked(false);
        QTest::mouseClick(form->BoutTop, Qt::LeftButton);
        QCOMPARE(int(form->settings.AlwaysOnTop), 3);
        QVERIFY(!form->IsTopmost());
    }

    void trayMenuAndWindowVisibility() {
        QVERIFY(form->Tray);
        QCOMPARE(form->Popup9->actions().size(), 4);
        form->Popup9Popup();
        QVERIFY(!form->AfficherTray->isEnabled());
        QVERIFY(form->CacherTray->isEnabled());
        form->TrayDblClick(); // shown already: nothing changes
        QVERIFY(form->isVisible());

        form->CacherTrayClick();
        if (form->TrayAvailable()) {
            QVERIFY(!form->isVisible());
            form->Popup9Popup();
            QVERIFY(form->AfficherTray->isEnabled());
            QVERIFY(!form->CacherTray->isEnabled());
            form->TrayDblClick();
            QVERIFY(form->isVisible());
        } else {
            // No notification area: the window goes to the task bar, never out of reach.
            QTRY_VERIFY(form->isMinimized());
            QVERIFY(form->isVisible());
            form->AfficherTrayClick(); // visible (minimised): nothing
            form->RaiseFromOtherCopy();
            QTRY_VERIFY(!form->isMinimized());
        }
        // A hidden window: "&Afficher" only.
        form->hide();
        form->Popup9Popup();
        QVERIFY(form->AfficherTray->isEnabled());
        QVERIFY(!form->CacherTray->isEnabled());
        form->AfficherTray->trigger();
        QVERIFY(form->isVisible());
        QCOMPARE(form->LastCommand, QStringLiteral("AfficherTrayClick"));
        // A second copy's request raises a hidden window too.
        QSignalSpy raised(form.get(), &TForm1::raisedByOtherCopy);
        form->hide();
        form->RaiseFromOtherCopy();
        QVERIFY(form->isVisible());
        QCOMPARE(raised.size(), 1);
    }

    void tooltipsFollowTheShowHintSwitch() {
        const QPoint inside(5, 5);
        auto ask = [&] {
            QToolTip::hideText(); // goes after a short delay: wait until it is gone
            if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); },
                                 zktest::kWindowSystemTimeoutMs))
                return QStringLiteral("(the previous tooltip stays)");
            QHelpEvent help(QEvent::ToolTip, inside,
                            form->styleCommands()->BoutFontGras->mapToGlobal(inside));
            QCoreApplication::sendEvent(form->styleCommands()->BoutFontGras, &help);
            // A tooltip shows while its event is handled: there is nothing to wait for.
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QVERIFY(QTest::qWaitForWindowActive(form.get(), zktest::kWindowSystemTimeoutMs));
        QVERIFY(form->ShowHint);
        QCOMPARE(ask(), QStringLiteral("Gras"));
        form->SetShowHint(false);
        QCOMPARE(ask(), QString());
        form->SetShowHint(true);
        QCOMPARE(ask(), QStringLiteral("Gras"));
        QToolTip::hideText();
    }

    void helpPage() {
        // Missing page: the banner.
        form->BoutHelpClick();
        QCOMPARE(form->LabError->text(), QStringLiteral("\nLe fichier d'aide est introuvable !"));
        form->BoutErrorClick();
    }

    void browserThatCannotBeStarted() {
        QFile page(folder->file(QStringLiteral("Data/Aide/ZelkoHTMLDOC.htm")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        const QByteArray saved = qgetenv("BROWSER");
        qputenv("BROWSER", folder->file(QStringLiteral("pas-de-navigateur")).toUtf8());
        form->settings.PreviewInProgram = 0;
        form->settings.PreviewInNewWindow = 1;
        QTest::keyClicks(form->Memo1, QStringLiteral("abc"));
        QTest::keyClick(form->Memo1, Qt::Key_F1);
        QTest::keyClick(form->Memo1, Qt::Key_F12);
        qputenv("BROWSER", saved);
        if (saved.isEmpty())
            qunsetenv("BROWSER");
        // Nothing is reported and nothing typed is lost.
        QVERIFY(!form->PanError->isVisible());
        QVERIFY(zktest::dialogs().errors.isEmpty());
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("abc"));
    }

    void helpPageStartsTheBrowserWithTheFullPathUnquoted() {
        // An application folder with spaces; the browser is a script recording its arguments.
        AppFolder spaced(true, QStringLiteral("mon dossier"));
        QFile page(spaced.file(QStringLiteral("Data/Aide/ZelkoHTMLDOC.htm")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><body>Aide</body></html>");
        page.close();
        QTemporaryDir bin;
        const QString record = bin.path() + QStringLiteral("/args.txt");
        const QString script = bin.path() + QStringLiteral("/browser.sh");
        QFile s(script);
        QVERIFY(s.open(QIODevice::WriteOnly));
        s.write(
            QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > '%1'\n")
                .arg(record)
                .toUtf8());
        s.close();
        s.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray saved = qgetenv("BROWSER");
        qputenv("BROWSER", script.toUtf8());
        auto other = zktest::openWindow(spaced, false);
        other->Memo1->setFocus();
        other->AideF11Click();
        QTRY_VERIFY(QFile::exists(record));
        QTRY_COMPARE(QString::fromUtf8(zktest::readFile(record)),
                     QStringLiteral("[%1]\n").arg(page.fileName()));
        QVERIFY(!other->PanError->isVisible());
        qputenv("BROWSER", saved);
        if (saved.isEmpty())
            qunsetenv("BROWSER");
    }
};

ZK_WINDOW_TEST_MAIN(WindowCommandsTest)
#include "window_commands_test.moc"
