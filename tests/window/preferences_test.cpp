// The preferences panel on the real window: its controls, filling them from the state and
// copying them back, the size limit field, the gradient colours and swatches, the signature
// colour and preview, and the about tab's gradient labels.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include "gradient_swatch.h"
#include "preferences_panel.h"
#include "radio_group.h"
#include "style_commands.h"
#include "window_test_support.h"

using zk::ui::PreferencesPanel;
using zktest::AppFolder;

namespace {

QColor rgb(zk::Color c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

bool near(const QColor& a, const QColor& b, int tolerance = 8) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// The colours a swatch shows at its left and right edges and in its middle.
struct Painted {
    QColor left, middle, right;
};
Painted painted(QWidget* swatch) {
    const QImage image = swatch->grab().toImage();
    const int y = image.height() / 2;
    return {image.pixelColor(1, y), image.pixelColor(image.width() / 2, y),
            image.pixelColor(image.width() - 2, y)};
}

struct RadioCase {
    zk::ui::RadioGroup* PreferencesPanel::*group;
    std::uint8_t zk::FormattingState::*value;
    const char* caption;
    std::vector<const char*> items;
};

} // namespace

class PreferencesTest final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;

    PreferencesPanel* prefs() const { return form->preferences(); }

    // A window over a settings file with some lines replaced (none: no file).
    void open(const QMap<int, QByteArray>& settingsLines = {}) {
        if (!settingsLines.isEmpty())
            folder->writeSettings(settingsLines);
        form = zktest::openWindow(*folder);
        form->Memo1->setFocus();
    }

    void openPanelOn(int page) {
        form->settings.PreferencesPage = static_cast<std::uint8_t>(page);
        QTest::mouseClick(form->BoutPreferences, Qt::LeftButton);
        QVERIFY(prefs()->Panel9->isVisible());
        QCOMPARE(prefs()->PageControl1->currentIndex(), page);
    }

    // The "Ok" of the tab on top.
    void pressOk() {
        const QList<QPushButton*> oks = {prefs()->BoutOKConf0, prefs()->BoutOKConf1,
                                         prefs()->BoutOKCong2, prefs()->BoutOKConf3,
                                         prefs()->BoutOKConf4, prefs()->BoutOKConf5};
        QTest::mouseClick(oks.at(prefs()->PageControl1->currentIndex()), Qt::LeftButton);
    }

    const std::vector<RadioCase>& radioCases() const {
        static const std::vector<RadioCase> cases = {
            {&PreferencesPanel::CheckHoriz,
             &zk::FormattingState::MarqueeHorizontal,
             " Horizontal ",
             {"Non", "Droite-Gauche", "Gauche-Droite"}},
            {&PreferencesPanel::CheckVert,
             &zk::FormattingState::MarqueeVertical,
             " Vertical ",
             {"Non", "Bas-Haut", "Haut-Bas"}},
            {&PreferencesPanel::CheckSpeed,
             &zk::FormattingState::MarqueeSpeed,
             " Vitesse ",
             {"Rapide", "Moyen", "Lent"}},
            {&PreferencesPanel::CheckStyle,
             &zk::FormattingState::MarqueeStyle,
             " Style ",
             {"Continu", "Ping-Pong"}},
            {&PreferencesPanel::CheckVague,
             &zk::FormattingState::WavesKind,
             " Vagues ",
             {"    Vagues Y", "    Vagues Z"}},
            {&PreferencesPanel::CheckTxtImg,
             &zk::FormattingState::SignatureOrder,
             "",
             {"  Texte  -  Image", "  Image -  Texte"}},
        };
        return cases;
    }

private slots:
    void init() {
        zktest::dialogs() = zktest::FakeDialogs();
        folder = std::make_unique<AppFolder>();
    }
    void cleanup() {
        form.reset();
        folder.reset();
    }

