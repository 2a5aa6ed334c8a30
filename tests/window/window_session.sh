#!/usr/bin/env bash
# Runs one window test in an X server of its own:
#   window_session.sh [--desktop WAITER] -- TEST [ARGS...]
# The X server picks a free display number itself and says which once it accepts clients,
# so runs side by side (other test runs included) never race for a number. With --desktop
# the test gets a desktop as users have one: the openbox window manager, then the trayer
# notification area; WAITER (the session_wait helper) says when each is really up, so
# nothing here sleeps hoping it is. Everything started here is ended when the test ends,
# and the test's exit status is returned.
set -euo pipefail

waiter=""
while (($#)); do
    case "$1" in
    --desktop) waiter="$2"; shift 2 ;;
    --) shift; break ;;
    *) echo "window_session.sh: unknown option $1" >&2; exit 2 ;;
    esac
done

dir="$(mktemp -d)"
pids=()
stop() {
    local p
    for p in "${pids[@]}"; do
        kill "$p" 2>/dev/null || true
    done
    for p in "${pids[@]}"; do
        wait "$p" 2>/dev/null || true
    done
    pids=()
    rm -rf "$dir"
}
trap stop EXIT

# One cookie for any display number (an entry of the "wild" family without a number), as
# the number is known only once the server runs.
cookie="$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')"
{
    printf '\377\377\000\000\000\000\000\022MIT-MAGIC-COOKIE-1\000\020'
    printf "$(sed 's/../\\x&/g' <<<"$cookie")"
} >"$dir/auth"

mkfifo "$dir/display"
Xvfb -displayfd 3 -auth "$dir/auth" -nolisten tcp -screen 0 1280x1024x24 \
    3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
pids+=($!)
number=""
read -r number <"$dir/display" || true
if [ -z "$number" ]; then
    cat "$dir/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$number" XAUTHORITY="$dir/auth"

if [ -n "$waiter" ]; then
    # A configuration of its own, so that the user's openbox settings play no part.
    cp /etc/xdg/openbox/rc.xml "$dir/rc.xml"
    openbox --sm-disable --config-file "$dir/rc.xml" >"$dir/openbox.log" 2>&1 &
    pids+=($!)
    if ! "$waiter" --wm; then
        cat "$dir/openbox.log" >&2
        exit 1
    fi
    trayer --edge bottom --align right --SetDockType true --SetPartialStrut true \
        --widthtype request --height 24 --transparent false >"$dir/trayer.log" 2>&1 &
    pids+=($!)
    if ! "$waiter" --wm --tray; then
        cat "$dir/trayer.log" >&2
        exit 1
    fi
fi

status=0
"$@" || status=$?
exit "$status"
