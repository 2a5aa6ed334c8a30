#!/usr/bin/env bash
# Installs what building and testing need, builds, and runs every test (window tests under
# Xvfb).
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh
zk_install_packages test
zk_enable_tests build
zk_build build
cd build
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2 --timeout 300
