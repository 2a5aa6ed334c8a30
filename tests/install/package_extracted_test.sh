#!/usr/bin/env bash
# The Debian package unpacked into a throw-away root, as dpkg would lay it out under /:
# the installed zelkohtml-gen starts from there and prints what the build's prints, the
# executables are stripped and look for no library in the build tree, the delivered Data
# tree is the one of the sources, and the menu entry, metadata, manual pages and
# completion pass the same checks as after `cmake --install`.
# Usage: package_extracted_test.sh OUT_DIR VERSION SOURCE_DIR BUILD_DIR
set -euo pipefail
out=$1
version=$2
source_dir=$(cd "$3" && pwd)
build=$(cd "$4" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
deb="$out/zelkohtml_${version}_$(dpkg --print-architecture).deb"
test -f "$deb" || { echo "no package at $deb"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
dpkg -x "$deb" "$root"
failures=0
fail() {
    echo "$*"
    failures=$((failures + 1))
}

gen="$root/usr/bin/zelkohtml-gen"
first=$("$gen" --version | head -n1)
[ "$first" = "zelkohtml-gen (ZelkoHTML) $version" ] || fail "--version says '$first'"
printf 'Bonjour\n\xe0  tous' >"$work/in.txt"
for args in "--set Bold=1" "--set GradientOn=1 --set Alignment=1 --effect 3" "--code-view"; do
    # shellcheck disable=SC2086
    installed=$("$gen" $args "$work/in.txt")
    # shellcheck disable=SC2086
    built=$("$build/zelkohtml-gen" $args <"$work/in.txt")
    [ -n "$installed" ] && [ "$installed" = "$built" ] ||
        fail "$args: the installed program printed '$installed', the build '$built'"
done
"$gen" --set Bold=oui "$work/in.txt" >"$work/out" 2>"$work/err" && fail "a bad value was accepted"
[ -s "$work/out" ] && fail "output on failure"

for exe in zelkohtml zelkohtml-gen; do
    file -L "$root/usr/bin/$exe" | grep ', stripped' >/dev/null || fail "$exe is not stripped"
    readelf -d "$root/usr/lib/zelkohtml/$exe" | grep -E 'RPATH|RUNPATH' >/dev/null &&
        fail "$exe looks for libraries in $(readelf -d "$root/usr/lib/zelkohtml/$exe" | grep PATH)"
    missing=$(ldd "$root/usr/lib/zelkohtml/$exe" | grep 'not found' || true)
    [ -z "$missing" ] || fail "$exe: $missing"
done
for delivered in Aide/ZelkoHTMLDOC.htm Bin/fetes.txt; do
    cmp -s "$root/usr/lib/zelkohtml/Data/$delivered" "$source_dir/data/Data/$delivered" ||
        fail "Data/$delivered differs from the sources"
done

"$here/desktop_metadata_test.sh" "$root" /usr "$source_dir" || fail "menu entry or metadata"
"$here/manual_pages_test.sh" "$root" /usr || fail "manual pages"
"$here/completion_test.sh" "$root" /usr || fail "completion"
if ((failures)); then
    exit 1
fi
echo "the unpacked package works"
