#include <QHostAddress>
#include <QNetworkInterface>
#include <QTest>

#include "local_address.h"
#include "platform_tests.h"

using namespace zk::platform;

class LocalAddressTest final : public QObject {
    Q_OBJECT

private slots:
    // Empty, or one of this host's own IPv4 addresses that is not a loopback one.
    void neverLoopback() {
        const QString address = localIPv4Address();
        if (address.isEmpty())
            return;
        const QHostAddress host(address);
        QCOMPARE(host.protocol(), QAbstractSocket::IPv4Protocol);
        QVERIFY(!host.isLoopback());
        QVERIFY(QNetworkInterface::allAddresses().contains(host));
    }

    // When the host has such an address, one is found.
    void foundWhenPresent() {
        bool present = false;
        for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
            if (!iface.flags().testFlag(QNetworkInterface::IsUp))
                continue;
            for (const QNetworkAddressEntry& entry : iface.addressEntries())
                present = present || (entry.ip().protocol() == QAbstractSocket::IPv4Protocol &&
                                      !entry.ip().isLoopback());
        }
        QCOMPARE(!localIPv4Address().isEmpty(), present);
    }
};

int runLocalAddressTests(int argc, char** argv) {
    LocalAddressTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "local_address_test.moc"
