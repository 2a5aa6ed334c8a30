// The preferences panel alone, on a stand-in host: what it asks of the window when it opens
// and when it is confirmed, the errors it reports, the commands it tells, the tooltips it
// asks for, and the rows a new option adds to "Général".
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QUrl>
#include <QWebEngineView>

#include <utility>

#include "gradient_choices.h"
#include "gradient_stop_row.h"
#include "gradient_swatch.h"
#include "options_file.h"
#include "part_test_support.h"
#include "preferences_panel.h"
#include "radio_group.h"

using namespace zktest;
using zk::ui::PreferencesPanel;

class PreferencesPanelTest final : public QObject {
    Q_OBJECT

    struct Setup {
        AppFolder folder;
        FakeHost host;
        zk::AppSettings settings;
        zk::NewOptions options;
        PreferencesPanel panel{host, settings, options, &host.window, folder.path()};
        QList<bool> hints;

        Setup() {
            QObject::connect(&panel, &PreferencesPanel::hintsChosen,
                             [this](bool on) { hints.append(on); });
            host.window.resize(560, 420);
            host.window.show();
        }
        // Opens the panel; where the host says it is open, it is shown as the window would.
        void open() {
            panel.BoutPreferencesClick();
            if (host.openPanel == PreferencesPanel::kPanelNumber)
                panel.Panel9->show();
        }
        QPushButton* okOfTabOnTop() const {
            const QList<QPushButton*> oks = {panel.BoutOKConf0, panel.BoutOKConf1,
                                             panel.BoutOKCong2, panel.BoutOKConf3,
                                             panel.BoutOKConf4, panel.BoutOKConf5};
            return oks.at(panel.PageControl1->currentIndex());
        }
    };

private slots:
    void init() { dialogs() = FakeDialogs(); }

    void openingFillsTheControlsAndAsksTheHostForPanelNine() {
        Setup s;
        s.settings.PreferencesPage = 3;
        s.settings.ShowHints = 1;
        s.settings.fmt.MarqueeSpeed = 1;
        s.settings.fmt.CodeSizeLimit = 640;
        s.settings.fmt.SignatureText = "Léa";
        s.settings.fmt.GradientPresetIndex = 2;
        s.open();
        QCOMPARE(s.host.openPanel, 9);
        QVERIFY(s.host.closeCalls >= 1); // any other panel is closed first
        QCOMPARE(s.panel.PageControl1->currentIndex(), 3);
        QVERIFY(s.panel.CheckBulle->isChecked());
        QCOMPARE(s.panel.CheckSpeed->itemIndex(), 1);
        QCOMPARE(s.panel.EditLimit->text(), QStringLiteral("640"));
        QCOMPARE(s.panel.EditTextSign->text(), QStringLiteral("Léa"));
        QCOMPARE(s.panel.Degrade->startColor(), zk::kDefaultPresetStartColors[2]);
        QCOMPARE(s.panel.LabDeg->x(), 104 + 40 * 2);
        // The signature is previewed in its own view, made on the "Signature" tab.
        QVERIFY(s.panel.WebB3);
        QCOMPARE(s.panel.WebB3->parentWidget(), s.panel.TabSheet2);
        QVERIFY(waitForBody(s.panel.WebB3, QStringLiteral("Léa"))
                    .contains(QStringLiteral("<b>Léa</b>")));
        QCOMPARE(readFile(s.folder.file(QStringLiteral("Data/Temp/TempHTML.html"))).left(27),
                 QByteArray("<html><head></head><body>\r\n"));
        QVERIFY(s.host.errors.isEmpty());
        QVERIFY(dialogs().errors.isEmpty());
        QVERIFY(s.host.lastCommand.isEmpty()); // opened from outside: its command tells
    }

