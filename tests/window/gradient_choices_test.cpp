// The choices of the "Dégradé" tab kept in the options file, alone on a tab of their own:
// the type and the blend, the colours of "Multicolore", the hues of "Arc-en-ciel", the
// controls of each type shown for it only, and the swatch showing what the generator gives.
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

#include "colors.h"
#include "gradient_choices.h"
#include "gradient_stop_row.h"
#include "gradient_swatch.h"
#include "options_file.h"
#include "part_test_support.h"

using namespace zktest;

namespace {

struct Setup {
    explicit Setup(const zk::NewOptions& given = {}) : options(given) {
        state.GradientStartColor = 0x0000FF; // red
        state.GradientEndColor = 0x00FFFF;   // yellow
        state.GradientSymmetry = 2;
        tab.resize(512, 150);
        swatch = new zk::ui::GradientSwatch(&tab);
        swatch->setObjectName(QStringLiteral("Degrade"));
        swatch->setGeometry(100, 48, 312, 24);
        preset = new QToolButton(&tab);
        choices = new zk::ui::GradientChoices(&tab, options, state, swatch, {preset});
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        dialogs().color.reset();
        dialogs().colorCalls = 0;
    }
    zk::NewOptions options;
    zk::FormattingState state;
    QWidget tab;
    zk::ui::GradientSwatch* swatch = nullptr;
    QToolButton* preset = nullptr; // stands for the controls of "Deux couleurs"
    zk::ui::GradientChoices* choices = nullptr;

    // What the generator gives a row of letters as wide as the swatch's inside, drawn from
    // left to right.
    std::vector<zk::Color> expectedRow() const {
        zk::FormattingState plain = state;
        plain.GradientSymmetry = 1;
        return zk::GradientRow(plain, zk::generatorOptions(options).gradient, 310);
    }
    // Which type's controls show: 0, 1 or 2 (-1 when not exactly one).
    int typeShown() const {
        const bool two = preset->isVisibleTo(&tab);
        const bool several = choices->CouleursDeg->isVisibleTo(&tab);
        const bool rainbow =
            choices->SliderTeinte->isVisibleTo(&tab) && choices->SliderEtendue->isVisibleTo(&tab) &&
            choices->LabTeinte->isVisibleTo(&tab) && choices->LabEtendueVal->isVisibleTo(&tab);
        if (two + several + rainbow != 1)
            return -1;
        return two ? 0 : several ? 1 : 2;
    }
    void choose(QComboBox* box, int index) const {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Home);
        for (int k = 0; k < index; ++k)
            QTest::keyClick(box, Qt::Key_Down);
    }
};

} // namespace

class GradientChoicesTest final : public QObject {
    Q_OBJECT

private slots:
    // The controls show the options as read; the captions are those of the program.
    void showTheOptions() {
        zk::NewOptions given;
        given.GradientType = 2;
        given.GradientBlend = 1;
        given.GradientStops = {0x000000, 0xFFFFFF, 0x00FF00};
        given.GradientSelectedStop = 2;
        given.RainbowStart = 45;
        given.RainbowSpan = 120;
        Setup s(given);
        QCOMPARE(s.choices->LabTypeDeg->text(), QStringLiteral("Type de dégradé"));
        QCOMPARE(s.choices->LabMelange->text(), QStringLiteral("Mélange des couleurs"));
        QCOMPARE(s.choices->CombTypeDeg->count(), 3);
        QCOMPARE(s.choices->CombTypeDeg->itemText(0), QStringLiteral("Deux couleurs"));
        QCOMPARE(s.choices->CombTypeDeg->itemText(1), QStringLiteral("Multicolore"));
        QCOMPARE(s.choices->CombTypeDeg->itemText(2), QStringLiteral("Arc-en-ciel"));
        QCOMPARE(s.choices->CombMelange->count(), 2);
        QCOMPARE(s.choices->CombMelange->itemText(0), QStringLiteral("RVB classique"));
        QCOMPARE(s.choices->CombMelange->itemText(1), QStringLiteral("Perceptuel (OKLab)"));

        QCOMPARE(s.choices->CombTypeDeg->currentIndex(), 2);
        QCOMPARE(s.choices->CombMelange->currentIndex(), 1);
        QCOMPARE(s.choices->CouleursDeg->stops(), given.GradientStops);
        QCOMPARE(s.choices->CouleursDeg->selected(), 2u);
        QCOMPARE(s.choices->SliderTeinte->value(), 45);
        QCOMPARE(s.choices->SliderEtendue->value(), 120);
        QCOMPARE(s.choices->LabTeinteVal->text(), QStringLiteral("45°"));
        QCOMPARE(s.choices->LabEtendueVal->text(), QStringLiteral("120°"));
        QCOMPARE(s.typeShown(), 2);
        QCOMPARE(s.swatch->row(), s.expectedRow());
        QCOMPARE(s.swatch->startColor(), zk::RainbowColour(450));
        QCOMPARE(s.swatch->endColor(), zk::RainbowColour(1650));
        // Shown, nothing was written back.
        QCOMPARE(zk::FormatOptions(s.options), zk::FormatOptions(given));
    }

