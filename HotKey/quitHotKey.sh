#!/bin/sh
# Ends the running TSY HotKey of this user and display through its own pid
# file, never by a name match: only a pid file whose lock is held names a
# running program. Waits until it has released its keys and ended.
# Usage: quitHotKey.sh [PIDFILE]
# Exit status: 0 when it ended the program, 1 when none was running,
# 2 when the program did not end within 10 seconds.
set -u
pidfile=${1:-}
if [ -z "$pidfile" ]; then
    key=${WAYLAND_DISPLAY:-${DISPLAY:-none}}
    key=$(printf '%s' "$key" | tr '/' '_')
    case ${XDG_RUNTIME_DIR:-} in
    /*) folder=$XDG_RUNTIME_DIR ;;
    *) folder=/tmp/tsy-hotkey-$(id -u) ;;
    esac
    pidfile=$folder/tsy-hotkey.$key.pid
fi
# Opened without creating it: a file the program removed stays removed.
if ! { [ -f "$pidfile" ] && command exec 9<"$pidfile"; } 2>/dev/null; then
    echo "quitHotKey.sh: TSY HotKey is not running ($pidfile)" >&2
    exit 1
fi
if flock -n 9; then
    echo "quitHotKey.sh: TSY HotKey is not running (stale $pidfile)" >&2
    exit 1
fi
pid=$(head -n 1 <&9)
case $pid in
'' | *[!0-9]*)
    echo "quitHotKey.sh: $pidfile holds no pid" >&2
    exit 1
    ;;
esac
kill -TERM "$pid" 2>/dev/null || { echo "quitHotKey.sh: cannot signal $pid" >&2; exit 1; }
if flock -w 10 9; then
    exit 0
fi
echo "quitHotKey.sh: TSY HotKey ($pid) did not end" >&2
exit 2
