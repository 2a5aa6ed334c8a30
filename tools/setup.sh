#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the missing Debian packages, then
# configures and builds into build/. Quick when nothing changed.
set -euo pipefail

# What building and running the program need (./run.sh), on X11 and on Wayland.
ZK_PACKAGES=(
    cmake g++ make pkg-config
    libicu-dev qt6-base-dev qt6-webengine-dev libgl1-mesa-dev libxkbcommon-dev
    fonts-dejavu-core qt6-translations-l10n qt6-wayland qt6-svg-dev
)

# What making the Debian package needs besides (tools/build-deb.sh): dpkg-shlibdeps, and
# file, with which CPack finds the executables.
ZK_PACKAGING_PACKAGES=(dpkg-dev file)

# What the tests need besides (./test.sh): the test and benchmark libraries, the X server
# with a window manager and a notification area for the tests of the desktop, the Wayland
# compositor (and its headers, for the seat the tests add to it), the headless browser of
# the capture tests, the checkers of the menu entry, the software centre metadata, the
# manual pages and the shell completion, and the packaging tools.
ZK_TEST_PACKAGES=(
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth dbus-x11 libxcb1-dev openbox trayer
    weston libweston-10-dev
    chromium
    desktop-file-utils appstream man-db groff-base bash-completion
    "${ZK_PACKAGING_PACKAGES[@]}"
)

# What the fuzz targets need besides (tools/run-fuzzers.sh, run by CI): clang and its
# fuzzing runtime.
ZK_FUZZ_PACKAGES=(clang libclang-rt-14-dev)

# zk_install_packages [test|package|fuzz]: the packages of run.sh, with those of test.sh, of
# tools/build-deb.sh or of tools/run-fuzzers.sh.
zk_install_packages() {
    local wanted=("${ZK_PACKAGES[@]}")
    case "${1:-}" in
    test) wanted+=("${ZK_TEST_PACKAGES[@]}") ;;
    package) wanted+=("${ZK_PACKAGING_PACKAGES[@]}") ;;
    fuzz) wanted+=("${ZK_FUZZ_PACKAGES[@]}") ;;
    esac
    # One query for all of them; a package never installed is missing from its answer.
    local installed
    installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${wanted[@]}" 2>/dev/null |
        sed -n 's/ install ok installed$//p' || true)
    local missing=()
    for p in "${wanted[@]}"; do
        grep -qxF "$p" <<<"$installed" || missing+=("$p")
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

# zk_build DIR [cmake options...]: the options apply when DIR is first configured.
zk_build() {
    local dir="$1"
    shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    fi
    cmake --build "$dir" -j"$(nproc)"
}

# zk_enable_tests DIR: a DIR first configured without the tests or benchmarks (by run.sh)
# gets them back.
zk_enable_tests() {
    local dir="$1"
    [ -f "$dir/CMakeCache.txt" ] || return 0
    if grep -qE '^ZK_(TESTS|BENCH):BOOL=(OFF|0|FALSE|NO)$' "$dir/CMakeCache.txt"; then
        cmake -S . -B "$dir" -DZK_TESTS=ON -DZK_BENCH=ON >/dev/null
    fi
}
