#!/usr/bin/env bash
# How fast the live preview follows the typing, measured in the real window under Xvfb:
# for texts of 1,000, 8,000 and 64,000 characters with the gradient and the waves on, the
# median and worst time from a key press reaching the editor to the new fragment being in
# the page's DOM (200 keys each), and the longest the window's thread is kept busy at once;
# then a soak of live updates with the PSS of the program and its browser processes before
# and after.
#
#   tools/measure-live.sh [BUILD_DIR]     (default build; KEYS=200 SOAK=10000 SOAK_CHARS=8000)
#
# The figures depend on the machine and on what else runs on it: quote them with both.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(readlink -f "${1:-$root/build}")
tool="$build/zk_live_typing"
[ -x "$tool" ] || { echo "no $tool (build with the benchmarks and the window)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/config" "$work/runtime" "$work/tmp"
chmod 700 "$work/runtime"
cp -r "$build/Data" "$work/app/Data"

echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
env XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp" \
    "$root/tests/window/window_session.sh" -- \
    "$tool" "$work/app/" "${KEYS:-200}" "${SOAK:-10000}" "${SOAK_CHARS:-8000}"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