    // Each type and blend chosen is kept in the options at once, shows its own controls and
    // the swatch with the generator's colours ("Deux couleurs" in RGB: the classic blend).
    void eachTypeAndBlendChangesTheOptionsAndTheSwatch_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("blend");
        QTest::addColumn<zk::Color>("first");
        QTest::addColumn<zk::Color>("last");
        const zk::Color red = 0x0000FF;
        const zk::Color blue = 0xFF0000;
        QTest::newRow("two colours, RGB") << 0 << 0 << red << zk::Color(0x00FFFF);
        QTest::newRow("two colours, OKLab") << 0 << 1 << red << zk::Color(-1);
        QTest::newRow("several colours, RGB") << 1 << 0 << red << blue;
        QTest::newRow("several colours, OKLab") << 1 << 1 << red << blue;
        QTest::newRow("rainbow") << 2 << 0 << zk::RainbowColour(0) << zk::RainbowColour(3600);
        QTest::newRow("rainbow, OKLab")
            << 2 << 1 << zk::RainbowColour(0) << zk::RainbowColour(3600);
    }
    void eachTypeAndBlendChangesTheOptionsAndTheSwatch() {
        QFETCH(int, type);
        QFETCH(int, blend);
        QFETCH(zk::Color, first);
        QFETCH(zk::Color, last);
        Setup s;
        QCOMPARE(s.typeShown(), 0);
        s.choose(s.choices->CombTypeDeg, type);
        s.choose(s.choices->CombMelange, blend);
        QCOMPARE(int(s.options.GradientType), type);
        QCOMPARE(int(s.options.GradientBlend), blend);
        QCOMPARE(s.typeShown(), type);
        if (type == 0 && blend == 0) {
            QVERIFY(s.swatch->row().empty());
        } else {
            QCOMPARE(s.swatch->row(), s.expectedRow());
        }
        QCOMPARE(s.swatch->startColor(), first);
        if (last != -1)
            QCOMPARE(s.swatch->endColor(), last);
        // The swatch paints what it holds: the first and last columns of its inside.
        const QImage shot = s.swatch->grab().toImage();
        QCOMPARE(zk::ui::fromQColor(shot.pixelColor(1, 12)), s.swatch->startColor());
        if (type != 0 || blend != 0)
            QCOMPARE(zk::ui::fromQColor(shot.pixelColor(shot.width() - 2, 12)),
                     s.swatch->endColor());
    }

    // The colours of "Multicolore" and the hues of "Arc-en-ciel" go to the options at once,
    // the swatch following.
    void coloursAndHuesGoToTheOptions() {
        Setup s;
        s.choose(s.choices->CombTypeDeg, 1);
        dialogs().color = QColor(0, 0, 0);
        QTest::mouseClick(s.choices->CouleursDeg->stopButton(3), Qt::LeftButton);
        QTest::mouseClick(s.choices->CouleursDeg->BoutCoulPlus, Qt::LeftButton);
        QCOMPARE(s.options.GradientStops,
                 (std::vector<zk::Color>{0x0000FF, 0x00FFFF, 0x00FF00, 0, 0}));
        QCOMPARE(int(s.options.GradientSelectedStop), 4);
        QCOMPARE(s.swatch->row(), s.expectedRow());
        QCOMPARE(s.swatch->endColor(), 0);

        s.choose(s.choices->CombTypeDeg, 2);
        s.choices->SliderTeinte->setFocus();
        QTest::keyClick(s.choices->SliderTeinte, Qt::Key_End);
        QCOMPARE(int(s.options.RainbowStart), 360);
        QCOMPARE(s.choices->LabTeinteVal->text(), QStringLiteral("360°"));
        s.choices->SliderEtendue->setFocus();
        QTest::keyClick(s.choices->SliderEtendue, Qt::Key_Home);
        for (int k = 0; k < 3; ++k)
            QTest::keyClick(s.choices->SliderEtendue, Qt::Key_PageUp);
        QCOMPARE(int(s.options.RainbowSpan), 90);
        QCOMPARE(s.choices->LabEtendueVal->text(), QStringLiteral("90°"));
        QCOMPARE(s.swatch->row(), s.expectedRow());
        QCOMPARE(s.swatch->startColor(), zk::RainbowColour(3600));
        QCOMPARE(s.swatch->endColor(), zk::RainbowColour(4500));
        // The other type's choices stay as they were.
        QCOMPARE(s.options.GradientStops.size(), 5u);
    }
};

ZK_PART_TEST_MAIN(GradientChoicesTest)
#include "gradient_choices_test.moc"