    void okCopiesTheControlsBackAndClosesThroughTheHost() {
        Setup s;
        s.settings.ShowHints = 1;
        s.open();
        s.panel.CheckBulle->setChecked(false);
        s.panel.CheckDemarrage->setChecked(true);
        s.panel.EditAjout->setText(QStringLiteral("<center>"));
        s.panel.EditLimit->setText(QStringLiteral("99999"));
        s.panel.CheckVague->setItemIndex(1);
        s.panel.CombTaille->setCurrentIndex(4);
        s.panel.PageControl1->setCurrentIndex(4);
        QTest::mouseClick(s.okOfTabOnTop(), Qt::LeftButton);
        QCOMPARE(s.host.lastCommand, QStringLiteral("BoutOKConf0Click"));
        QCOMPARE(s.hints, QList<bool>{false});
        QCOMPARE(s.host.openPanel, 0);
        QCOMPARE(int(s.settings.ShowHints), 0);
        QCOMPARE(int(s.settings.StartAtLogon), 1);
        QCOMPARE(s.settings.fmt.CodePrefix, std::string("<center>"));
        QCOMPARE(int(s.settings.fmt.CodeSizeLimit), 34463);
        QCOMPARE(int(s.settings.fmt.WavesKind), 1);
        QCOMPARE(int(s.settings.fmt.SignatureSizeIndex), 4);
        QCOMPARE(int(s.settings.PreferencesPage), 4);
    }

    void secondPressWhileShownAppliesInsteadOfOpening() {
        Setup s;
        s.open();
        QVERIFY(s.panel.Panel9->isVisible());
        const int closesBefore = s.host.closeCalls;
        s.panel.CheckReduire->setChecked(true);
        s.panel.Prfrences1Click();
        QCOMPARE(int(s.settings.MinimizeAfterCopy), 1);
        QCOMPARE(s.host.openPanel, 0);
        QCOMPARE(s.host.closeCalls, closesBefore + 1);
    }

