#include "status_bar_clock.h"

#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include "data_path.h"
#include "local_address.h"
#include "status_clock.h"

namespace zk::ui {

namespace {

// A sunken panel of the bar. The bar leaves a line of text no more than its height: the
// text may reach the frame's top and bottom rows (blank leading in the window's fonts),
// never its sides.
QLabel* makePanel(QStatusBar* bar, const QString& name) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    const int frame = panel->frameWidth();
    panel->setContentsMargins(frame, 0, frame, 0);
    return panel;
}

} // namespace

StatusBarClock::StatusBarClock(const QString& appFolder, QWidget* parent)
    : QObject(parent), appFolder_(appFolder) {
    StatBar = new QStatusBar(parent);
    StatBar->setObjectName(QStringLiteral("StatBar"));
    StatBar->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i)
        StatBarPanels[i] = makePanel(StatBar, QStringLiteral("StatBarPanel%1").arg(i));
    // The clock takes the room the address and the code size leave; a long name of the
    // day is cut there rather than either of them.
    StatBarPanels[0]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    StatBarPanels[0]->installEventFilter(this);
    StatBar->addWidget(StatBarPanels[0], 1);
    StatBar->addWidget(StatBarPanels[1]);

    CodeSizePanel = makePanel(StatBar, QStringLiteral("StatBarCodeSize"));
    CodeSizePanel->setAccessibleName(QStringLiteral("Taille du code"));
    StatBar->addPermanentWidget(CodeSizePanel);
    ShowCodeSize(0, 0);

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
    clockText_ = QString::fromStdString(clock_->text(reading));
    ShowClockText();
    if (ShownAddress != LocalAddress)
        ShowLocalAddress();
}

void StatusBarClock::ShowClockText() {
    QLabel* panel = StatBarPanels[0];
    // Until the bar is shown and laid out, the panel's width says nothing.
    const int room = panel->contentsRect().width();
    const QString shown = !panel->isVisible() || room <= 0
                              ? clockText_
                              : panel->fontMetrics().elidedText(clockText_, Qt::ElideRight, room);
    panel->setText(shown);
    panel->setToolTip(shown == clockText_ ? QString() : clockText_);
}

bool StatusBarClock::eventFilter(QObject* watched, QEvent* event) {
    if (watched == StatBarPanels[0] && !clockText_.isEmpty() &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        ShowClockText();
    return QObject::eventFilter(watched, event);
}

QString StatusBarClock::GroupedNumber(std::size_t n) {
    QString digits = QString::number(static_cast<qulonglong>(n));
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return digits;
}

void StatusBarClock::ShowCodeSize(std::size_t characters, unsigned limit) {
    CodeSizePanel->setText(QStringLiteral("Code : %1 car.").arg(GroupedNumber(characters)));
    const bool over = limit != 0 && characters > limit;
    QString hint = QStringLiteral("Taille du code HTML");
    if (over) {
        hint = QStringLiteral("La taille du code dépasse de %1 car. la limite fixée à %2 car.")
                   .arg(GroupedNumber(characters - limit), GroupedNumber(limit));
    } else if (limit != 0) {
        hint += QStringLiteral(" (limite : %1 car.)").arg(GroupedNumber(limit));
    }
    CodeSizePanel->setToolTip(hint);
    CodeSizePanel->setAccessibleDescription(hint);
    // The size changes at every key; the colours only when it crosses the limit.
    if (over == CodeSizePanel->property("overLimit").toBool())
        return;
    CodeSizePanel->setProperty("overLimit", over);
    // Over the limit the panel turns red, its text white so that it stays readable.
    CodeSizePanel->setAutoFillBackground(over);
    QPalette palette = StatBar->palette();
    if (over) {
        palette.setColor(QPalette::Window, QColor(192, 0, 0));
        palette.setColor(QPalette::WindowText, Qt::white);
    }
    CodeSizePanel->setPalette(palette);
}

void StatusBarClock::ShowLocalAddress() {
    // With no usable address the panel shows "IP: " alone; the address is not looked up
    // again, so a machine without a network costs nothing at each tick.
    LocalAddress = zk::platform::localIPv4Address().left(15);
    ShownAddress = LocalAddress;
    StatBarPanels[1]->setText(QStringLiteral("IP: ") + LocalAddress);
}

} // namespace zk::ui
