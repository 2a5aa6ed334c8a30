// The row of colours of a gradient of several colours, alone: its swatches and their
// selection, the colour dialog on a click, "+" and "−" within 2 to 8 colours.
#include <QSignalSpy>
#include <QToolButton>

#include "gradient_stop_row.h"
#include "part_test_support.h"

using namespace zktest;
using Stops = std::vector<zk::Color>;

Q_DECLARE_METATYPE(Stops)

namespace {

constexpr zk::Color kRed = 0x0000FF;
constexpr zk::Color kGreen = 0x00FF00;
constexpr zk::Color kBlue = 0xFF0000;
constexpr zk::Color kBlack = 0x000000;
constexpr zk::Color kWhite = 0xFFFFFF;

// The row on screen, under a window of its own.
struct Setup {
    Setup() {
        row = new zk::ui::GradientStopRow(&window);
        window.resize(zk::ui::GradientStopRow::kWidth + 8, zk::ui::GradientStopRow::kHeight + 8);
        row->move(4, 4);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        dialogs().color.reset();
        dialogs().colorCalls = 0;
    }
    QWidget window;
    zk::ui::GradientStopRow* row = nullptr;

    // What the row shows: the visible swatches' colours, the checked one, + and − enabled.
    Stops shownStops() const {
        Stops shown;
        for (std::size_t k = 0; k < zk::kMaxGradientStops; ++k)
            if (row->stopButton(k)->isVisible())
                shown.push_back(row->stopButton(k)->property("Colour").toInt());
        return shown;
    }
    int checked() const {
        for (std::size_t k = 0; k < zk::kMaxGradientStops; ++k)
            if (row->stopButton(k)->isVisible() && row->stopButton(k)->isChecked())
                return static_cast<int>(k);
        return -1;
    }
    void click(QToolButton* b) const { QTest::mouseClick(b, Qt::LeftButton); }
};

} // namespace

class GradientStopRowTest final : public QObject {
    Q_OBJECT

private slots:
    // As many swatches as colours, the selected one checked; a row given too few or too many
    // colours keeps 2 to 8, and the selection stays within them.
    void showsTheColoursAndTheSelectedOne_data() {
        QTest::addColumn<Stops>("given");
        QTest::addColumn<int>("selected");
        QTest::addColumn<Stops>("kept");
        QTest::addColumn<int>("shownSelected");
        QTest::newRow("two") << Stops{kRed, kBlue} << 1 << Stops{kRed, kBlue} << 1;
        QTest::newRow("eight") << Stops{kRed, kGreen, kBlue, kBlack, kWhite, 1, 2, 3} << 5
                               << Stops{kRed, kGreen, kBlue, kBlack, kWhite, 1, 2, 3} << 5;
        QTest::newRow("nine: the first eight")
            << Stops{kRed, kGreen, kBlue, kBlack, kWhite, 1, 2, 3, 4} << 8
            << Stops{kRed, kGreen, kBlue, kBlack, kWhite, 1, 2, 3} << 7;
        QTest::newRow("one: twice") << Stops{kGreen} << 0 << Stops{kGreen, kGreen} << 0;
        QTest::newRow("none: the default ones")
            << Stops{} << 3 << Stops{kRed, 0x00FFFF, kGreen, kBlue} << 3;
        QTest::newRow("selected past the end")
            << Stops{kRed, kGreen, kBlue} << 7 << Stops{kRed, kGreen, kBlue} << 2;
    }
    void showsTheColoursAndTheSelectedOne() {
        QFETCH(Stops, given);
        QFETCH(int, selected);
        QFETCH(Stops, kept);
        QFETCH(int, shownSelected);
        Setup s;
        QSignalSpy changed(s.row, &zk::ui::GradientStopRow::stopsChanged);
        s.row->setStops(given, static_cast<std::size_t>(selected));
        QCOMPARE(s.row->stops(), kept);
        QCOMPARE(s.shownStops(), kept);
        QCOMPARE(static_cast<int>(s.row->selected()), shownSelected);
        QCOMPARE(s.checked(), shownSelected);
        QCOMPARE(s.row->BoutCoulPlus->isEnabled(), kept.size() < 8);
        QCOMPARE(s.row->BoutCoulMoins->isEnabled(), kept.size() > 2);
        QCOMPARE(changed.count(), 0); // set by the program, not the user
    }

