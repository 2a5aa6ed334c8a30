#!/usr/bin/env bash
# Installs what building and testing need, builds, and runs every test (window tests each in
# an X server of their own, the ones that need it with a window manager and a notification
# area).
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh
zk_install_packages test
zk_enable_tests build
zk_build build
cd build
../tests/window/window_session.sh -- ctest --output-on-failure -j2 --timeout 300
