#!/usr/bin/env bash
# Builds the Debian package of ZelkoHTML from this tree:
#
#   tools/build-deb.sh      ->  build-deb/zelkohtml_VERSION_ARCH.deb
#
# Installs what building needs, builds an optimised copy without the tests in build-deb/,
# and lets CPack make the package from the install rules (cmake/Package.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh
zk_install_packages package
zk_build build-deb -DCMAKE_BUILD_TYPE=Release -DZK_TESTS=OFF -DZK_BENCH=OFF
cpack --config build-deb/CPackConfig.cmake -B build-deb >/dev/null
ls build-deb/zelkohtml_*.deb
