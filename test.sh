#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (window tests under Xvfb).
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh
zk_install_packages
zk_build build
cd build
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2 --timeout 300
