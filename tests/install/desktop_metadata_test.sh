#!/usr/bin/env bash
# The menu entry and the software-centre metadata as installed: both pass their
# validators, the metadata launches the installed menu entry, whose icon is installed,
# and the screenshot it describes is the one kept in the tree, at the size it states.
# Usage: desktop_metadata_test.sh ROOT PREFIX SOURCE_DIR
set -euo pipefail
share="$1$2/share"
source_dir=$3
fail() {
    echo "$*"
    exit 1
}

desktop="$share/applications/zelkohtml.desktop"
metainfo="$share/metainfo/fr.free.zelkohtml.metainfo.xml"
test -f "$desktop" || fail "no menu entry at $desktop"
test -f "$metainfo" || fail "no metadata at $metainfo"
desktop-file-validate "$desktop" || fail "desktop-file-validate refused $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refused $metainfo"

# The metadata names what is installed.
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ "$launchable" = zelkohtml.desktop ] || fail "launchable '$launchable'"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 32x32/apps/$icon.png scalable/apps/$icon.svg; do
    test -f "$share/icons/hicolor/$size" || fail "no icon $size"
done
grep -q "<icon type=\"stock\">$icon</icon>" "$metainfo" || fail "the metadata names another icon"
[ "$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")" = zelkohtml ] || fail "Exec is not zelkohtml"
test -x "$1$2/bin/zelkohtml" || fail "no $2/bin/zelkohtml"

# French and English texts where a software centre shows them.
for element in summary caption; do
    grep -q "<$element>" "$metainfo" || fail "no English $element"
    grep -q "<$element xml:lang=\"fr\">" "$metainfo" || fail "no French $element"
done
grep -q '<p xml:lang="fr">' "$metainfo" || fail "no French description"
grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "no content rating"

# The screenshot: the image kept in the tree, with the size the metadata gives.
png="$source_dir/data/screenshots/zelkohtml.png"
test -f "$png" || fail "no screenshot at $png"
size=$(file -b "$png" | grep -oE '[0-9]+ x [0-9]+')
stated=$(sed -n 's/.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">.*/\1 x \2/p' "$metainfo")
[ "$size" = "$stated" ] || fail "the screenshot is $size, the metadata says '$stated'"
echo "menu entry and metadata are valid"
