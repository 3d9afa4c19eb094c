#!/bin/sh
# Runs a window test program on a private X server (Xvfb) under openbox, a
# window manager that honours a program's moves, as a user's desktop would.
# Usage: x11-window-test.sh PROGRAM [ARGUMENT...]
set -eu
for tool in xvfb-run openbox xprop; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "x11-window-test: $tool is missing (scripts/setup.sh installs it)" >&2
        exit 1
    fi
done
# Under the leak checker: what the D-Bus library keeps for the process is not a leak of ours.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan-x11.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
exec xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96" sh -c '
    openbox >/dev/null 2>&1 &
    wm=$!
    # The tests need the window manager in charge before their first window:
    # it is once it names its check window on the root window (at most 20 s on
    # a loaded machine; a fixed pause was sometimes too short).
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
        tries=$((tries + 1))
        [ "$tries" -lt 200 ] || break
        sleep 0.1
    done
    "$@"
    status=$?
    kill $wm 2>/dev/null || true
    exit $status' x11-window-test "$@"
