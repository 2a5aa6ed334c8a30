// The status bar clock alone, without the main window: its panels and timer, and the tick
// driven from the test reading the name of the day from its own application folder.
#include <QDate>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include "part_test_support.h"
#include "status_bar_clock.h"

using namespace zktest;

class StatusBarClockTest final : public QObject {
    Q_OBJECT

    static void writeNameOfToday(const AppFolder& folder, const QByteArray& name) {
        QFile f(folder.file(QStringLiteral("Data/Bin/fetes.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QDate::currentDate().toString(QStringLiteral("MM dd")).toLatin1() + ' ' + name +
                "\r\n");
    }

private slots:
    void madeInItsParentWithTwoPanelsAndARunningTimer() {
        AppFolder folder;
        QWidget window;
        auto* clock = new zk::ui::StatusBarClock(folder.path(), &window);
        QCOMPARE(clock->parent(), &window);
        QCOMPARE(clock->StatBar->parentWidget(), &window);
        QCOMPARE(clock->StatBar->objectName(), QStringLiteral("StatBar"));
        QVERIFY(!clock->StatBar->isSizeGripEnabled());
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(clock->StatBarPanels[i]->parentWidget(), clock->StatBar);
            QCOMPARE(clock->StatBarPanels[i]->objectName(),
                     QStringLiteral("StatBarPanel%1").arg(i));
            QVERIFY(clock->StatBarPanels[i]->text().isEmpty()); // until the first tick
        }
        QCOMPARE(clock->CodeSizePanel->parentWidget(), clock->StatBar);
        QCOMPARE(clock->CodeSizePanel->objectName(), QStringLiteral("StatBarCodeSize"));
        QCOMPARE(clock->CodeSizePanel->text(), QStringLiteral("Code : 0 car."));
        QCOMPARE(clock->Timer1->objectName(), QStringLiteral("Timer1"));
        QCOMPARE(clock->Timer1->interval(), 1000);
        QVERIFY(clock->Timer1->isActive());
    }

    // A name of the day too long for the room the address and the code size leave is cut
    // with an ellipsis, the whole text in the tooltip; the other panels stay whole.
    void longClockTextIsCutWithTheWholeTextAsTooltip() {
        AppFolder folder;
        writeNameOfToday(folder, "Saint Jean-Baptiste de La Salle et tous les saints du jour");
        QWidget window;
        window.setFont(QFont(QStringLiteral("Verdana"), 8));
        window.resize(544, 19);
        auto* clock = new zk::ui::StatusBarClock(folder.path(), &window);
        clock->Timer1->stop();
        clock->StatBar->setGeometry(0, 0, 544, 19);
        clock->ShowCodeSize(123456, 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        clock->Timer1Timer();
        QLabel* time = clock->StatBarPanels[0];
        QTRY_VERIFY(time->text().endsWith(QChar(0x2026)));
        QVERIFY2(time->toolTip().endsWith(QStringLiteral(
                     " • Saint Jean-Baptiste de La Salle et tous les saints du jour")),
                 qPrintable(time->toolTip()));
        QVERIFY(time->toolTip().startsWith(time->text().chopped(1)));
        for (QLabel* panel : {time, clock->StatBarPanels[1], clock->CodeSizePanel})
            QTRY_VERIFY2(panel->fontMetrics().horizontalAdvance(panel->text()) <=
                             panel->contentsRect().width(),
                         qPrintable(panel->text()));
        // With room enough the whole text shows and the tooltip is empty.
        writeNameOfToday(folder, "Court");
        clock->StatBar->setGeometry(0, 0, 544, 19);
        window.resize(1200, 19);
        clock->StatBar->setGeometry(0, 0, 1200, 19);
        QTRY_VERIFY(time->toolTip().isEmpty());
        QVERIFY(time->text().endsWith(QStringLiteral("tous les saints du jour")));
    }

    // The timer's tick runs the clock; each clock reads the name-day file of its own folder.
    void tickShowsTheNameOfTheDayOfItsOwnFolder() {
        AppFolder first, second;
        writeNameOfToday(first, "Premier");
        writeNameOfToday(second, "Second");
        QWidget window;
        auto* a = new zk::ui::StatusBarClock(first.path(), &window);
        auto* b = new zk::ui::StatusBarClock(second.path(), &window);
        a->Timer1->stop(); // the test drives the ticks
        b->Timer1->stop();
        QVERIFY(QMetaObject::invokeMethod(a->Timer1, "timeout", Qt::DirectConnection));
        b->Timer1Timer();
        QVERIFY2(a->StatBarPanels[0]->text().endsWith(QStringLiteral(" • Premier")),
                 qPrintable(a->StatBarPanels[0]->text()));
        QVERIFY2(b->StatBarPanels[0]->text().endsWith(QStringLiteral(" • Second")),
                 qPrintable(b->StatBarPanels[0]->text()));
        QVERIFY(a->StatBarPanels[1]->text().startsWith(QStringLiteral("IP: ")));
        QCOMPARE(a->ShownAddress, a->LocalAddress);
    }
};

ZK_PART_TEST_MAIN(StatusBarClockTest)
#include "status_bar_clock_test.moc"