    void controlsCarryTheirCaptionsOnTheirTabs() {
        open();
        struct CheckCase {
            QCheckBox* PreferencesPanel::*box;
            QWidget* PreferencesPanel::*tab;
            const char* caption;
        };
        const CheckCase checks[] = {
            {&PreferencesPanel::CheckDemarrage, &PreferencesPanel::TabSheet1,
             "ZelkoHTML au Démarrage"},
            {&PreferencesPanel::CheckReduire, &PreferencesPanel::TabSheet1,
             "Réduire après Copie dans le Presse Papier"},
            {&PreferencesPanel::CheckApercuNavIndep, &PreferencesPanel::TabSheet1,
             "Aperçu dans une Nouvelle page du Navigateur"},
            {&PreferencesPanel::CheckIntegre, &PreferencesPanel::TabSheet1,
             "Aperçu dans le programme"},
            {&PreferencesPanel::CheckBulle, &PreferencesPanel::TabSheet1,
             "Afficher les bulles d'aide"},
            {&PreferencesPanel::CheckDouble, &PreferencesPanel::TabSheet3, "Symétrie"},
        };
        for (const CheckCase& c : checks) {
            QCheckBox* box = prefs()->*c.box;
            QCOMPARE(box->text(), QString::fromUtf8(c.caption));
            QVERIFY((prefs()->*c.tab)->isAncestorOf(box)); // on its tab
        }
        struct LabelCase {
            QLabel* PreferencesPanel::*label;
            const char* text;
        };
        const LabelCase labels[] = {
            {&PreferencesPanel::LabAjout, "Texte ou balises au début du Code HTML"},
            {&PreferencesPanel::LabLimit1, "Limiter la taille du code à"},
            {&PreferencesPanel::LabLimit2, "caractères"},
            {&PreferencesPanel::Lab1, "Signature                     Couleur Taille"},
            {&PreferencesPanel::Label1, "URL de l'image        Lien sur l'image"},
            {&PreferencesPanel::LabDeg, "•"},
        };
        for (const LabelCase& c : labels)
            QCOMPARE((prefs()->*c.label)->text(), QString::fromUtf8(c.text));
        QCOMPARE(prefs()->EditLimit->maxLength(), 5);
        QCOMPARE(prefs()->EditAjout->parentWidget(), prefs()->TabSheet1);
        const QList<QWidget*> signatureTab = {prefs()->EditTextSign,      prefs()->EditImgSign,
                                              prefs()->EditLinkImgSign,   prefs()->CombTaille,
                                              prefs()->BoutTexteSignCoul, prefs()->BoutApercuSign,
                                              prefs()->CheckTxtImg};
        for (QWidget* w : signatureTab)
            QCOMPARE(w->parentWidget(), prefs()->TabSheet2);
        QCOMPARE(prefs()->CombTaille->count(), 7);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(prefs()->CombTaille->itemText(i), QStringLiteral("H%1").arg(i + 1));
        for (const RadioCase& c : radioCases()) {
            zk::ui::RadioGroup* g = prefs()->*c.group;
            QCOMPARE(g->title(), QString::fromUtf8(c.caption));
            QCOMPARE(g->count(), int(c.items.size()));
            for (int i = 0; i < g->count(); ++i)
                QCOMPARE(g->item(i)->text(), QString::fromUtf8(c.items[std::size_t(i)]));
        }
        struct TipCase {
            QToolButton* PreferencesPanel::*button;
            const char* tip;
        };
        const TipCase tips[] = {{&PreferencesPanel::BoutDeg1, "Couleur de départ"},
                                {&PreferencesPanel::BoutDeg2, "Couleur d'arrivée"},
                                {&PreferencesPanel::BoutInverse, "Inverser"}};
        for (const TipCase& c : tips) {
            QCOMPARE((prefs()->*c.button)->toolTip(), QString::fromUtf8(c.tip));
            QCOMPARE((prefs()->*c.button)->parentWidget(), prefs()->TabSheet3);
        }
        for (int k = 0; k < 8; ++k) {
            auto* z = form->findChild<QToolButton*>(QStringLiteral("Z%1").arg(k));
            QVERIFY(z);
            QCOMPARE(z->property("Tag").toInt(), k);
            QCOMPARE(z->geometry(),
                     prefs()->PresetSwatch(k)->geometry()); // over its swatch
        }
    }

    void checkBoxesFollowTheirValueBothWays() {
        open();
        struct Case {
            QCheckBox* PreferencesPanel::*box;
            std::uint8_t zk::AppSettings::*value;
        };
        const Case cases[] = {
            {&PreferencesPanel::CheckDemarrage, &zk::AppSettings::StartAtLogon},
            {&PreferencesPanel::CheckReduire, &zk::AppSettings::MinimizeAfterCopy},
            {&PreferencesPanel::CheckApercuNavIndep, &zk::AppSettings::PreviewInNewWindow},
            {&PreferencesPanel::CheckBulle, &zk::AppSettings::ShowHints},
            {&PreferencesPanel::CheckIntegre, &zk::AppSettings::PreviewInProgram},
        };
        for (const Case& c : cases) {
            // This value 1, the others 0: only its box is checked; pressing it and "Ok"
            // stores 0 and leaves the others at 0.
            for (const Case& other : cases)
                form->settings.*other.value = 0;
            form->settings.*c.value = 1;
            openPanelOn(0);
            for (const Case& other : cases)
                QCOMPARE((prefs()->*other.box)->isChecked(), other.box == c.box);
            QTest::mouseClick(prefs()->*c.box, Qt::LeftButton);
            pressOk();
            QVERIFY(!prefs()->Panel9->isVisible());
            for (const Case& other : cases)
                QCOMPARE(int(form->settings.*other.value), 0);
            // Any value but 1 shows unchecked; checking stores 1.
            form->settings.*c.value = 2;
            openPanelOn(0);
            QVERIFY(!(prefs()->*c.box)->isChecked());
            QTest::mouseClick(prefs()->*c.box, Qt::LeftButton);
            pressOk();
            QCOMPARE(int(form->settings.*c.value), 1);
        }
    }

