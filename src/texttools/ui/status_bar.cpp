// The status bar: the clock with the French date and the name of the day, and the local
// address, looked up once per run.
#include <QDateTime>
#include <QFile>
#include <QLabel>

#include "data_path.h"
#include "local_address.h"
#include "main_window.h"
#include "status_clock.h"

void TForm1::Timer1Timer() {
    if (!StatusClock)
        StatusClock = std::make_unique<zk::StatusClock>(
            QFile::encodeName(zk::platform::dataPath(AppFolder, zk::data::kNameDayFile))
                .toStdString());
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    const zk::ClockReading reading{date.year(), date.month(),  date.day(),
                                   time.hour(), time.minute(), time.second()};
    StatBarPanels[0]->setText(QString::fromStdString(StatusClock->text(reading)));
    if (ShownAddress != LocalAddress)
        ShowLocalAddress();
}

void TForm1::ShowLocalAddress() {
    // With no usable address the panel shows "IP: " alone; the address is not looked up
    // again, so a machine without a network costs nothing at each tick.
    LocalAddress = zk::platform::localIPv4Address().left(15);
    ShownAddress = LocalAddress;
    StatBarPanels[1]->setText(QStringLiteral("IP: ") + LocalAddress);
}
