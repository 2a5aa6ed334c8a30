// The style commands alone, on a stand-in host: the buttons made on a toolbar from the
// part's table, the style weights and the "N" reset, the alignment group, the size and face
// menus (the face's name from the face table), the colour dialog, the effect switches, and
// the buttons and menus set from a state or a loaded preset.
#include <QAction>
#include <QButtonGroup>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

#include "part_test_support.h"
#include "settings_file.h"
#include "style_commands.h"

using namespace zktest;

namespace {

const char* const kButtons[] = {
    "BoutFntName",      "BoutTaille",       "BoutNormal",      "BoutFontGras",
    "BoutFontItalique", "BoutFontSouligne", "BoutFontBarre",   "BoutAlignGauche",
    "BoutAlignCentre",  "BoutAlignDroite",  "BoutFontcouleur", "BoutNoBal",
    "BoutSign",         "BoutScroll",       "BoutVague",       "BoutDegrade"};

} // namespace

class StyleCommandsTest final : public QObject {
    Q_OBJECT

    struct Setup {
        Setup() {
            part = new zk::ui::StyleCommands(host, settings, &host.window);
            for (const char* name : kButtons)
                part->MakeButton(&toolbar, name);
        }
        FakeHost host;
        zk::AppSettings settings;
        QWidget toolbar{&host.window};
        zk::ui::StyleCommands* part = nullptr;
        QAction* item(const QString& name) const { return host.window.findChild<QAction*>(name); }
        QStringList checkedItems(QMenu* menu, const QString& letter) const {
            QStringList checked;
            for (QAction* a : menu->findChildren<QAction*>()) {
                if (a->objectName().startsWith(letter) && a->isChecked())
                    checked.append(a->objectName());
            }
            return checked;
        }
    };

private slots:
    void init() { dialogs() = FakeDialogs(); }

    // Every button is made on the toolbar under its name with its hint, the drop-downs
    // open the part's menus, the menus are the window's children.
    void buttonsAndMenusComeFromTheTable() {
        Setup s;
        for (const char* name : kButtons) {
            auto* b = s.toolbar.findChild<QToolButton*>(QLatin1String(name));
            QVERIFY2(b, name);
            QCOMPARE(b->toolTip(), QString::fromUtf8(zk::ui::StyleCommands::CommandRow(name).hint));
        }
        QCOMPARE(s.part->BoutFntName->menu(), s.part->Popup6);
        QCOMPARE(s.part->BoutTaille->menu(), s.part->Popup1);
        QCOMPARE(s.part->BoutFontGras->text(), QStringLiteral("G"));
        QCOMPARE(s.part->Popup1->parentWidget(), &s.host.window);
        QCOMPARE(s.part->Popup6->parentWidget(), &s.host.window);
        QCOMPARE(
            s.part->Popup1->findChildren<QAction*>(QRegularExpression(QStringLiteral("^H\\d$")))
                .size(),
            7);
        QCOMPARE(s.part->FaceColumns->findChildren<QPushButton*>().size(), 24);
        QCOMPARE(s.item(QStringLiteral("T7"))->text(), QStringLiteral("Courrier"));
        // The alignment starts on the left, one button down.
        QVERIFY(s.part->BoutAlignGauche->isChecked());
        QCOMPARE(s.part->AlignGroup->buttons().size(), 3);
    }

    // Each style button stores its weight while down; "N" clears the four and raises the
    // buttons, leaving the rest of the state.
    void styleWeightsAndTheNormalButton() {
        Setup s;
        s.settings.fmt.FontSizeIndex = 3;
        s.settings.fmt.Alignment = 1;
        const struct {
            QToolButton* button;
            std::uint8_t zk::FormattingState::*field;
            int weight;
            const char* handler;
        } cases[] = {
            {s.part->BoutFontGras, &zk::FormattingState::Bold, 1, "BoutFontGrasClick"},
            {s.part->BoutFontItalique, &zk::FormattingState::Italic, 2, "BoutFontItaliqueClick"},
            {s.part->BoutFontSouligne, &zk::FormattingState::Underline, 4, "BoutFontSouligneClick"},
            {s.part->BoutFontBarre, &zk::FormattingState::StrikeOut, 8, "BoutFontBarreClick"},
        };
        for (const auto& c : cases) {
            c.button->click();
            QCOMPARE(s.host.lastCommand, QLatin1String(c.handler));
            QCOMPARE(int(s.settings.fmt.*c.field), c.weight);
        }
        s.part->BoutFontItalique->click(); // up again
        QCOMPARE(int(s.settings.fmt.Italic), 0);
        s.part->BoutFontItalique->click();
        s.part->BoutNormal->click();
        QCOMPARE(s.host.lastCommand, QStringLiteral("BoutNormalClick"));
        for (const auto& c : cases) {
            QCOMPARE(int(s.settings.fmt.*c.field), 0);
            QVERIFY(!c.button->isChecked());
        }
        QCOMPARE(int(s.settings.fmt.FontSizeIndex), 3);
        QCOMPARE(int(s.settings.fmt.Alignment), 1);
    }

