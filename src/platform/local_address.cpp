#include "local_address.h"

#include <QHostAddress>
#include <QNetworkInterface>

namespace zk::platform {

QString localIPv4Address() {
    // Interfaces come in the system's order; the first usable IPv4 address wins.
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& iface : interfaces) {
        const auto flags = iface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : iface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
                return address.toString();
        }
    }
    return QString();
}

} // namespace zk::platform
