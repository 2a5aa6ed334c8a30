#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

#include "platform_tests.h"
#include "tray.h"

using namespace zk::platform;

class TrayTest final : public QObject {
    Q_OBJECT

private slots:
    void toolTipIsCutTo127Characters() {
        const QString longTip = QString(200, QLatin1Char('z'));
        TrayIcon tray(QIcon(), longTip, nullptr);
        QCOMPARE(tray.toolTip(), longTip.left(127));
        TrayIcon named(QIcon(), QStringLiteral("ZelkoHTML"), nullptr);
        QCOMPARE(named.toolTip(), QStringLiteral("ZelkoHTML"));
    }

    void availabilityIsTheDesktops() {
        TrayIcon tray(QIcon(), QStringLiteral("ZelkoHTML"), nullptr);
        QCOMPARE(tray.available(), QSystemTrayIcon::isSystemTrayAvailable());
    }

    void menuOpeningIsReported() {
        QMenu menu;
        menu.addAction(QStringLiteral("&Afficher"));
        TrayIcon tray(QIcon(), QStringLiteral("ZelkoHTML"), &menu);
        QSignalSpy opening(&tray, &TrayIcon::menuAboutToShow);
        menu.popup(QPoint(10, 10));
        QCOMPARE(opening.count(), 1);
        menu.hide();
    }

    void showAndHide() {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::red);
        TrayIcon tray(QIcon(pixmap), QStringLiteral("ZelkoHTML"), nullptr);
        QVERIFY(!tray.isVisible());
        tray.show();
        QVERIFY(tray.isVisible());
        tray.hide();
        QVERIFY(!tray.isVisible());
    }
};

int runTrayTests(int argc, char** argv) {
    TrayTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tray_test.moc"