    void toolbarButtonAndMenuItemAreTwoCommandsOpeningThePanel() {
        // Built from the panel's rows as the window builds them: each records its own name.
        Setup s;
        QToolButton* button = s.host.builder.button(
            &s.host.window, &s.panel, PreferencesPanel::CommandRow("BoutPreferences"));
        QMenu menu;
        QAction* item =
            s.host.builder.item(&menu, &s.panel, PreferencesPanel::CommandRow("Prfrences1"));
        QCOMPARE(button->objectName(), QStringLiteral("BoutPreferences"));
        QCOMPARE(button->toolTip(), QStringLiteral("Préférences - F9"));
        QCOMPARE(item->objectName(), QStringLiteral("Prfrences1"));
        QCOMPARE(item->text(), QStringLiteral("&Préférences"));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::Key_F9));
        button->show();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(s.host.lastCommand, QStringLiteral("BoutPreferencesClick"));
        QCOMPARE(s.host.openPanel, PreferencesPanel::kPanelNumber);
        s.panel.Panel9->show();
        s.panel.CheckReduire->setChecked(true);
        item->trigger(); // open: confirms it
        QCOMPARE(s.host.lastCommand, QStringLiteral("Prfrences1Click"));
        QCOMPARE(int(s.settings.MinimizeAfterCopy), 1);
        QCOMPARE(s.host.openPanel, 0);
    }

    void pastedLettersInTheLimitAreReportedAndThePanelStaysOpen() {
        Setup s;
        s.settings.fmt.CodeSizeLimit = 7;
        s.open();
        s.panel.EditLimit->setText(QStringLiteral("12a"));
        s.panel.EditAjout->setText(QStringLiteral("kept"));
        s.panel.ApplyPreferences();
        QCOMPARE(dialogs().errors,
                 QStringList{QStringLiteral("'12a' is not a valid integer value")});
        QCOMPARE(int(s.settings.fmt.CodeSizeLimit), 7);
        QCOMPARE(s.settings.fmt.CodePrefix, std::string("kept")); // the steps before it hold
        QCOMPARE(s.host.openPanel, 9);
    }

    void pageBeyondTheTabsIsReportedAndNothingOpens() {
        Setup s;
        s.settings.PreferencesPage = 6;
        s.open();
        QCOMPARE(dialogs().errors, QStringList{QStringLiteral("List index out of bounds (6)")});
        QCOMPARE(s.host.openPanel, 0);
        QVERIFY(!s.panel.Panel9->isVisible());
    }

    void rightButtonOpensOnTheTabOfItsButton() {
        using Handler = void (PreferencesPanel::*)(Qt::MouseButton);
        struct Case {
            Handler handler;
            int page;
        };
        const Case cases[] = {{&PreferencesPanel::BoutPreferencesMouseUp, 0},
                              {&PreferencesPanel::BoutNavIntegreMouseUp, 0},
                              {&PreferencesPanel::BoutSignMouseUp, 1},
                              {&PreferencesPanel::BoutDegradeMouseUp, 2},
                              {&PreferencesPanel::BoutScrollMouseUp, 3},
                              {&PreferencesPanel::BoutVagueMouseUp, 4}};
        for (const Case& c : cases) {
            Setup s;
            s.settings.PreferencesPage = 5;
            (s.panel.*c.handler)(Qt::LeftButton); // the button's own click: nothing here
            (s.panel.*c.handler)(Qt::MiddleButton);
            QCOMPARE(s.host.openPanel, 0);
            QCOMPARE(s.host.closeCalls, 0);
            QCOMPARE(int(s.settings.PreferencesPage), 5);
            (s.panel.*c.handler)(Qt::RightButton);
            QCOMPARE(s.host.openPanel, 9);
            QCOMPARE(s.panel.PageControl1->currentIndex(), c.page);
        }
    }

    void previewThatCannotBeWrittenGoesToTheBanner() {
        Setup s;
        const QString temp = s.folder.file(QStringLiteral("Data/Temp"));
        QVERIFY(QDir(temp).removeRecursively());
        QFile blocker(temp);
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        s.open();
        QCOMPARE(s.host.errors, QStringList{QStringLiteral("\r\nERREUR en écriture")});
        QVERIFY(dialogs().errors.isEmpty());
        QCOMPARE(s.host.openPanel, 9); // the panel opens all the same
        QTest::mouseClick(s.panel.BoutApercuSign, Qt::LeftButton);
        QCOMPARE(s.host.lastCommand, QStringLiteral("BoutApercuSignClick"));
        QCOMPARE(s.host.errors.size(), 2);
    }

    void gradientCommandsActAtOnceAndTellTheirNames() {
        Setup s;
        s.open();
        s.panel.PageControl1->setCurrentIndex(2);
        auto* z6 = s.panel.TabSheet3->findChild<QToolButton*>(QStringLiteral("Z6"));
        QVERIFY(z6);
        QTest::mouseClick(z6, Qt::LeftButton);
        QCOMPARE(s.host.lastCommand, QStringLiteral("Z0Click"));
        QCOMPARE(int(s.settings.fmt.GradientPresetIndex), 6);
        QCOMPARE(s.settings.fmt.GradientStartColor, zk::kDefaultPresetStartColors[6]);
        dialogs().color = QColor(0x10, 0x20, 0x30);
        const std::pair<QToolButton*, const char*> clicks[] = {
            {s.panel.BoutDeg2, "BoutDeg2Click"},
            {s.panel.BoutInverse, "BoutInverseClick"},
            {s.panel.BoutTexteSignCoul, "BoutTexteSignCoulClick"}};
        for (const auto& [button, handler] : clicks) {
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(s.host.lastCommand, QLatin1String(handler));
        }
        QCOMPARE(s.settings.fmt.GradientStartColor, 0x302010);
        QCOMPARE(s.settings.fmt.PresetStartColors[6], 0x302010);
        QCOMPARE(s.panel.PresetSwatch(6)->startColor(), 0x302010);
        QCOMPARE(s.settings.fmt.SignatureColor, 0x302010);
        // Nothing is confirmed: the host was not asked to close the panel.
        QCOMPARE(s.host.openPanel, 9);
    }

    // The gradient's choices act on the options the panel was given, at once, and are filled
    // from them each time it opens.
    void gradientChoicesWorkOnTheOptionsGiven() {
        Setup s;
        s.options.GradientType = 1;
        s.options.GradientStops = {0x000000, 0xFFFFFF};
        s.settings.PreferencesPage = 2;
        s.open();
        zk::ui::GradientChoices* choices = s.panel.Choices;
        QCOMPARE(choices->CombTypeDeg->currentIndex(), 1);
        QCOMPARE(choices->CouleursDeg->stops(), s.options.GradientStops);
        QVERIFY(!s.panel.BoutDeg1->isVisibleTo(s.panel.TabSheet3));
        QCOMPARE(s.panel.Degrade->startColor(), 0x000000);
        QCOMPARE(s.panel.Degrade->endColor(), 0xFFFFFF);
        QTest::mouseClick(choices->CouleursDeg->BoutCoulPlus, Qt::LeftButton);
        QCOMPARE(s.options.GradientStops, (std::vector<zk::Color>{0, 0x808080, 0xFFFFFF}));
        QCOMPARE(int(s.options.GradientSelectedStop), 1);
        QTest::mouseClick(s.panel.BoutOKCong2, Qt::LeftButton);
        QCOMPARE(s.host.openPanel, 0);
        s.panel.Panel9->hide(); // as the window parks a panel it closes

        s.options.GradientType = 2; // changed elsewhere while the panel was closed
        s.options.RainbowSpan = 90;
        s.open();
        QCOMPARE(choices->CombTypeDeg->currentIndex(), 2);
        QCOMPARE(choices->SliderEtendue->value(), 90);
        QVERIFY(choices->SliderTeinte->isVisibleTo(s.panel.TabSheet3));
        QCOMPARE(s.panel.Degrade->endColor(), zk::RainbowColour(900));
    }

    void aboutLinksOpenTheirAddresses() {
        Setup s;
        s.settings.PreferencesPage = 5;
        s.open();
        QList<QUrl> opened;
        UrlRecorder recorder(&opened);
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &recorder, "open");
        QTest::mouseClick(s.panel.ZelkoInfo5, Qt::LeftButton);
        QTest::mouseClick(s.panel.ZelkoInfo6, Qt::LeftButton);
        QTest::mouseClick(s.panel.ZelkoInfo6, Qt::RightButton); // only the left button opens
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0].toString(), s.panel.ZelkoInfo5->text());
        QCOMPARE(opened[1].toString(), QStringLiteral("mailto:") + s.panel.ZelkoInfo6->text());
    }

    // The rows of the options kept beside the settings: filled from the options when the
    // panel opens, stored back by "Ok", which asks for the code again.
    void optionRowsFollowTheOptionsBothWays() {
        struct Case {
            QCheckBox* PreferencesPanel::*box;
            std::uint8_t zk::NewOptions::*value;
            const char* caption;
            std::uint8_t byDefault;
        };
        const Case cases[] = {
            {&PreferencesPanel::CheckApercuDirect, &zk::NewOptions::LivePreview, "Aperçu en direct",
             1},
            {&PreferencesPanel::CheckCompact, &zk::NewOptions::CompactCode, "Code compact", 0},
            {&PreferencesPanel::CheckPourcent, &zk::NewOptions::BbcodePercentSizes,
             "Tailles en pourcentage (phpBB)", 0},
            {&PreferencesPanel::CheckCopieRiche, &zk::NewOptions::CopyRichText,
             "Copier aussi le texte mis en forme", 1},
        };
        for (const Case& c : cases) {
            Setup s;
            QCheckBox* box = s.panel.*c.box;
            QCOMPARE(box->text(), QString::fromUtf8(c.caption));
            QVERIFY2(s.panel.TabSheet1->isAncestorOf(box), c.caption);
            QVERIFY2(box->focusPolicy() & Qt::TabFocus, c.caption);
            QCOMPARE(int(zk::NewOptions{}.*c.value), int(c.byDefault));
            s.options.OutputFormat = 2; // every box enabled
            for (const std::uint8_t value : {std::uint8_t{0}, std::uint8_t{1}}) {
                s.options.*c.value = value;
                s.open();
                QVERIFY2(box->isChecked() == (value == 1), c.caption);
                box->setChecked(value == 0);
                int asked = 0;
                const QMetaObject::Connection counting = QObject::connect(
                    &s.panel, &PreferencesPanel::codeOptionsChosen, [&asked] { ++asked; });
                QTest::mouseClick(s.panel.BoutOKConf0, Qt::LeftButton);
                QObject::disconnect(counting);
                QCOMPARE(s.host.openPanel, 0);
                QVERIFY2(s.options.*c.value == (value == 0 ? 1 : 0), c.caption);
                QCOMPARE(asked, 1);
            }
        }
    }

    void formatChoiceFollowsTheOptionAndRulesTheBbcodeRows() {
        Setup s;
        QComboBox* format = s.panel.CombFormat;
        const QStringList items = {QStringLiteral("HTML classique"),
                                   QStringLiteral("HTML5 (styles CSS)"), QStringLiteral("BBCode")};
        QCOMPARE(format->count(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(format->itemText(i), items.at(i));
        auto* caption = s.panel.TabSheet1->findChild<QLabel*>(QStringLiteral("LabCombFormat"));
        QVERIFY(caption);
        QCOMPARE(caption->text(), QStringLiteral("Format du code"));
        QCOMPARE(caption->buddy(), format);
        QCOMPARE(s.panel.LabNoteBBCode->text(),
                 QStringLiteral("Le défilement n'existe pas en BBCode"));
        QCOMPARE(int(zk::NewOptions{}.OutputFormat), 0);

        for (int chosen = 0; chosen < 3; ++chosen) {
            s.options.OutputFormat = static_cast<std::uint8_t>(chosen);
            s.open();
            QCOMPARE(format->currentIndex(), chosen);
            // The note and the percentage sizes go with BBCode only, as the choice changes.
            for (int shown = 0; shown < 3; ++shown) {
                format->setCurrentIndex(shown);
                QCOMPARE(s.panel.LabNoteBBCode->isVisibleTo(s.panel.Panel9), shown == 2);
                QCOMPARE(s.panel.CheckPourcent->isEnabled(), shown == 2);
            }
            const int next = (chosen + 1) % 3;
            format->setCurrentIndex(next);
            QVERIFY(s.host.lastCommand.isEmpty() ||
                    s.host.lastCommand == QStringLiteral("BoutOKConf0Click"));
            QTest::mouseClick(s.panel.BoutOKConf0, Qt::LeftButton);
            QCOMPARE(int(s.options.OutputFormat), next);
        }
        // Closed by another panel, the choice is not applied.
        s.open();
        format->setCurrentIndex(1);
        s.panel.CheckCompact->setChecked(true);
        s.host.openPanel = 0;
        s.panel.Panel9->hide();
        QCOMPARE(int(s.options.OutputFormat), 0);
        QCOMPARE(int(s.options.CompactCode), 0);
    }

    void generalRowsAreAddedBelowTheOnesBefore() {
        Setup s;
        QCheckBox* check = s.panel.AddGeneralCheck("CheckEssai", QStringLiteral("Une case"));
        QComboBox* choice =
            s.panel.AddGeneralChoice("CombEssai", QStringLiteral("Un choix"),
                                     {QStringLiteral("Un"), QStringLiteral("Deux")});
        s.open();
        s.panel.PageControl1->setCurrentIndex(0);
        const QList<QWidget*> rows = {s.panel.CheckDemarrage,
                                      s.panel.CheckReduire,
                                      s.panel.CheckApercuNavIndep,
                                      s.panel.CheckIntegre,
                                      s.panel.CheckBulle,
                                      s.panel.CheckApercuDirect,
                                      s.panel.CombFormat,
                                      s.panel.CheckCompact,
                                      s.panel.CheckPourcent,
                                      s.panel.CheckCopieRiche,
                                      check,
                                      choice};
        QWidget* tab = s.panel.TabSheet1;
        int bottom = -1;
        for (QWidget* row : rows) {
            QVERIFY2(tab->isAncestorOf(row), qPrintable(row->objectName()));
            QTRY_VERIFY(row->isVisibleTo(tab));
            const QRect at(row->mapTo(tab, QPoint(0, 0)), row->size());
            QVERIFY2(at.top() >= bottom, qPrintable(row->objectName()));
            QVERIFY2(at.right() < s.panel.EditAjout->x(), qPrintable(row->objectName()));
            bottom = at.bottom() + 1;
        }
        QCOMPARE(s.panel.CheckDemarrage->mapTo(tab, QPoint(0, 0)).y(), 4);
        QCOMPARE(check->text(), QStringLiteral("Une case"));
        QCOMPARE(choice->count(), 2);
        auto* caption = tab->findChild<QLabel*>(QStringLiteral("LabCombEssai"));
        QVERIFY(caption);
        QCOMPARE(caption->text(), QStringLiteral("Un choix"));
        QCOMPARE(caption->buddy(), choice);
    }
};

ZK_PART_TEST_MAIN(PreferencesPanelTest)
#include "preferences_panel_test.moc"