    void textFieldsFollowTheirStringsBothWays() {
        open();
        struct Case {
            QLineEdit* PreferencesPanel::*edit;
            std::string zk::FormattingState::*value;
            int page;
        };
        const Case cases[] = {
            {&PreferencesPanel::EditTextSign, &zk::FormattingState::SignatureText, 1},
            {&PreferencesPanel::EditImgSign, &zk::FormattingState::SignatureImageUrl, 1},
            {&PreferencesPanel::EditLinkImgSign, &zk::FormattingState::SignatureLink, 1},
            {&PreferencesPanel::EditAjout, &zk::FormattingState::CodePrefix, 0},
        };
        for (const Case& c : cases) {
            form->settings.fmt.*c.value = "<b>Léa</b> ";
            openPanelOn(c.page);
            QCOMPARE((prefs()->*c.edit)->text(), QStringLiteral("<b>Léa</b> "));
            (prefs()->*c.edit)->setText(QStringLiteral("Zoé 😀 & <i>"));
            pressOk();
            QCOMPARE(form->settings.fmt.*c.value, std::string("Zoé 😀 & <i>"));
        }
    }

    void radioGroupsShowTheirItemAndTheLastOneBeyond() {
        open();
        for (const RadioCase& c : radioCases()) {
            zk::ui::RadioGroup* g = prefs()->*c.group;
            const int count = g->count();
            for (int v : {0, count, 0, 255}) { // each one moves the check
                form->settings.fmt.*c.value = static_cast<std::uint8_t>(v);
                openPanelOn(c.group == &PreferencesPanel::CheckTxtImg ? 1 : 3);
                QCOMPARE(g->itemIndex(), std::min(v, count - 1));
                pressOk();
                QCOMPARE(int(form->settings.fmt.*c.value), std::min(v, count - 1));
            }
            form->settings.fmt.*c.value = 0;
            openPanelOn(3);
            QTest::mouseClick(g->item(count - 1), Qt::LeftButton);
            pressOk();
            QCOMPARE(int(form->settings.fmt.*c.value), count - 1);
        }
    }

    void marqueeSpeedFiveFromTheSettingsShowsLent() {
        open({{13, "5"}});
        openPanelOn(3);
        QVERIFY(prefs()->CheckSpeed->item(2)->isChecked());
        QCOMPARE(prefs()->CheckSpeed->item(2)->text(), QStringLiteral("Lent"));
        pressOk();
        QCOMPARE(int(form->settings.fmt.MarqueeSpeed), 2);
    }

    void signatureSizeBeyondTheListSelectsNothingAndStores255() {
        open({{38, "9"}});
        openPanelOn(1);
        QCOMPARE(prefs()->CombTaille->currentIndex(), -1);
        pressOk();
        QCOMPARE(int(form->settings.fmt.SignatureSizeIndex), 255);
        // A size chosen in the list is stored as its index.
        openPanelOn(1);
        prefs()->CombTaille->setCurrentIndex(2);
        pressOk();
        QCOMPARE(int(form->settings.fmt.SignatureSizeIndex), 2);
        openPanelOn(1);
        QCOMPARE(prefs()->CombTaille->currentText(), QStringLiteral("H3"));
    }

