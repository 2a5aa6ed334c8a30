#!/usr/bin/env bash
# Start time and memory of ZelkoHTML, measured as a user would meet them.
#
#   tools/measure.sh [--wayland] [EXECUTABLE]
#                              (default build/zelkohtml; MEASURE_RUNS=N, default 3)
#
# Each run copies the executable and its Data tree into a temporary folder and starts it
# in an X server of its own (Xvfb), or with --wayland under a Wayland compositor of its own
# (weston, headless), through the window tests' runner; the Wayland session needs the
# test helpers of the build (build/tests/session_wait and weston_seat.so: build with the
# tests, as ./test.sh does). The window's trace hooks (ZELKOHTML_TRACE, ZELKOHTML_TEST_PREVIEW: once
# shown, the window types a text in the editor and receives F12, the preview key).
#   start: milliseconds from the launch of the process to the first paint of its window;
#   PSS:   proportional set size of the program and every process it started (the browser
#          engine's helpers), summed from /proc/PID/smaps_rollup 3 s after the preview
#          page has loaded.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
session=("$root/tests/window/window_session.sh")
wayland=0
if [ "${1:-}" = --wayland ]; then
    wayland=1
    shift
fi
exe=$(readlink -f "${1:-$root/build/zelkohtml}")
runs=${MEASURE_RUNS:-3}
[ -x "$exe" ] || { echo "no executable at $exe (build first)" >&2; exit 1; }
if ((wayland)); then
    helpers="$(dirname "$exe")/tests"
    for helper in session_wait weston_seat.so; do
        [ -f "$helpers/$helper" ] || { echo "no $helpers/$helper (build the tests)" >&2; exit 1; }
    done
    session+=(--wayland "$helpers/session_wait" "$helpers/weston_seat.so")
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/one-run.sh" <<'INNER'
#!/usr/bin/env bash
# One measured start inside the session the runner made: prints "START_MS PSS_KB".
set -euo pipefail
dir=$1
cd "$dir"
descendants() {
    local p=$1 c
    echo "$p"
    for c in $(ps -o pid= --ppid "$p" 2>/dev/null); do descendants "$c"; done
}
: >"$dir/trace.log"
launch=$(date +%s%3N)
./zelkohtml 2>"$dir/trace.log" &
pid=$!
for _ in $(seq 600); do
    grep -q '^zelkohtml: preview' "$dir/trace.log" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
shown=$(sed -n 's/^zelkohtml: shown \([0-9]*\)$/\1/p' "$dir/trace.log" | head -n1)
if [ -z "$shown" ] || ! grep -q '^zelkohtml: preview' "$dir/trace.log"; then
    echo "the window did not show a preview; trace:" >&2
    cat "$dir/trace.log" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
fi
sleep 3
total=0
for p in $(descendants "$pid"); do
    kb=$(awk '/^Pss:/ {print $2}' "/proc/$p/smaps_rollup" 2>/dev/null || echo 0)
    total=$((total + ${kb:-0}))
    printf '  %-8s %8s kB  %s\n' "$p" "${kb:-0}" "$(tr '\0' ' ' <"/proc/$p/cmdline" 2>/dev/null | cut -c1-70)" >&2
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "$((shown - launch)) $total"
INNER
chmod +x "$work/one-run.sh"

results=()
for i in $(seq "$runs"); do
    dir="$work/run$i"
    mkdir -p "$dir/config" "$dir/tmp"
    cp "$exe" "$dir/zelkohtml"
    cp -r "$(dirname "$exe")/Data" "$dir/Data"
    echo "run $i:" >&2
    line=$(env TMPDIR="$dir/tmp" XDG_CONFIG_HOME="$dir/config" ZELKOHTML_TRACE=1 \
        ZELKOHTML_TEST_PREVIEW="Bonjour tout le monde" \
        "${session[@]}" -- "$work/one-run.sh" "$dir")
    results+=("$line")
    read -r ms kb <<<"$line"
    echo "  start to shown window: ${ms} ms; PSS with the preview shown: $((kb / 1024)) MB" >&2
done

mid=$(((runs + 1) / 2))
ms=$(printf '%s\n' "${results[@]}" | awk '{print $1}' | sort -n | sed -n "${mid}p")
kb=$(printf '%s\n' "${results[@]}" | awk '{print $2}' | sort -n | sed -n "${mid}p")
((wayland)) && echo "under Wayland (weston, headless):" || echo "under X11 (Xvfb):"
echo "median start to shown window: ${ms} ms"
echo "median PSS with the preview shown: $((kb / 1024)) MB ($kb kB)"
