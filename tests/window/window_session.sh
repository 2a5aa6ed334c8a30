#!/usr/bin/env bash
# Runs one window test in an X server of its own, or in a Wayland compositor of its own:
#   window_session.sh [--desktop WAITER | --wayland WAITER SEAT_MODULE] -- TEST [ARGS...]
# The X server picks a free display number itself and says which once it accepts clients,
# so runs side by side (other test runs included) never race for a number. With --desktop
# the test gets a desktop as users have one: the openbox window manager, then the trayer
# notification area; WAITER (the session_wait helper) says when each is really up, so
# nothing here sleeps hoping it is.
# With --wayland there is no X server: the test runs under weston with its headless back
# end, in a runtime folder of its own, with the seat (keyboard and pointer) that
# SEAT_MODULE (the weston_seat module) adds; weston tells WAITER once its socket takes
# clients and its shell is loaded. The test sees QT_QPA_PLATFORM=wayland and
# WAYLAND_DISPLAY, and no DISPLAY.
# Everything started here is ended when the test ends, and the test's exit status is
# returned.
set -euo pipefail

mode=x11
waiter=""
seat=""
while (($#)); do
    case "$1" in
    --desktop) mode=desktop; waiter="$2"; shift 2 ;;
    --wayland) mode=wayland; waiter="$2"; seat="$3"; shift 3 ;;
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

start_x_server() {
    # One cookie for any display number (an entry of the "wild" family without a number),
    # as the number is known only once the server runs.
    local cookie number=""
    cookie="$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')"
    {
        printf '\377\377\000\000\000\000\000\022MIT-MAGIC-COOKIE-1\000\020'
        printf "$(sed 's/../\\x&/g' <<<"$cookie")"
    } >"$dir/auth"

    mkfifo "$dir/display"
    Xvfb -displayfd 3 -auth "$dir/auth" -nolisten tcp -screen 0 1280x1024x24 \
        3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    pids+=($!)
    read -r number <"$dir/display" || true
    if [ -z "$number" ]; then
        cat "$dir/xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=":$number" XAUTHORITY="$dir/auth"
}

start_desktop() {
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
}

start_wayland() {
    local runtime="$dir/runtime" ready
    mkdir -m 700 "$runtime"
    # A configuration of its own: no panel, no on-screen keyboard, never idle.
    printf '%s\n' '[core]' 'idle-time=0' '[shell]' 'panel-position=none' 'locking=false' \
        '[input-method]' 'path=' >"$dir/weston.ini"
    # The waiter listens before weston starts, so that the message cannot be missed.
    mkfifo "$dir/listening"
    "$waiter" --ready-socket "$dir/notify" >"$dir/listening" &
    ready=$!
    read -r _ <"$dir/listening" || true
    env -u DISPLAY XDG_RUNTIME_DIR="$runtime" NOTIFY_SOCKET="$dir/notify" \
        weston --backend=headless-backend.so --config="$dir/weston.ini" --socket=wayland-zk \
        --width=1280 --height=1024 --modules="systemd-notify.so,$seat" \
        --log="$dir/weston.log" >"$dir/weston.out" 2>&1 &
    pids+=($!)
    if ! wait "$ready"; then
        cat "$dir/weston.log" "$dir/weston.out" >&2 || true
        exit 1
    fi
    unset DISPLAY XAUTHORITY
    # An absolute socket path: the test may give itself another runtime folder.
    export XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$runtime/wayland-zk" \
        QT_QPA_PLATFORM=wayland
}

case "$mode" in
x11) start_x_server ;;
desktop) start_x_server; start_desktop ;;
wayland) start_wayland ;;
esac

status=0
"$@" || status=$?
exit "$status"
