#include "tray.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace zk::platform {

namespace {
constexpr int maxToolTip = 127;
}

TrayIcon::TrayIcon(const QIcon& icon, const QString& tooltip, QMenu* menu, QObject* parent)
    : QObject(parent), icon_(new QSystemTrayIcon(icon, this)) {
    icon_->setToolTip(tooltip.left(maxToolTip));
    if (menu) {
        icon_->setContextMenu(menu);
        connect(menu, &QMenu::aboutToShow, this, &TrayIcon::menuAboutToShow);
    }
    connect(icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    emit doubleClicked();
                else if (reason == QSystemTrayIcon::Trigger)
                    emit clicked();
            });
}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::available() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::show() {
    icon_->show();
}

void TrayIcon::hide() {
    icon_->hide();
}

bool TrayIcon::isVisible() const {
    return icon_->isVisible();
}

QString TrayIcon::toolTip() const {
    return icon_->toolTip();
}

} // namespace zk::platform
