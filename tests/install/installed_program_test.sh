#!/usr/bin/env bash
# The installed program, started from its menu entry by a fresh user who cannot write to
# the installed folder, finds its help page: F1 hands the browser the help page of the
# user's own Data tree, copied there from the delivered one. The program is the build
# installed with `cmake --install`, or the Debian package in DEB_DIR unpacked.
# Usage: installed_program_test.sh BUILD_DIR | --deb DEB_DIR
set -euo pipefail
work=$(mktemp -d)
session=""
cleanup() {
    # The program and everything it started run in a session of their own.
    [ -n "$session" ] && kill -TERM -- "-$session" 2>/dev/null
    sleep 0.5
    [ -n "$session" ] && kill -KILL -- "-$session" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"

if [ "$1" = --deb ]; then
    debs=("$2"/zelkohtml_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "not one package in $2"; exit 1; }
    dpkg -x "${debs[0]}" "$work"
else
    cmake --install "$1" --prefix "$work/usr" >/dev/null
fi
desktop="$work/usr/share/applications/zelkohtml.desktop"
test -f "$desktop" || { echo "no menu entry"; exit 1; }
test -f "$work/usr/share/icons/hicolor/32x32/apps/zelkohtml.png" || { echo "no icon"; exit 1; }
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
program=${exec_line%% *}
command -v desktop-file-validate >/dev/null && desktop-file-validate "$desktop"

# A fresh account: an empty home, the browser replaced by a script that records its
# argument.
home="$work/home"
mkdir -p "$home" "$work/bin"
cat > "$work/bin/browser" <<SCRIPT
#!/bin/sh
printf '%s' "\$1" > "$home/launched"
SCRIPT
chmod 755 "$work/bin/browser"
chown -R nobody:nogroup "$home"

# The X server of the window tests' runner, which picks a free display number itself; a
# copy the user can read.
install -m 755 "$(dirname "$0")/../window/window_session.sh" "$work/window_session.sh"
cat > "$work/start" <<SCRIPT
#!/bin/sh
exec runuser -u nobody -- env -i HOME="$home" PATH="$work/usr/bin:/usr/bin:/bin" \\
    BROWSER="$work/bin/browser" QTWEBENGINE_DISABLE_SANDBOX=1 \\
    DBUS_SESSION_BUS_ADDRESS=disabled: ZELKOHTML_TEST_DIALOGS=auto-accept ZELKOHTML_TEST_KEY=F1 \\
    "$work/window_session.sh" -- $program
SCRIPT
chmod 755 "$work/start"
setsid "$work/start" >"$work/log" 2>&1 &
session=$!
for _ in $(seq 1 300); do
    [ -s "$home/launched" ] && break
    sleep 0.1
done
launched=$(cat "$home/launched" 2>/dev/null || true)
expected="$home/.local/share/zelkohtml/Data/Aide/ZelkoHTMLDOC.htm"
if [ "$launched" != "$expected" ]; then
    echo "browser got '$launched', expected '$expected'"
    cat "$work/log"
    exit 1
fi
cmp "$expected" "$work/usr/lib/zelkohtml/Data/Aide/ZelkoHTMLDOC.htm"
echo "installed program found its help page"
