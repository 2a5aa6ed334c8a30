#!/usr/bin/env bash
# The Debian package, made by CPack from the build as tools/build-deb.sh makes it: its
# file list, its control fields, Depends computed from the executables and satisfied by
# this machine, and one licence stated alike everywhere. Leaves the package in OUT_DIR for
# the tests that unpack it.
# Usage: package_test.sh BUILD_DIR OUT_DIR VERSION SOURCE_DIR
set -euo pipefail
export LC_ALL=C.UTF-8
build=$(cd "$1" && pwd)
out=$2
version=$3
source_dir=$4
failures=0
fail() {
    echo "$*"
    failures=$((failures + 1))
}

rm -rf "$out"
mkdir -p "$out"
if ! cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi
arch=$(dpkg --print-architecture)
deb="$out/zelkohtml_${version}_${arch}.deb"
test -f "$deb" || { echo "no $deb"; ls "$out"; exit 1; }

# --- Files: exactly these, owned by root, executables alone executable. -------------------
expected="lrwxrwxrwx root/root ./usr/bin/zelkohtml -> ../lib/zelkohtml/zelkohtml
lrwxrwxrwx root/root ./usr/bin/zelkohtml-gen -> ../lib/zelkohtml/zelkohtml-gen
-rw-r--r-- root/root ./usr/lib/zelkohtml/Data/Aide/ZelkoHTMLDOC.htm
-rw-r--r-- root/root ./usr/lib/zelkohtml/Data/Bin/fetes.txt
-rwxr-xr-x root/root ./usr/lib/zelkohtml/zelkohtml
-rwxr-xr-x root/root ./usr/lib/zelkohtml/zelkohtml-gen
-rw-r--r-- root/root ./usr/share/applications/zelkohtml.desktop
-rw-r--r-- root/root ./usr/share/bash-completion/completions/zelkohtml-gen
-rw-r--r-- root/root ./usr/share/doc/zelkohtml/copyright
-rw-r--r-- root/root ./usr/share/icons/hicolor/32x32/apps/zelkohtml.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/zelkohtml.svg
-rw-r--r-- root/root ./usr/share/man/fr/man1/zelkohtml-gen.1.gz
-rw-r--r-- root/root ./usr/share/man/fr/man1/zelkohtml.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/zelkohtml-gen.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/zelkohtml.1.gz
-rw-r--r-- root/root ./usr/share/metainfo/fr.free.zelkohtml.metainfo.xml"
listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 !~ /^d/ { line = $1 " " $2; for (i = 6; i <= NF; i++) line = line " " $i; print line }' \
    <<<"$listing" | LC_ALL=C sort)
if [ "$files" != "$(LC_ALL=C sort <<<"$expected")" ]; then
    fail "the package holds other files:"
    diff <(LC_ALL=C sort <<<"$expected") <(echo "$files") || true
fi
bad_dirs=$(awk '$1 ~ /^d/ && ($1 != "drwxr-xr-x" || $2 != "root/root")' <<<"$listing")
[ -z "$bad_dirs" ] || fail "folders with other modes or owners: $bad_dirs"
# grep reads the whole listing: with pipefail, an early exit of grep -q would fail tar.
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -x './md5sums' >/dev/null || fail "no md5sums"

# --- Control fields. ------------------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zelkohtml ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Maintainer)" = "Quorvane <zelkohtml@free.fr>" ] || fail "Maintainer: $(field Maintainer)"
[ "$(field Section)" = web ] || fail "Section: $(field Section)"
[ "$(field Priority)" = optional ] || fail "Priority: $(field Priority)"
[ "$(field Homepage)" = "http://zelkohtml.free.fr" ] || fail "Homepage: $(field Homepage)"
[[ $(field Installed-Size) =~ ^[1-9][0-9]*$ ]] || fail "Installed-Size: $(field Installed-Size)"
grep -q xdg-utils <<<"$(field Recommends)" || fail "Recommends: $(field Recommends)"
grep -q qt6-wayland <<<"$(field Recommends)" || fail "Recommends: $(field Recommends)"

