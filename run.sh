#!/usr/bin/env bash
# Installs what building and running need, builds, and starts ZelkoHTML.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh
zk_install_packages
# Without the tests and benchmarks, which need libraries of their own; ./test.sh adds them.
zk_build build -DZK_TESTS=OFF -DZK_BENCH=OFF
exec ./build/zelkohtml "$@"
