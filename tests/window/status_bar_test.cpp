// The status bar on the real window: the clock with today's name from the name-day file,
// read once a day, and the local address.
#include <QDate>
#include <QHostAddress>
#include <QLabel>
#include <QRegularExpression>

#include <sys/stat.h>

#include "status_bar_clock.h"
#include "status_clock.h"

#include "window_test_support.h"

using namespace zktest;

class StatusBarTest final : public QObject {
    Q_OBJECT

    static void writeNameDays(const AppFolder& folder, const QByteArray& name) {
        const QDate today = QDate::currentDate();
        QFile f(folder.file(QStringLiteral("Data/Bin/fetes.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(today.toString(QStringLiteral("MM dd")).toLatin1() + ' ' + name + "\r\n");
    }

private slots:
    void clockShowsTimeDateAndTodaysName() {
        AppFolder folder;
        writeNameDays(folder, "Saint Exemple \xE9");
        // Not shown: no event loop runs, so the timer's own ticks stay out of the test.
        auto form = openWindow(folder, false);
        QVERIFY(form->statusBarClock()->Timer1->isActive());
        QVERIFY(form->statusBarClock()->StatBarPanels[0]->text().isEmpty()); // until the first tick
        form->statusBarClock()->Timer1Timer();
        const QString text = form->statusBarClock()->StatBarPanels[0]->text();
        static const QRegularExpression format(QStringLiteral(
            "^\\d\\d:\\d\\d:\\d\\d • (Dimanche|Lundi|Mardi|Mercredi|Jeudi|Vendredi|Samedi) "
            "\\d\\d \\S+ \\d{4} • Saint Exemple é$"));
        QVERIFY2(format.match(text).hasMatch(), qPrintable(text));
        QVERIFY(text.contains(QString::number(QDate::currentDate().year())));
    }

    void nameIsReadOncePerDay() {
        AppFolder folder;
        writeNameDays(folder, "Premier");
        auto form = openWindow(folder, false);
        form->statusBarClock()->Timer1Timer();
        writeNameDays(folder, "Second");
        form->statusBarClock()->Timer1Timer();
        QVERIFY(form->statusBarClock()->StatBarPanels[0]->text().endsWith(
            QStringLiteral(" • Premier")));
    }

    void missingFileOrDayShowsNothingAfterTheSeparator() {
        AppFolder folder;
        auto form = openWindow(folder, false);
        form->statusBarClock()->Timer1Timer();
        QVERIFY(form->statusBarClock()->StatBarPanels[0]->text().endsWith(QStringLiteral(" • ")));
    }

    // A named pipe is never opened (without a writer the window would freeze at the first
    // tick), and a file larger than a name-day file can be is not read.
    void nameDayFileThatIsNoOrdinaryFileOrTooLarge() {
        const QDate today = QDate::currentDate();
        const QByteArray line = today.toString(QStringLiteral("MM dd")).toLatin1() + " Trop\r\n";
        AppFolder piped, large;
        const QString pipe = piped.file(QStringLiteral("Data/Bin/fetes.txt"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
        QFile big(large.file(QStringLiteral("Data/Bin/fetes.txt")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(line + QByteArray(int(zk::kNameDayFileSizeLimit) + 1 - line.size(), '\n'));
        big.close();
        for (const AppFolder* folder : {&piped, &large}) {
            auto form = openWindow(*folder, false);
            form->statusBarClock()->Timer1Timer();
            QVERIFY(
                form->statusBarClock()->StatBarPanels[0]->text().endsWith(QStringLiteral(" • ")));
        }
        // One byte less and it is read.
        QVERIFY(big.resize(zk::kNameDayFileSizeLimit));
        auto form = openWindow(large, false);
        form->statusBarClock()->Timer1Timer();
        QVERIFY(
            form->statusBarClock()->StatBarPanels[0]->text().endsWith(QStringLiteral(" • Trop")));
    }

    void addressPanelIsFilledOnceWithoutLoopback() {
        AppFolder folder;
        auto form = openWindow(folder, false);
        form->statusBarClock()->Timer1Timer();
        const QString text = form->statusBarClock()->StatBarPanels[1]->text();
        QVERIFY(text.startsWith(QStringLiteral("IP: ")));
        const QString address = text.mid(4);
        if (!address.isEmpty()) {
            QHostAddress parsed(address);
            QCOMPARE(parsed.protocol(), QAbstractSocket::IPv4Protocol);
            QVERIFY(!parsed.isLoopback());
        }
        QCOMPARE(form->statusBarClock()->ShownAddress, form->statusBarClock()->LocalAddress);
        form->statusBarClock()->StatBarPanels[1]->setText(QStringLiteral("untouched"));
        form->statusBarClock()->Timer1Timer();
        QCOMPARE(form->statusBarClock()->StatBarPanels[1]->text(), QStringLiteral("untouched"));
    }
};

ZK_WINDOW_TEST_MAIN(StatusBarTest)
#include "status_bar_test.moc"
