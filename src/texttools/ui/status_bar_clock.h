// The status bar of the window: the clock with the French date and the name of the day,
// the local address, looked up once per run, and the size of the code.
#pragma once

#include <QObject>
#include <QString>

#include <cstddef>
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
    QLabel* CodeSizePanel = nullptr;               // "Code : 1 234 car."
    QTimer* Timer1 = nullptr;

    // The size of the code in characters; red, with the excess in its tooltip, when over a
    // limit that is set (0: none).
    void ShowCodeSize(std::size_t characters, unsigned limit);
    // 1234567 as "1 234 567".
    static QString GroupedNumber(std::size_t n);

    // The tick: the clock, and the address until it has been shown.
    void Timer1Timer();
    void ShowLocalAddress();

    QString LocalAddress;                          // looked up once per run
    QString ShownAddress = QStringLiteral("None"); // differs from LocalAddress until then

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The clock's text, cut with an ellipsis when the panel is too narrow for it (the
    // whole text is then its tooltip).
    void ShowClockText();

    QString appFolder_;
    QString clockText_;
    std::unique_ptr<zk::StatusClock> clock_; // made at the first tick
};

} // namespace zk::ui