    // Exactly one alignment button is down; each sets its value.
    void alignmentIsOneOfThree() {
        Setup s;
        const QList<QToolButton*> buttons = {s.part->BoutAlignGauche, s.part->BoutAlignCentre,
                                             s.part->BoutAlignDroite};
        for (int value : {2, 1, 0, 1}) {
            buttons[value]->click();
            QCOMPARE(int(s.settings.fmt.Alignment), value);
            for (int k = 0; k < 3; ++k)
                QCOMPARE(buttons[k]->isChecked(), k == value);
        }
        s.part->BoutAlignCentre->click(); // a second press keeps it down
        QVERIFY(s.part->BoutAlignCentre->isChecked());
        QCOMPARE(int(s.settings.fmt.Alignment), 1);
    }

    // A size item gives its number and is the only one checked.
    void sizeItemChecksItselfAlone() {
        Setup s;
        for (int n : {1, 7, 4}) {
            s.item(QStringLiteral("H%1").arg(n))->trigger();
            QCOMPARE(s.host.lastCommand, QStringLiteral("H1Click"));
            QCOMPARE(int(s.settings.fmt.FontSizeIndex), n);
            QCOMPARE(s.checkedItems(s.part->Popup1, QStringLiteral("H")),
                     QStringList{QStringLiteral("H%1").arg(n)});
        }
    }

