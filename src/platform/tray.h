#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;

namespace zk::platform {

// The icon in the notification area with its menu.
class TrayIcon final : public QObject {
    Q_OBJECT
public:
    // tooltip is cut to 127 characters. menu is not owned and may be null.
    TrayIcon(const QIcon& icon, const QString& tooltip, QMenu* menu, QObject* parent = nullptr);
    ~TrayIcon() override;

    // Whether the desktop has a notification area at all.
    bool available() const;

    void show();
    void hide();
    bool isVisible() const;

    QString toolTip() const;

signals:
    // A left double-click on the icon.
    void doubleClicked();
    // A single left click. Desktops that speak the StatusNotifier protocol may report a
    // double-click as clicks only.
    void clicked();
    // The menu is about to open: the window updates its items.
    void menuAboutToShow();

private:
    QSystemTrayIcon* icon_ = nullptr;
};

} // namespace zk::platform
