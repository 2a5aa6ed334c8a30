#!/usr/bin/env bash
# Installs what is missing, builds, and starts ZelkoHTML.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh
zk_install_packages
zk_build build
exec ./build/zelkohtml "$@"