    // A click on a swatch selects it and offers its colour in the dialog; the colour chosen
    // replaces it, a cancelled dialog leaves it.
    void aClickOnAColourOpensTheDialog() {
        Setup s;
        s.row->setStops({kRed, kGreen, kBlue}, 0);
        QSignalSpy changed(s.row, &zk::ui::GradientStopRow::stopsChanged);

        dialogs().color = QColor(0x12, 0x34, 0x56);
        s.click(s.row->stopButton(1));
        QCOMPARE(dialogs().colorCalls, 1);
        QCOMPARE(dialogs().colorOffered, QColor(0, 255, 0));
        QCOMPARE(s.row->stops(), (Stops{kRed, 0x563412, kBlue}));
        QCOMPARE(s.shownStops(), (Stops{kRed, 0x563412, kBlue}));
        QCOMPARE(s.row->selected(), 1u);
        QCOMPARE(s.checked(), 1);
        QCOMPARE(changed.count(), 1);

        dialogs().color.reset(); // cancelled: the selection moves, the colour stays
        s.click(s.row->stopButton(2));
        QCOMPARE(dialogs().colorCalls, 2);
        QCOMPARE(dialogs().colorOffered, QColor(0, 0, 255));
        QCOMPARE(s.row->stops(), (Stops{kRed, 0x563412, kBlue}));
        QCOMPARE(s.checked(), 2);
        QCOMPARE(changed.count(), 2);

        s.click(s.row->stopButton(2)); // cancelled on the selected one: nothing changed
        QCOMPARE(dialogs().colorCalls, 3);
        QCOMPARE(s.checked(), 2);
        QCOMPARE(changed.count(), 2);
    }

    // "+" puts after the selected colour the one halfway to the next, as the blend mixes
    // them, and selects it; after the last it repeats the last. "−" removes the selected one
    // and selects the one in its place. Each stops at its limit, where it is disabled.
    void plusAndMinusWithinTwoToEight_data() {
        QTest::addColumn<int>("blend");
        QTest::addColumn<Stops>("start");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("clicks"); // '+' and '-' in order
        QTest::addColumn<Stops>("after");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("plus in the middle, RGB")
            << 0 << Stops{kBlack, kWhite} << 0 << "+" << Stops{kBlack, 0x808080, kWhite} << 1;
        QTest::newRow("plus in the middle, OKLab")
            << 1 << Stops{kBlack, kWhite} << 0 << "+" << Stops{kBlack, 0x636363, kWhite} << 1;
        QTest::newRow("plus after the last")
            << 0 << Stops{kRed, kBlue} << 1 << "+" << Stops{kRed, kBlue, kBlue} << 2;
        QTest::newRow("plus up to eight, then nothing")
            << 0 << Stops{kBlack, kBlack} << 1 << "+++++++" << Stops(8, kBlack) << 7;
        QTest::newRow("minus in the middle")
            << 0 << Stops{kRed, kGreen, kBlue} << 1 << "-" << Stops{kRed, kBlue} << 1;
        QTest::newRow("minus of the last")
            << 0 << Stops{kRed, kGreen, kBlue} << 2 << "-" << Stops{kRed, kGreen} << 1;
        QTest::newRow("minus down to two, then nothing")
            << 0 << Stops{kRed, kGreen, kBlue, kWhite} << 0 << "---" << Stops{kBlue, kWhite} << 0;
        QTest::newRow("plus then minus gives the colours back")
            << 0 << Stops{kRed, kGreen, kBlue} << 0 << "+-" << Stops{kRed, kGreen, kBlue} << 1;
    }
    void plusAndMinusWithinTwoToEight() {
        QFETCH(int, blend);
        QFETCH(Stops, start);
        QFETCH(int, selected);
        QFETCH(QString, clicks);
        QFETCH(Stops, after);
        QFETCH(int, selectedAfter);
        Setup s;
        s.row->setBlend(static_cast<zk::GradientBlend>(blend));
        s.row->setStops(start, static_cast<std::size_t>(selected));
        QSignalSpy changed(s.row, &zk::ui::GradientStopRow::stopsChanged);
        int changes = 0;
        for (const QChar c : clicks) {
            QToolButton* b = c == QLatin1Char('+') ? s.row->BoutCoulPlus : s.row->BoutCoulMoins;
            const bool enabled =
                c == QLatin1Char('+') ? s.row->stops().size() < 8 : s.row->stops().size() > 2;
            QCOMPARE(b->isEnabled(), enabled);
            changes += enabled;
            s.click(b);
        }
        QCOMPARE(s.row->stops(), after);
        QCOMPARE(s.shownStops(), after);
        QCOMPARE(static_cast<int>(s.row->selected()), selectedAfter);
        QCOMPARE(s.checked(), selectedAfter);
        QCOMPARE(changed.count(), changes);
        QCOMPARE(s.row->BoutCoulPlus->isEnabled(), after.size() < 8);
        QCOMPARE(s.row->BoutCoulMoins->isEnabled(), after.size() > 2);
        // Asked directly at a limit, the handlers change nothing either.
        const Stops before = s.row->stops();
        if (before.size() == 8)
            s.row->BoutCoulPlusClick();
        if (before.size() == 2)
            s.row->BoutCoulMoinsClick();
        QCOMPARE(s.row->stops(), before);
        QCOMPARE(dialogs().colorCalls, 0);
    }
};

ZK_PART_TEST_MAIN(GradientStopRowTest)
#include "gradient_stop_row_test.moc"
