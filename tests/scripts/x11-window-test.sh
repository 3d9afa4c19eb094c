#!/bin/sh
# Runs a window test program on a private X server (Xvfb) under openbox, a
# window manager that honours a program's moves, as a user's desktop would.
# Usage: x11-window-test.sh PROGRAM [ARGUMENT...]
set -eu
for tool in xvfb-run openbox; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "x11-window-test: $tool is missing (scripts/setup.sh installs it)" >&2
        exit 1
    fi
done
exec xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96" sh -c '
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
    "$@"
    status=$?
    kill $wm 2>/dev/null || true
    exit $status' x11-window-test "$@"