    void codeSizeLimitFromTheField_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stored");
        QTest::newRow("empty: no limit") << QString() << 0;
        QTest::newRow("99999 keeps the low 16 bits") << QStringLiteral("99999") << 34463;
        QTest::newRow("65535") << QStringLiteral("65535") << 65535;
        QTest::newRow("leading zeros") << QStringLiteral("00042") << 42;
        QTest::newRow("pasted minus one") << QStringLiteral("-1") << 65535;
    }
    void codeSizeLimitFromTheField() {
        QFETCH(QString, text);
        QFETCH(int, stored);
        open();
        form->settings.fmt.CodeSizeLimit = 1234;
        openPanelOn(0);
        QCOMPARE(prefs()->EditLimit->text(), QStringLiteral("1234"));
        prefs()->EditLimit->setText(text);
        pressOk();
        QVERIFY(!prefs()->Panel9->isVisible());
        QCOMPARE(int(form->settings.fmt.CodeSizeLimit), stored);
        QVERIFY(zktest::dialogs().errors.isEmpty());
    }

    void typingInTheLimitFieldKeepsDigitsOnly() {
        open();
        openPanelOn(0);
        prefs()->EditLimit->clear();
        prefs()->EditLimit->setFocus();
        QTest::keyClicks(prefs()->EditLimit, QStringLiteral("1a-2 +x3"));
        QCOMPARE(prefs()->EditLimit->text(), QStringLiteral("123"));
        zktest::typeText(prefs()->EditLimit, QStringLiteral("é😀4"));
        QCOMPARE(prefs()->EditLimit->text(), QStringLiteral("1234"));
        QTest::keyClick(prefs()->EditLimit, Qt::Key_Backspace);
        QCOMPARE(prefs()->EditLimit->text(), QStringLiteral("123"));
        QTest::keyClicks(prefs()->EditLimit, QStringLiteral("4567"));
        QCOMPARE(prefs()->EditLimit->text(),
                 QStringLiteral("12345")); // five characters at most
        QTest::keyClick(prefs()->EditLimit, Qt::Key_Return);
        QVERIFY(form->preferences()
                    ->Panel9->isVisible()); // carriage return is let through, and does nothing

        // The handler itself: backspace, carriage return and digits pass; the rest is dropped.
        for (char16_t c : {u'\b', u'\r', u'0', u'9'}) {
            QChar key(c);
            prefs()->EditLimitKeyPress(key);
            QCOMPARE(key, QChar(c));
        }
        for (char16_t c : {u'a', u'-', u' ', u'/', u':', u'\t', u'\xE9', u'\x0663'}) {
            QChar key(c);
            prefs()->EditLimitKeyPress(key);
            QVERIFY2(key.isNull(), qPrintable(QString(QChar(c))));
        }
    }

    void pastedLettersGiveTheConversionErrorAndKeepThePanelOpen() {
        open();
        form->settings.fmt.CodeSizeLimit = 77;
        openPanelOn(0);
        prefs()->CheckReduire->setChecked(true);
        prefs()->EditTextSign->setText(QStringLiteral("Sig"));
        prefs()->EditLimit->clear();
        prefs()->EditLimit->setFocus();
        QGuiApplication::clipboard()->setText(QStringLiteral("12ab"));
        QTest::keyClick(prefs()->EditLimit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(prefs()->EditLimit->text(), QStringLiteral("12ab"));
        prefs()->PageControl1->setCurrentIndex(4);
        pressOk();
        QCOMPARE(zktest::dialogs().errors,
                 QStringList{QStringLiteral("'12ab' is not a valid integer value")});
        // Steps before the limit took effect; the limit did not; the panel stays open.
        QCOMPARE(int(form->settings.MinimizeAfterCopy), 1);
        QCOMPARE(form->settings.fmt.SignatureText, std::string("Sig"));
        QCOMPARE(int(form->settings.PreferencesPage), 4);
        QCOMPARE(int(form->settings.fmt.CodeSizeLimit), 77);
        QVERIFY(prefs()->Panel9->isVisible());
        QCOMPARE(int(form->OpenPanel), 9);
        // Corrected, the next "Ok" closes it.
        prefs()->EditLimit->setText(QStringLiteral("12"));
        pressOk();
        QVERIFY(!prefs()->Panel9->isVisible());
        QCOMPARE(int(form->settings.fmt.CodeSizeLimit), 12);
    }

    void rightClickOnBoutScrollOpensScrollingAndLeavesTheMarquee() {
        open();
        for (int on : {0, 1}) {
            form->settings.fmt.ScrollingOn = static_cast<std::uint8_t>(on);
            form->styleCommands()->BoutScroll->setChecked(on == 1);
            form->LastCommand.clear();
            QTest::mouseClick(form->styleCommands()->BoutScroll, Qt::RightButton);
            QVERIFY(prefs()->Panel9->isVisible());
            QCOMPARE(prefs()->PageControl1->currentIndex(), 3);
            QCOMPARE(prefs()->PageControl1->tabText(3), QStringLiteral("Scrolling"));
            QCOMPARE(int(form->settings.fmt.ScrollingOn), on);
            QCOMPARE(form->styleCommands()->BoutScroll->isChecked(), on == 1);
            QVERIFY(form->LastCommand.isEmpty());
            // A second right click applies and closes.
            QTest::mouseClick(form->styleCommands()->BoutScroll, Qt::RightButton);
            QVERIFY(!prefs()->Panel9->isVisible());
            QCOMPARE(int(form->settings.fmt.ScrollingOn), on);
        }
    }

    void uncheckingTheTooltipBoxStopsTooltipsAtOnce() {
        open();
        QVERIFY(form->ShowHint);
        openPanelOn(0);
        QVERIFY(prefs()->CheckBulle->isChecked());
        QTest::mouseClick(prefs()->CheckBulle, Qt::LeftButton);
        QVERIFY(form->ShowHint); // not before "Ok"
        pressOk();
        QVERIFY(!form->ShowHint);
        QCOMPARE(int(form->settings.ShowHints), 0);
        openPanelOn(0);
        QVERIFY(!prefs()->CheckBulle->isChecked());
        QTest::mouseClick(prefs()->CheckBulle, Qt::LeftButton);
        pressOk();
        QVERIFY(form->ShowHint);
        QCOMPARE(int(form->settings.ShowHints), 1);
    }

    void closedByAnotherPanelTheChangesAreLostButTheColoursStay() {
        open();
        form->settings.fmt.SignatureText = "Avant";
        form->settings.fmt.GradientPresetIndex = 1;
        openPanelOn(1);
        prefs()->EditTextSign->setText(QStringLiteral("Après"));
        prefs()->CheckSpeed->setItemIndex(0);
        zktest::dialogs().color = QColor(0x12, 0x34, 0x56);
        QTest::mouseClick(prefs()->BoutTexteSignCoul, Qt::LeftButton);
        prefs()->PageControl1->setCurrentIndex(2);
        QTest::mouseClick(prefs()->BoutDeg1, Qt::LeftButton);
        QTest::mouseClick(form->BoutCode, Qt::LeftButton); // the code view takes its place
        QVERIFY(!prefs()->Panel9->isVisible());
        QCOMPARE(int(form->OpenPanel), 8);
        QCOMPARE(form->settings.fmt.SignatureText, std::string("Avant"));
        QCOMPARE(int(form->settings.fmt.MarqueeSpeed), 1);
        QCOMPARE(int(form->settings.PreferencesPage), 1);
        QCOMPARE(form->settings.fmt.SignatureColor, 0x563412);
        QCOMPARE(form->settings.fmt.GradientStartColor, 0x563412);
        QCOMPARE(form->settings.fmt.PresetStartColors[1], 0x563412);
    }

    void pageBeyondTheTabsIsReportedAndOpensNothing() {
        open({{37, "6"}});
        prefs()->BoutPreferencesClick();
        QCOMPARE(zktest::dialogs().errors,
                 QStringList{QStringLiteral("List index out of bounds (6)")});
        QVERIFY(!prefs()->Panel9->isVisible());
        QCOMPARE(int(form->OpenPanel), 0);
        // A right click sets a valid tab first and opens it.
        QTest::mouseClick(form->styleCommands()->BoutVague, Qt::RightButton);
        QVERIFY(prefs()->Panel9->isVisible());
        QCOMPARE(prefs()->PageControl1->currentIndex(), 4);
    }

    // ---- "Dégradé" ----

    void openingShowsThePresetsAndTheSelectedOneBlendedLeftToRight() {
        open({{59, "3"}, {25, "0"}, {26, "0"}});
        openPanelOn(2);
        const zk::FormattingState& f = form->settings.fmt;
        // The current gradient is reloaded from the selected preset.
        QCOMPARE(f.GradientStartColor, zk::kDefaultPresetStartColors[3]);
        QCOMPARE(f.GradientEndColor, zk::kDefaultPresetEndColors[3]);
        QCOMPARE(prefs()->Degrade->startColor(), zk::kDefaultPresetStartColors[3]);
        QCOMPARE(prefs()->Degrade->endColor(), zk::kDefaultPresetEndColors[3]);
        QCOMPARE(prefs()->LabDeg->x(), 104 + 40 * 3);
        for (int k = 0; k < 8; ++k) {
            zk::ui::GradientSwatch* swatch = prefs()->PresetSwatch(k);
            QCOMPARE(swatch->objectName(), QStringLiteral("Grad%1").arg(k));
            QCOMPARE(swatch->startColor(), zk::kDefaultPresetStartColors[std::size_t(k)]);
            QCOMPARE(swatch->endColor(), zk::kDefaultPresetEndColors[std::size_t(k)]);
        }
        // Drawn: the start colour at the left edge, the end colour at the right.
        for (QWidget* swatch : {static_cast<QWidget*>(prefs()->Degrade),
                                static_cast<QWidget*>(prefs()->PresetSwatch(3))}) {
            const Painted p = painted(swatch);
            QVERIFY(near(p.left, QColor(0xFF, 0x80, 0x00)));  // orange
            QVERIFY(near(p.right, QColor(0x80, 0x00, 0xFF))); // violet
            QVERIFY(near(p.middle, QColor(0xBF, 0x40, 0x80), 16));
        }
        const Painted red = painted(prefs()->PresetSwatch(0));
        QVERIFY(near(red.left, Qt::red));
        QVERIFY(near(red.right, Qt::yellow));
    }

    void clickingAPresetMakesItCurrent() {
        open();
        openPanelOn(2);
        auto* z5 = form->findChild<QToolButton*>(QStringLiteral("Z5"));
        QTest::mouseClick(z5, Qt::LeftButton);
        QCOMPARE(form->LastCommand, QStringLiteral("Z0Click"));
        const zk::FormattingState& f = form->settings.fmt;
        QCOMPARE(int(f.GradientPresetIndex), 5);
        QCOMPARE(f.GradientStartColor, 0x000000);
        QCOMPARE(f.GradientEndColor, 0xFFFFFF);
        QCOMPARE(prefs()->Degrade->startColor(), 0x000000);
        QCOMPARE(prefs()->Degrade->endColor(), 0xFFFFFF);
        QCOMPARE(prefs()->LabDeg->x(), 104 + 40 * 5);
        const Painted p = painted(prefs()->Degrade);
        QVERIFY(near(p.left, Qt::black));
        QVERIFY(near(p.right, Qt::white));
        // It acts at once: closing without "Ok" keeps it.
        form->CloseOverlayPanels();
        QCOMPARE(int(form->settings.fmt.GradientPresetIndex), 5);
    }

    void colourButtonsEditTheSelectedPresetToo() {
        struct Case {
            QToolButton* PreferencesPanel::*button;
            bool end;
        };
        const Case cases[] = {{&PreferencesPanel::BoutDeg1, false},
                              {&PreferencesPanel::BoutDeg2, true}};
        open();
        for (const Case& c : cases) {
            form->settings.fmt = zk::FormattingState();
            form->settings.fmt.GradientPresetIndex = 3;
            openPanelOn(2);
            const zk::FormattingState before = form->settings.fmt;
            const zk::Color chosen = 0x10A0C0;

            // Cancelled: nothing changes.
            zktest::dialogs().color.reset();
            QTest::mouseClick(prefs()->*c.button, Qt::LeftButton);
            QCOMPARE(zktest::dialogs().colorOffered, rgb(c.end ? 0xFF0080 : 0x0080FF));
            QCOMPARE(form->settings.fmt.GradientStartColor, before.GradientStartColor);
            QCOMPARE(form->settings.fmt.GradientEndColor, before.GradientEndColor);
            QVERIFY(form->settings.fmt.PresetStartColors == before.PresetStartColors);
            QVERIFY(form->settings.fmt.PresetEndColors == before.PresetEndColors);

            zktest::dialogs().color = rgb(chosen);
            QTest::mouseClick(prefs()->*c.button, Qt::LeftButton);
            const zk::FormattingState& f = form->settings.fmt;
            QCOMPARE(c.end ? f.GradientEndColor : f.GradientStartColor, chosen);
            QCOMPARE(c.end ? f.PresetEndColors[3] : f.PresetStartColors[3], chosen);
            QCOMPARE(c.end ? prefs()->Degrade->endColor() : prefs()->Degrade->startColor(), chosen);
            zk::ui::GradientSwatch* grad3 = prefs()->PresetSwatch(3);
            QCOMPARE(c.end ? grad3->endColor() : grad3->startColor(), chosen);
            for (int k = 0; k < 8; ++k) {
                if (k == 3)
                    continue;
                QCOMPARE(f.PresetStartColors[std::size_t(k)],
                         before.PresetStartColors[std::size_t(k)]);
                QCOMPARE(f.PresetEndColors[std::size_t(k)], before.PresetEndColors[std::size_t(k)]);
            }
            // Closed and opened again: Degrade and Grad3 both show the changed colour.
            form->CloseOverlayPanels();
            openPanelOn(2);
            QCOMPARE(c.end ? prefs()->Degrade->endColor() : prefs()->Degrade->startColor(), chosen);
            QCOMPARE(c.end ? grad3->endColor() : grad3->startColor(), chosen);
            const Painted p = painted(grad3);
            QVERIFY(near(c.end ? p.right : p.left, rgb(chosen)));
            form->CloseOverlayPanels();
        }
    }

    void inverseExchangesTheColoursAndStoresThemInThePreset() {
        open();
        form->settings.fmt.GradientPresetIndex = 7;
        openPanelOn(2);
        QTest::mouseClick(prefs()->BoutInverse, Qt::LeftButton);
        const zk::FormattingState& f = form->settings.fmt;
        QCOMPARE(f.GradientStartColor, 0x0000FF);
        QCOMPARE(f.GradientEndColor, 0x000080);
        QCOMPARE(f.PresetStartColors[7], 0x0000FF);
        QCOMPARE(f.PresetEndColors[7], 0x000080);
        QCOMPARE(prefs()->PresetSwatch(7)->startColor(), 0x0000FF);
        QCOMPARE(prefs()->Degrade->endColor(), 0x000080);
        QCOMPARE(f.PresetStartColors[6], zk::kDefaultPresetStartColors[6]);
    }

    void symmetryBoxChecksForTwoAndStoresTwoOrOne() {
        open();
        struct Case {
            int symmetry;
            bool shown;
            bool click;
            int stored;
        };
        const Case cases[] = {{2, true, false, 2},
                              {2, true, true, 1},
                              {1, false, true, 2},
                              {0, false, false, 1},
                              {7, false, false, 1}};
        for (const Case& c : cases) {
            form->settings.fmt.GradientSymmetry = static_cast<std::uint8_t>(c.symmetry);
            openPanelOn(2);
            QCOMPARE(prefs()->CheckDouble->isChecked(), c.shown);
            if (c.click)
                QTest::mouseClick(prefs()->CheckDouble, Qt::LeftButton);
            pressOk();
            QCOMPARE(int(form->settings.fmt.GradientSymmetry), c.stored);
        }
    }

    void presetIndexBeyondTheTablesChangesOnlyTheCurrentColours() {
        open({{59, "9"}, {25, "1193046"}, {26, "0"}});
        openPanelOn(2);
        zk::FormattingState& f = form->settings.fmt;
        QCOMPARE(f.GradientStartColor, 0x123456); // kept: there is no preset 9 to reload
        zktest::dialogs().color = QColor(1, 2, 3);
        QTest::mouseClick(prefs()->BoutDeg2, Qt::LeftButton);
        QTest::mouseClick(prefs()->BoutInverse, Qt::LeftButton);
        QCOMPARE(f.GradientStartColor, 0x030201);
        QCOMPARE(f.GradientEndColor, 0x123456);
        QVERIFY(f.PresetStartColors == zk::kDefaultPresetStartColors);
        QVERIFY(f.PresetEndColors == zk::kDefaultPresetEndColors);
        QCOMPARE(prefs()->Degrade->startColor(), 0x030201);
    }

    // ---- "Signature" ----

    void signatureColourActsAtOnce() {
        open();
        form->settings.fmt.SignatureColor = 0x0000FF;
        openPanelOn(1);
        zktest::dialogs().color.reset();
        QTest::mouseClick(prefs()->BoutTexteSignCoul, Qt::LeftButton);
        QCOMPARE(zktest::dialogs().colorOffered, QColor(255, 0, 0));
        QCOMPARE(form->settings.fmt.SignatureColor, 0x0000FF);
        zktest::dialogs().color = QColor(0, 128, 255);
        QTest::mouseClick(prefs()->BoutTexteSignCoul, Qt::LeftButton);
        QCOMPARE(form->settings.fmt.SignatureColor, 0xFF8000);
        QVERIFY(prefs()->Panel9->isVisible());
        form->CloseOverlayPanels(); // not confirmed, but already taken
        QCOMPARE(form->settings.fmt.SignatureColor, 0xFF8000);
    }

    void previewShowsTheBlockOfTheUnconfirmedFields() {
        open();
        form->settings.fmt.SignatureColor = 0x0000FF;
        form->settings.fmt.FontFace = "Verdana";
        form->settings.fmt.SignatureText = "Ancien";
        openPanelOn(1);
        prefs()->EditTextSign->setText(QStringLiteral("Léa"));
        prefs()->CombTaille->setCurrentIndex(6);
        prefs()->EditImgSign->setText(QStringLiteral("pic.gif"));
        prefs()->EditLinkImgSign->setText(QStringLiteral("lea@example.org"));
        QTest::mouseClick(prefs()->CheckTxtImg->item(1), Qt::LeftButton);
        QTest::mouseClick(prefs()->BoutApercuSign, Qt::LeftButton);
        QCOMPARE(form->LastCommand, QStringLiteral("BoutApercuSignClick"));

        const QByteArray expected =
            "<html><head></head><body>\r\n"
            "<a href=\"mailto:lea@example.org\"><img src=\"pic.gif\" border=\"0\"></a>&nbsp"
            "<font size=\"1\" face=\"Verdana\" color=\"#FF0000\"><b>L\xE9"
            "a</b></font>\r\n</body></html>\r\n";
        QCOMPARE(zktest::readFile(folder->file(QStringLiteral("Data/Temp/TempHTML.html"))),
                 expected);
        QVERIFY(prefs()->WebB3);
        QCOMPARE(prefs()->WebB3->parentWidget(), prefs()->TabSheet2);
        const QString body = zktest::waitForBody(prefs()->WebB3, QStringLiteral("Léa"));
        QVERIFY2(body.contains(QStringLiteral("<a href=\"mailto:lea@example.org\"><img "
                                              "src=\"pic.gif\" border=\"0\"></a>&nbsp;<font "
                                              "size=\"1\" face=\"Verdana\" color=\"#FF0000\"><b>"
                                              "Léa</b></font>")),
                 qPrintable(body));
        // Only previewed: the state still holds the confirmed text.
        QCOMPARE(form->settings.fmt.SignatureText, std::string("Ancien"));
    }

    void theFirstPreviewViewLeavesTheWindowActive() {
        // Opened before the browser pane exists, the preview view is the window's first.
        open();
        QTRY_VERIFY(form->isActiveWindow());
        openPanelOn(1);
        QVERIFY(prefs()->WebB3);
        QTRY_VERIFY(form->isActiveWindow());
        prefs()->EditTextSign->setFocus();
        QTest::keyClicks(prefs()->EditTextSign, QStringLiteral("abc"));
        QCOMPARE(prefs()->EditTextSign->text(), QStringLiteral("abc"));
    }

    void openingThePanelPreviewsTheSignatureEvenWhenEmpty() {
        open();
        form->settings.fmt.FontFace = "Arial";
        openPanelOn(0);
        QVERIFY(prefs()->WebB3);
        QCOMPARE(zktest::readFile(folder->file(QStringLiteral("Data/Temp/TempHTML.html"))),
                 QByteArray("<html><head></head><body>\r\n"
                            "<font size=\"1\" face=\"Arial\" color=\"#000000\"><b></b></font>&nbsp"
                            "\r\n</body></html>\r\n"));
        const QString body = zktest::waitForBody(prefs()->WebB3, QStringLiteral("<b></b>"));
        QVERIFY2(body.contains(QStringLiteral("<b></b></font>&nbsp;")), qPrintable(body));
        // The text from the state shows the next time the panel opens.
        pressOk();
        form->settings.fmt.SignatureText = "Bonjour";
        openPanelOn(1);
        QVERIFY(zktest::waitForBody(prefs()->WebB3, QStringLiteral("Bonjour"))
                    .contains(QStringLiteral("<b>Bonjour</b>")));
    }

    void previewPageThatCannotBeWrittenShowsTheBanner() {
        open();
        const QString temp = folder->file(QStringLiteral("Data/Temp"));
        QVERIFY(QDir(temp).removeRecursively());
        QFile blocker(temp);
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        openPanelOn(1);
        QVERIFY(form->PanError->isVisible());
        QCOMPARE(form->LabError->text(), QStringLiteral("\nERREUR en écriture"));
        QVERIFY(zktest::dialogs().errors.isEmpty());
        // The banner lies over the open panel; the panel's own "Ok" still works.
        pressOk();
        QVERIFY(!prefs()->Panel9->isVisible());
    }

    // ---- "A propos..." ----

    void aboutLabelsAreFilledWithTheirGradients() {
        open();
        openPanelOn(5);
        struct Case {
            QLabel* PreferencesPanel::*label;
            const char* text;
            QColor from, to;
        };
        const Case cases[] = {
            {&PreferencesPanel::ZelkoInfo1, "ZelkoHTML", QColor(255, 0, 0), QColor(255, 255, 0)},
            {&PreferencesPanel::ZelkoInfo2, "Quorvane 2001", QColor(128, 0, 0), QColor(0, 128, 0)},
        };
        for (const Case& c : cases) {
            QLabel* label = prefs()->*c.label;
            QCOMPARE(label->accessibleName(), QString::fromUtf8(c.text));
            const QImage image = label->pixmap().toImage();
            QVERIFY(!image.isNull());
            // The most saturated pixel of the first and of the last fifth of the letters.
            auto strongest = [&](int from, int to) {
                QColor best;
                int bestScore = -1;
                for (int x = from; x < to; ++x)
                    for (int y = 0; y < image.height(); ++y) {
                        const QColor px = image.pixelColor(x, y);
                        if (px.alpha() < 255)
                            continue;
                        const int score = std::max({px.red(), px.green(), px.blue()}) -
                                          std::min({px.red(), px.green(), px.blue()});
                        if (score > bestScore) {
                            bestScore = score;
                            best = px;
                        }
                    }
                return best;
            };
            const QColor left = strongest(0, image.width() / 5);
            const QColor right = strongest(image.width() * 4 / 5, image.width());
            QVERIFY2(near(left, c.from, 80), qPrintable(left.name()));
            QVERIFY2(near(right, c.to, 80), qPrintable(right.name()));
        }
        QCOMPARE(prefs()->ImageLogo->pixmap().size(), QSize(32, 32));
    }

    // "Format du code" confirmed changes the code view at once; the rows of the options go
    // to the options file at close and come back at the next start, the settings file
    // keeping its shape.
    void formatRowsChangeTheCodeAndSurviveCloseAndStart() {
        open();
        form->Memo1->setPlainText(QStringLiteral("ab"));
        QTest::mouseClick(form->styleCommands()->BoutDegrade, Qt::LeftButton);
        QTest::mouseClick(form->BoutCode, Qt::LeftButton);
        QTRY_VERIFY(form->codeOutput()->Memo2->toPlainText().contains(QStringLiteral("<font")));
        QVERIFY(!form->codeOutput()->Memo2->toPlainText().contains(QStringLiteral("[color=")));

        openPanelOn(0);
        QVERIFY(prefs()->CheckApercuDirect->isChecked());
        QVERIFY(prefs()->CheckCopieRiche->isChecked());
        QVERIFY(!prefs()->CheckPourcent->isEnabled());
        prefs()->CombFormat->setCurrentIndex(2);
        QVERIFY(prefs()->LabNoteBBCode->isVisible());
        QVERIFY(prefs()->CheckPourcent->isEnabled());
        prefs()->CheckApercuDirect->setChecked(false);
        prefs()->CheckCompact->setChecked(true);
        prefs()->CheckPourcent->setChecked(true);
        prefs()->CheckCopieRiche->setChecked(false);
        pressOk();
        QVERIFY(!prefs()->Panel9->isVisible());
        QTest::mouseClick(form->BoutCode, Qt::LeftButton);
        QTRY_VERIFY(form->codeOutput()->Memo2->isVisible());
        const QString code = form->codeOutput()->Memo2->toPlainText();
        QVERIFY2(code.contains(QStringLiteral("[color=#")), qPrintable(code));
        QVERIFY2(!code.contains(QStringLiteral("<font")), qPrintable(code));

        form->close();
        form.reset();
        QVERIFY(zktest::dialogs().errors.isEmpty());
        const QByteArray written = zktest::readFile(folder->optionsPath());
        QVERIFY2(written.contains("OutputFormat=2\r\nCompactCode=1\r\nBbcodePercentSizes=1\r\n"
                                  "CopyRichText=0\r\nLivePreview=0\r\n"),
                 written.constData());
        QCOMPARE(folder->settingsLines().size(), 59);

        open();
        form->Memo1->setPlainText(QStringLiteral("ab"));
        QCOMPARE(int(form->options.OutputFormat), 2);
        QCOMPARE(int(form->options.LivePreview), 0);
        openPanelOn(0);
        QCOMPARE(prefs()->CombFormat->currentIndex(), 2);
        QVERIFY(!prefs()->CheckApercuDirect->isChecked());
        QVERIFY(prefs()->CheckCompact->isChecked());
        QVERIFY(prefs()->CheckPourcent->isChecked());
        QVERIFY(!prefs()->CheckCopieRiche->isChecked());
        // Back to the classic form: the live preview on again, the code classic.
        prefs()->CombFormat->setCurrentIndex(0);
        prefs()->CheckCompact->setChecked(false);
        prefs()->CheckApercuDirect->setChecked(true);
        pressOk();
        QCOMPARE(int(form->options.LivePreview), 1);
        QTest::mouseClick(form->BoutCode, Qt::LeftButton);
        QTRY_VERIFY(form->codeOutput()->Memo2->isVisible());
        QVERIFY(form->codeOutput()->Memo2->toPlainText().contains(QStringLiteral("<font")));
    }
};

ZK_WINDOW_TEST_MAIN(PreferencesTest)
#include "preferences_test.moc"
