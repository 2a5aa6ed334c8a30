#!/usr/bin/env bash
# The manual pages as installed, in English and French: man renders each without a
# warning, man-db's index reads its name line, the pages of zelkohtml-gen describe every
# option of its --help, and every page carries the installed version and names the
# installed folder of the program.
# Usage: manual_pages_test.sh ROOT PREFIX
set -euo pipefail
root=$1
prefix=$2
man_dir="$root$prefix/share/man"
program="$root$prefix/bin/zelkohtml-gen"
failures=0
fail() {
    echo "$*"
    failures=$((failures + 1))
}

version=$("$program" --version | sed -n '1s/^zelkohtml-gen (ZelkoHTML) //p')
[ -n "$version" ] || fail "no version from $program"
options=$("$program" --help | grep -oE '^  (-h, )?--[a-z-]+' | sed 's/^  //; s/-h, //')

for page in man1/zelkohtml man1/zelkohtml-gen fr/man1/zelkohtml fr/man1/zelkohtml-gen; do
    file="$man_dir/$page.1.gz"
    if [ ! -f "$file" ]; then
        fail "no manual page $page.1.gz"
        continue
    fi
    # The text a reader sees, 80 columns wide, and what man said on the side.
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>"$root/warnings")
    [ -s "$root/warnings" ] && fail "$page: man warns: $(cat "$root/warnings")"
    rm -f "$root/warnings"
    lexgrog "$file" >/dev/null || fail "$page: man-db cannot read its name line"
    name=${page##*/}
    case $page in
        fr/*) heading=NOM ;;
        *) heading=NAME ;;
    esac
    grep -qx "$heading" <<<"$text" || fail "$page: no $heading section"
    grep -qE "^ +$name +- " <<<"$text" || fail "$page: no '$name - ' line"
    grep -q "ZelkoHTML $version" <<<"$text" || fail "$page: not the version $version"
    grep -q "MIT" <<<"$text" || fail "$page: no licence"
    if [ "$name" = zelkohtml-gen ]; then
        for option in $options; do
            grep -qE -- "(^|[ ,])$option( |,|$)" <<<"$text" || fail "$page: $option is not described"
        done
    else
        grep -q "$prefix/lib/zelkohtml/Data/" <<<"$text" || fail "$page: not the installed folder"
        test -d "$root$prefix/lib/zelkohtml/Data" || fail "no $prefix/lib/zelkohtml/Data"
    fi
done
if ((failures)); then
    exit 1
fi
echo "the manual pages render without a warning"
