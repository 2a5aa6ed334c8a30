#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the missing Debian packages, then
# configures and builds into build/. Quick when nothing changed.
set -euo pipefail

ZK_PACKAGES=(
    cmake g++ make pkg-config
    libicu-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
    qt6-base-dev qt6-webengine-dev libgl1-mesa-dev libxkbcommon-dev
    xvfb xauth dbus-x11 fonts-dejavu-core
    chromium
)

zk_install_packages() {
    local missing=()
    for p in "${ZK_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"
    fi
}

# zk_build DIR [cmake options...]
zk_build() {
    local dir="$1"
    shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    fi
    cmake --build "$dir" -j"$(nproc)"
}
