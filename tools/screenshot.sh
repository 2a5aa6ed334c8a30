#!/usr/bin/env bash
# The screenshot of the software-centre metadata, taken from the real window under Xvfb:
#
#   tools/screenshot.sh [EXECUTABLE]      (default build/zelkohtml)
#
# writes data/screenshots/zelkohtml.png and prints its size for the <image> element of
# data/fr.free.zelkohtml.metainfo.xml. The window starts in a temporary folder with bold
# centred text and the gradient on, types a text and shows its preview (the window's
# ZELKOHTML_TEST_PREVIEW hook). Needs xvfb-run and netpbm (apt-get install netpbm).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(readlink -f "${1:-$root/build/zelkohtml}")
out="$root/data/screenshots/zelkohtml.png"
[ -x "$exe" ] || { echo "no executable at $exe (build first)" >&2; exit 1; }
for tool in xvfb-run xwdtopnm pnmcrop pnmtopng; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (xvfb, netpbm)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app/Data/Bin" "$work/fb"
cp "$exe" "$work/app/zelkohtml"
cp -r "$(dirname "$exe")/Data/Aide" "$(dirname "$exe")/Data/Bin" "$work/app/Data/" 2>/dev/null ||
    cp -r "$root/data/Data/." "$work/app/Data/"
# The 59 lines of the settings file, in their fixed order: the defaults, except the window
# at the top left of the screen, size index 2, bold, centred, and the red to yellow
# gradient.
printf '%s\r\n' \
    "" 0 0 20 2 1 0 0 0 1 0 1 1 0 0 0 1 0 0 0 0 0 1 0 255 65535 0 0 0 1 1 \
    "" 0 "" "" "" 0 6 0 0 0 1 \
    255 65535 16711680 16776960 32768 65280 33023 16711808 65535 16711935 0 16777215 \
    14711166 16777215 128 255 0 >"$work/app/Data/Bin/ZelkoHTML.ini"
[ "$(wc -l <"$work/app/Data/Bin/ZelkoHTML.ini")" -eq 59 ]

cat >"$work/shoot.sh" <<'INNER'
#!/usr/bin/env bash
# Inside the X server: start the window, wait for its preview, let the page paint, stop it.
set -euo pipefail
work=$1
cd "$work/app"
ZELKOHTML_TRACE=1 ZELKOHTML_TEST_DIALOGS=auto-accept \
    ZELKOHTML_TEST_PREVIEW=$'Bonjour à tous !\nZelkoHTML met vos messages en couleurs.' \
    ./zelkohtml 2>"$work/trace.log" &
pid=$!
for _ in $(seq 600); do
    grep -q '^zelkohtml: preview' "$work/trace.log" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
grep -q '^zelkohtml: preview' "$work/trace.log" || { cat "$work/trace.log" >&2; exit 1; }
sleep 2
cp "$work/fb/Xvfb_screen0" "$work/screen.xwd"
kill "$pid"
wait "$pid" 2>/dev/null || true
INNER
chmod 755 "$work/shoot.sh"
env -u WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS=disabled: HOME="$work" \
    xvfb-run -a -s "-screen 0 1280x1024x24 -fbdir $work/fb -br" "$work/shoot.sh" "$work"

# The window sits at the top left of a black screen: cropping the black away leaves it.
xwdtopnm "$work/screen.xwd" 2>/dev/null | pnmcrop -black -right -bottom | pnmtopng -compression 9 >"$out"
size=$(file -b "$out" | grep -oE '[0-9]+ x [0-9]+')
echo "wrote $out ($size)"
