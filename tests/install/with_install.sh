#!/usr/bin/env bash
# Installs the build as `cmake --install` does for a user (prefix /usr/local) into a
# throw-away root, then runs one check on the installed tree.
# Usage: with_install.sh BUILD_DIR CHECK_SCRIPT [ARGS...]  (the check gets ROOT PREFIX ARGS)
set -euo pipefail
build=$(cd "$1" && pwd)
check=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
DESTDIR="$work/root" cmake --install "$build" --prefix /usr/local >/dev/null
"$(dirname "$0")/$check" "$work/root" /usr/local "$@"
