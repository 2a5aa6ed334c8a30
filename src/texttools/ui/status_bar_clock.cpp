#include "status_bar_clock.h"

#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include "data_path.h"
#include "local_address.h"
#include "status_clock.h"

namespace zk::ui {

StatusBarClock::StatusBarClock(const QString& appFolder, QWidget* parent)
    : QObject(parent), appFolder_(appFolder) {
    StatBar = new QStatusBar(parent);
    StatBar->setObjectName(QStringLiteral("StatBar"));
    StatBar->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        StatBarPanels[i] = new QLabel(StatBar);
        StatBarPanels[i]->setObjectName(QStringLiteral("StatBarPanel%1").arg(i));
        StatBarPanels[i]->setFrameShape(QFrame::Panel);
        StatBarPanels[i]->setFrameShadow(QFrame::Sunken);
    }
    StatBarPanels[0]->setFixedWidth(418);
    StatBar->addWidget(StatBarPanels[0]);
    StatBar->addWidget(StatBarPanels[1], 1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &StatusBarClock::Timer1Timer);
    Timer1->start();
}

StatusBarClock::~StatusBarClock() = default;

void StatusBarClock::Timer1Timer() {
    if (!clock_)
        clock_ = std::make_unique<zk::StatusClock>(
            QFile::encodeName(zk::platform::dataPath(appFolder_, zk::data::kNameDayFile))
                .toStdString());
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    const zk::ClockReading reading{date.year(), date.month(),  date.day(),
                                   time.hour(), time.minute(), time.second()};
    StatBarPanels[0]->setText(QString::fromStdString(clock_->text(reading)));
    if (ShownAddress != LocalAddress)
        ShowLocalAddress();
}

void StatusBarClock::ShowLocalAddress() {
    // With no usable address the panel shows "IP: " alone; the address is not looked up
    // again, so a machine without a network costs nothing at each tick.
    LocalAddress = zk::platform::localIPv4Address().left(15);
    ShownAddress = LocalAddress;
    StatBarPanels[1]->setText(QStringLiteral("IP: ") + LocalAddress);
}

} // namespace zk::ui
