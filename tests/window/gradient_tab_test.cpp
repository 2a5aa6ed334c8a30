// The gradient's choices of the "Dégradé" tab on the real window: chosen with
// the controls, kept in the options file across a close and a start, the
// settings file and the presets untouched, and the preview's first and last
// letters in the first and last colours as the browser engine renders them.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

#include "gradient_choices.h"
#include "gradient_stop_row.h"
#include "gradient_swatch.h"
#include "preferences_panel.h"
#include "string_utils.h"
#include "style_commands.h"
#include "window_test_support.h"

using zktest::AppFolder;

namespace {

// Chooses item index of a drop-down list with the keyboard, as a user may.
void choose(QComboBox* box, int index) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int k = 0; k < index; ++k)
        QTest::keyClick(box, Qt::Key_Down);
}

QString html(zk::Color c) {
    return QStringLiteral("#") + QString::fromStdString(zk::ColorToHtml(c));
}

} // namespace

class GradientTabTest final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;

    zk::ui::PreferencesPanel* prefs() const { return form->preferences(); }
    zk::ui::GradientChoices* choices() const { return prefs()->Choices; }

    // Opens the preferences on "Dégradé" as a right click on the gradient button
    // does.
    void openGradientTab() {
        QTest::mouseClick(form->styleCommands()->BoutDegrade, Qt::RightButton);
        QTRY_VERIFY(prefs()->Panel9->isVisible());
        QCOMPARE(prefs()->PageControl1->currentIndex(), 2);
    }

    // The colours of the gradient's letters in the preview, as the engine reads
    // them once its body holds lastLetter.
    QStringList previewColours(const QString& text, const QString& lastLetter) {
        form->Memo1->setPlainText(text);
        if (!form->styleCommands()->BoutDegrade->isChecked())
            QTest::mouseClick(form->styleCommands()->BoutDegrade, Qt::LeftButton);
        form->Memo1->setFocus();
        QTest::keyClick(form->Memo1, Qt::Key_F12);
        QWebEngineView* view = form->codeOutput()->WebB;
        if (!view)
            return {};
        (void)zktest::waitForBody(view, QStringLiteral(">%1</font>").arg(lastLetter));
        return zktest::runScript(view, QStringLiteral("Array.from(document.querySelectorAll("
                                                      "'font[color]')).map(f => "
                                                      "f.getAttribute('color')).join()"))
            .toString()
            .split(QLatin1Char(','), Qt::SkipEmptyParts);
    }