# Depends: what dpkg-shlibdeps found in the executables, each with the version it needs,
# and the window-system plug-ins it cannot see.
depends=$(field Depends)
for library in libc6 'libstdc\+\+6' libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 \
    libqt6webenginecore6 libqt6webenginewidgets6 libqt6svg6 'libicu[0-9]+'; do
    grep -qE "(^|, )$library \(>= [^)]+\)(,|$)" <<<"$depends" ||
        fail "Depends lacks a versioned $library: $depends"
done
grep -qE '(^|, )qt6-qpa-plugins(,|$)' <<<"$depends" || fail "Depends lacks qt6-qpa-plugins"
grep -qE -- '-dev( |,|$)' <<<"$depends" && fail "Depends names a development package: $depends"
# This machine built the package, so it has everything the package depends on.
IFS=',' read -ra groups <<<"$depends"
for group in "${groups[@]}"; do
    satisfied=0
    IFS='|' read -ra alternatives <<<"$group"
    for alternative in "${alternatives[@]}"; do
        read -r name relation wanted <<<"$(sed 's/[()]//g' <<<"$alternative")"
        installed=$(dpkg-query -W -f='${Status} ${Version}' "$name" 2>/dev/null |
            sed -n 's/^install ok installed //p')
        [ -n "$installed" ] || continue
        if [ -z "${relation:-}" ] || dpkg --compare-versions "$installed" "$relation" "$wanted"; then
            satisfied=1
        fi
    done
    ((satisfied)) || fail "not satisfied here: $group"
done

# Description: an English synopsis, then an English paragraph and a French one.
description=$(field Description)
synopsis=$(head -n1 <<<"$description")
[ "$synopsis" = "format short messages in HTML with gradients, waves and marquees" ] ||
    fail "synopsis: $synopsis"
grep -q "^ ZelkoHTML turns a short text into an HTML fragment" <<<"$description" ||
    fail "no English description"
grep -q "^ ZelkoHTML transforme un petit texte en un fragment de code HTML" <<<"$description" ||
    fail "no French description"
grep -qx ' \.' <<<"$description" || fail "the two paragraphs are not separated"
grep -q '&' <<<"$description" && fail "escaped characters in the description"
while IFS= read -r line; do
    # Characters, not bytes.
    ((${#line} <= 80)) || fail "description line over 80 columns: $line"
done < <(tail -n +2 <<<"$description")

# --- One licence: MIT, called Expat by Debian's copyright format. --------------------------
copyright=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/zelkohtml/copyright)
[ "$copyright" = "$(cat "$source_dir/data/debian/copyright")" ] || fail "another copyright file"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    <<<"$copyright" || fail "the copyright file is not machine-readable"
grep -qx 'License: Expat' <<<"$copyright" || fail "the copyright file names another licence"
holder=$(sed -n 's/^Copyright: //p' <<<"$copyright")
head -n1 "$source_dir/LICENSE" | grep -qx 'MIT License' || fail "LICENSE is not the MIT licence"
grep -qF "Copyright (c) $holder" "$source_dir/LICENSE" || fail "LICENSE names another holder"
metainfo=$(dpkg-deb --fsys-tarfile "$deb" |
    tar -xO ./usr/share/metainfo/fr.free.zelkohtml.metainfo.xml)
grep -q '<project_license>MIT</project_license>' <<<"$metainfo" || fail "metadata: another licence"
release=$(grep -o '<release version="[^"]*"' <<<"$metainfo" | head -n1 | cut -d'"' -f2)
[ "$release" = "$version" ] || fail "the metadata's newest release is $release, not $version"

if ((failures)); then
    exit 1
fi
echo "package $deb: $(stat -c %s "$deb") bytes, Installed-Size $(field Installed-Size) KiB"
