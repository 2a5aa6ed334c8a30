#pragma once

#include <QString>

namespace zk::platform {

// The first IPv4 address of this host that is not a loopback address, in dotted form;
// empty when there is none. Never fails.
QString localIPv4Address();

} // namespace zk::platform