private slots:
    void init() {
        zktest::dialogs() = zktest::FakeDialogs();
        folder = std::make_unique<AppFolder>();
        form = zktest::openWindow(*folder);
    }
    void cleanup() {
        form.reset();
        folder.reset();
    }

    // Each type shows its own controls, sets the options at once and the swatch
    // with the generator's colours; "Deux couleurs" keeps its presets and colour
    // buttons.
    void eachTypeShowsItsControls() {
        openGradientTab();
        QWidget* tab = prefs()->TabSheet3;
        const struct {
            int type;
            bool twoColours, stops, sliders;
        } cases[] = {{1, false, true, false}, {2, false, false, true}, {0, true, false, false}};
        for (const auto& c : cases) {
            choose(choices()->CombTypeDeg, c.type);
            QCOMPARE(int(form->options.GradientType), c.type);
            QCOMPARE(prefs()->BoutDeg1->isVisibleTo(tab), c.twoColours);
            QCOMPARE(prefs()->BoutInverse->isVisibleTo(tab), c.twoColours);
            QCOMPARE(prefs()->LabDeg->isVisibleTo(tab), c.twoColours);
            QCOMPARE(prefs()->PresetSwatch(7)->isVisibleTo(tab), c.twoColours);
            QCOMPARE(choices()->CouleursDeg->isVisibleTo(tab), c.stops);
            QCOMPARE(choices()->SliderTeinte->isVisibleTo(tab), c.sliders);
            QCOMPARE(choices()->SliderEtendue->isVisibleTo(tab), c.sliders);
            QCOMPARE(prefs()->CheckDouble->isVisibleTo(tab), true); // for every type
            QCOMPARE(prefs()->Degrade->row().empty(), c.type == 0);
        }
        choose(choices()->CombMelange, 1);
        QCOMPARE(int(form->options.GradientBlend), 1);
        QCOMPARE(prefs()->Degrade->row().size(), std::size_t(prefs()->Degrade->width() - 2));
        // The colour buttons of "Deux couleurs" still edit its colours and the
        // swatch.
        zktest::dialogs().color = QColor(0, 0, 0);
        QTest::mouseClick(prefs()->BoutDeg1, Qt::LeftButton);
        QCOMPARE(prefs()->Degrade->startColor(), 0);
    }

    // The choices made with the controls give the preview's letters their
    // colours: the first letter the first colour and the last the last, in every
    // type.
    void previewFollowsTheChoices() {
        openGradientTab();
        choose(choices()->CombTypeDeg, 1);
        zk::ui::GradientStopRow* row = choices()->CouleursDeg;
        // Four colours by default: the second removed, one added after the last,
        // coloured.
        QTest::mouseClick(row->stopButton(1),
                          Qt::LeftButton); // cancelled: selects it
        QTest::mouseClick(row->BoutCoulMoins, Qt::LeftButton);
        QCOMPARE(row->stops().size(), 3u);
        zktest::dialogs().color = QColor(0x12, 0x34, 0x56);
        QTest::mouseClick(row->stopButton(2), Qt::LeftButton);
        QTest::mouseClick(row->BoutCoulPlus, Qt::LeftButton);
        zktest::dialogs().color = QColor(0xAB, 0xCD, 0xEF);
        QTest::mouseClick(row->stopButton(3), Qt::LeftButton);
        const std::vector<zk::Color> stops = {0x0000FF, 0x00FF00, 0x563412, 0xEFCDAB};
        QCOMPARE(form->options.GradientStops, stops);
        QCOMPARE(int(form->options.GradientSelectedStop), 3);
        QCOMPARE(prefs()->Degrade->startColor(), stops.front());
        QCOMPARE(prefs()->Degrade->endColor(), stops.back());
        choose(choices()->CombMelange, 1);
        QTest::mouseClick(prefs()->BoutOKCong2, Qt::LeftButton);
        QTRY_VERIFY(!prefs()->Panel9->isVisible());

        const QString text = QStringLiteral("Bonjour à tous, <b>voici</b> un dégradé !\n");
        QStringList colours = previewColours(text, QStringLiteral("!"));
        QCOMPARE(colours.size(), 28);
        QCOMPARE(colours.front(), html(stops.front()));
        QCOMPARE(colours.back(), html(stops.back()));

        // The rainbow, from 60° over 90°, symmetric: the last letter back at the
        // start.
        openGradientTab();
        choose(choices()->CombTypeDeg, 2);
        choices()->SliderTeinte->setValue(60);
        choices()->SliderEtendue->setValue(90);
        if (!prefs()->CheckDouble->isChecked())
            QTest::mouseClick(prefs()->CheckDouble, Qt::LeftButton);
        QTest::mouseClick(prefs()->BoutOKCong2, Qt::LeftButton);
        QTRY_VERIFY(!prefs()->Panel9->isVisible());
        colours = previewColours(text + QStringLiteral("x"), QStringLiteral("x"));
        QCOMPARE(colours.size(), 29);
        QCOMPARE(colours.front(), html(zk::RainbowColour(600)));
        QCOMPARE(colours.back(), html(zk::RainbowColour(600)));
        QVERIFY(colours.contains(html(zk::RainbowColour(1500))));
    }

    // The choices go to the options file at close and come back at the next
    // start; the settings file and the presets keep their shape.
    void choicesSurviveCloseAndStart() {
        openGradientTab();
        choose(choices()->CombTypeDeg, 1);
        choose(choices()->CombMelange, 1);
        QTest::mouseClick(choices()->CouleursDeg->BoutCoulPlus, Qt::LeftButton);
        choose(choices()->CombTypeDeg, 2);
        choices()->SliderTeinte->setValue(200);
        choices()->SliderEtendue->setValue(45);
        const std::vector<zk::Color> stops = choices()->CouleursDeg->stops();
        QCOMPARE(stops.size(), 5u);
        form->close();
        form.reset();
        QVERIFY(zktest::dialogs().errors.isEmpty());
        const QByteArray written = zktest::readFile(folder->optionsPath());
        QVERIFY2(written.contains("GradientType=2\r\nGradientBlend=1\r\n"), written.constData());
        QVERIFY2(
            written.contains("GradientSelectedStop=1\r\nRainbowStart=200\r\nRainbowSpan=45\r\n"),
            written.constData());
        QCOMPARE(folder->settingsLines().size(), 59);

        form = zktest::openWindow(*folder);
        QCOMPARE(form->options.GradientStops, stops);
        openGradientTab();
        QCOMPARE(choices()->CombTypeDeg->currentIndex(), 2);
        QCOMPARE(choices()->CombMelange->currentIndex(), 1);
        QCOMPARE(choices()->CouleursDeg->stops(), stops);
        QCOMPARE(choices()->CouleursDeg->selected(), 1u);
        QCOMPARE(choices()->SliderTeinte->value(), 200);
        QCOMPARE(choices()->SliderEtendue->value(), 45);
        QCOMPARE(prefs()->Degrade->startColor(), zk::RainbowColour(2000));
        QCOMPARE(prefs()->Degrade->endColor(), zk::RainbowColour(2450));
    }
};

ZK_WINDOW_TEST_MAIN(GradientTabTest)
#include "gradient_tab_test.moc"
