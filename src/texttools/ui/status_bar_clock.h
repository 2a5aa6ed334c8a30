// The status bar of the window: the clock with the French date and the name of the day,
// and the local address, looked up once per run.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLabel;
class QStatusBar;
class QTimer;
class QWidget;

namespace zk {
class StatusClock;
}

namespace zk::ui {

class StatusBarClock final : public QObject {
    Q_OBJECT

public:
    // appFolder: the folder of the Data tree, ending with "/". The status bar is made in
    // parent, which places it; the one-second timer runs at once.
    StatusBarClock(const QString& appFolder, QWidget* parent);
    ~StatusBarClock() override;

    QStatusBar* StatBar = nullptr;
    QLabel* StatBarPanels[2] = {nullptr, nullptr}; // date and time; local address
    QTimer* Timer1 = nullptr;

    // The tick: the clock, and the address until it has been shown.
    void Timer1Timer();
    void ShowLocalAddress();

    QString LocalAddress;                          // looked up once per run
    QString ShownAddress = QStringLiteral("None"); // differs from LocalAddress until then

private:
    QString appFolder_;
    std::unique_ptr<zk::StatusClock> clock_; // made at the first tick
};

} // namespace zk::ui