    // A face item gives its number and the face table's name, checks itself alone (and its
    // cell) and tells the face changed; a click on a cell is the item's command.
    void faceItemTakesTheNameFromTheFaceTable() {
        Setup s;
        QSignalSpy changed(s.part, &zk::ui::StyleCommands::faceChanged);
        QAction* t7 = s.item(QStringLiteral("T7"));
        t7->setText(QStringLiteral("not a face")); // the caption is not read back
        t7->trigger();
        QCOMPARE(s.host.lastCommand, QStringLiteral("T0Click"));
        QCOMPARE(int(s.settings.fmt.FontFaceIndex), 7);
        QCOMPARE(s.settings.fmt.FontFace, std::string("Courrier"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(s.checkedItems(s.part->Popup6, QStringLiteral("T")),
                 QStringList{QStringLiteral("T7")});
        auto* cell = s.part->FaceColumns->findChild<QPushButton*>(QStringLiteral("FaceCell23"));
        cell->click();
        QCOMPARE(int(s.settings.fmt.FontFaceIndex), 23);
        QCOMPARE(s.settings.fmt.FontFace, std::string("Wingdings"));
        QVERIFY(cell->isChecked());
        QVERIFY(!s.part->FaceColumns->findChild<QPushButton*>(QStringLiteral("FaceCell7"))
                     ->isChecked());
        QCOMPARE(changed.size(), 2);
    }

    // The colour dialog is offered the present colour; a cancel leaves it.
    void fontColourFromTheDialog() {
        Setup s;
        s.settings.fmt.FontColor = 0x0000FF; // red
        dialogs().color = std::nullopt;
        s.part->BoutFontcouleur->click();
        QCOMPARE(s.host.lastCommand, QStringLiteral("BoutFontcouleurClick"));
        QCOMPARE(dialogs().colorOffered, QColor(255, 0, 0));
        QCOMPARE(s.settings.fmt.FontColor, 0x0000FF);
        dialogs().color = QColor(0x12, 0x34, 0x56);
        s.part->BoutFontcouleur->click();
        QCOMPARE(s.settings.fmt.FontColor, 0x563412);
        QCOMPARE(dialogs().colorCalls, 2);
    }

    // An effect button flips its switch with its own down state; twice leaves it.
    void effectButtonsFlipTheirSwitches() {
        Setup s;
        const struct {
            QToolButton* button;
            std::uint8_t zk::FormattingState::*field;
        } cases[] = {
            {s.part->BoutSign, &zk::FormattingState::SignatureOn},
            {s.part->BoutScroll, &zk::FormattingState::ScrollingOn},
            {s.part->BoutVague, &zk::FormattingState::WavesOn},
            {s.part->BoutDegrade, &zk::FormattingState::GradientOn},
            {s.part->BoutNoBal, &zk::FormattingState::IgnoreTextTags},
        };
        for (const auto& c : cases) {
            c.button->click();
            QCOMPARE(int(s.settings.fmt.*c.field), 1);
            QVERIFY(c.button->isChecked());
            c.button->click();
            QCOMPARE(int(s.settings.fmt.*c.field), 0);
            QVERIFY(!c.button->isChecked());
        }
    }

    // At start-up every button and both menus follow the state read; an alignment outside
    // 0..2 leaves no alignment button down.
    void buttonsAndMenusFollowTheState() {
        Setup s;
        zk::FormattingState& f = s.settings.fmt;
        f.Bold = 1;
        f.StrikeOut = 8;
        f.Alignment = 2;
        f.IgnoreTextTags = 1;
        f.WavesOn = 1;
        f.GradientOn = 1;
        f.FontSizeIndex = 2;
        f.FontFaceIndex = 19;
        s.part->SetButtonsFromState();
        s.part->SetMenuChecksFromState();
        QVERIFY(s.part->BoutFontGras->isChecked());
        QVERIFY(!s.part->BoutFontItalique->isChecked());
        QVERIFY(s.part->BoutFontBarre->isChecked());
        QVERIFY(s.part->BoutAlignDroite->isChecked());
        QVERIFY(!s.part->BoutAlignGauche->isChecked());
        QVERIFY(s.part->BoutNoBal->isChecked());
        QVERIFY(!s.part->BoutSign->isChecked());
        QVERIFY(s.part->BoutVague->isChecked());
        QVERIFY(s.part->BoutDegrade->isChecked());
        QCOMPARE(s.checkedItems(s.part->Popup1, QStringLiteral("H")),
                 QStringList{QStringLiteral("H2")});
        QCOMPARE(s.checkedItems(s.part->Popup6, QStringLiteral("T")),
                 QStringList{QStringLiteral("T19")});
        f.Alignment = 5;
        s.part->SetButtonsFromState();
        for (QAbstractButton* b : s.part->AlignGroup->buttons())
            QVERIFY(!b->isChecked());
        f.Alignment = 0; // the group is one-of-three again
        s.part->SetButtonsFromState();
        s.part->BoutAlignCentre->click();
        QVERIFY(!s.part->BoutAlignGauche->isChecked());
    }

    // A loaded preset shows its size, face (named from the face table), alignment and text
    // styles; the effect buttons are not the preset's.
    void aLoadedPresetShowsItsFormatting() {
        Setup s;
        QSignalSpy changed(s.part, &zk::ui::StyleCommands::faceChanged);
        s.part->BoutSign->click();
        zk::FormattingState& f = s.settings.fmt;
        f.FontFaceIndex = 8;
        f.FontFace = "stale";
        f.FontSizeIndex = 5;
        f.Alignment = 1;
        f.Italic = 2;
        f.SignatureOn = 0; // not the preset's: the button stays as it was
        s.item(QStringLiteral("T8"))->setText(QStringLiteral("not a face"));
        s.part->ShowPresetFormatting();
        QCOMPARE(f.FontFace, std::string("Courrier New"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(s.checkedItems(s.part->Popup6, QStringLiteral("T")),
                 QStringList{QStringLiteral("T8")});
        QCOMPARE(s.checkedItems(s.part->Popup1, QStringLiteral("H")),
                 QStringList{QStringLiteral("H5")});
        QVERIFY(s.part->BoutAlignCentre->isChecked());
        QVERIFY(s.part->BoutFontItalique->isChecked());
        QVERIFY(s.part->BoutSign->isChecked());
        // An index that names no face leaves the face, with no face checked.
        f.FontFaceIndex = 40;
        s.part->ShowPresetFormatting();
        QCOMPARE(f.FontFace, std::string("Courrier New"));
        QVERIFY(s.checkedItems(s.part->Popup6, QStringLiteral("T")).isEmpty());
    }
};

ZK_PART_TEST_MAIN(StyleCommandsTest)
#include "style_commands_test.moc"
