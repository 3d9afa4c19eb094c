#!/usr/bin/env bash
# A journal on a file system that is really full (ENOSPC, not a stand-in):
# the journal folder lies on a small tmpfs, filled to leave 0, 4, 8, ... KiB
# free, and a run of morvane-cli renames COUNT files on another file system.
# Each run must either refuse (exit 1, nothing renamed, no journal left
# behind) or rename and be undone exactly, on the full disk or, where the
# undo cannot record itself there, once room is made; no file is ever lost. Prints one
# line per size and a summary; exits 1 if any promise broke.
#
#   bench/full-disk.sh [COUNT [MAX_FREE_KIB]]   (default 300 files, up to 64 KiB free)
#
# Needs root and a kernel that lets it mount a tmpfs (skipped otherwise, exit 0).
# MORVANE_CLI names another binary.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-300}
max_free=${2:-64}
cli=$(realpath "${MORVANE_CLI:-build/cli/morvane-cli}")
[ -x "$cli" ] || { echo "build morvane-cli first (scripts/build.sh)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-full-disk-XXXXXX")
small=$work/small
mkdir -p "$small" "$work/files"
if [ "$(id -u)" != 0 ] || ! mount -t tmpfs -o size=256k,mode=0700 tmpfs "$small" 2>/dev/null; then
    echo "full-disk: skipped (cannot mount a small tmpfs here)"
    rm -rf "$work"
    exit 0
fi
trap 'umount "$small"; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_STATE_HOME=$small/state
mkdir -p "$XDG_STATE_HOME"

for i in $(seq -w 1 "$count"); do echo "f$i" >"$work/files/f$i"; done
original=$(cd "$work/files" && ls | sort)
check_original() { # label
    local now
    now=$(cd "$work/files" && ls | sort)
    [ "$now" = "$original" ] || { echo "$1: names differ from the original" >&2; return 1; }
    for file in "$work/files"/*; do
        [ "$(cat "$file")" = "$(basename "$file")" ] || { echo "$1: $file holds another's contents" >&2; return 1; }
    done
}

broken=0 refused=0 renamed=0
for free in $(seq 0 4 "$max_free"); do
    rm -f "$small/filler"
    available=$(($(df --output=avail -k "$small" | tail -1)))
    fill=$((available - free))
    [ "$fill" -le 0 ] || dd if=/dev/zero of="$small/filler" bs=1k count="$fill" status=none 2>/dev/null || true
    set +e
    err=$("$cli" rename --step "Add to front" --set string=x_ --global processFolders=0 \
        --global processSubfolders=1 "$work/files" 2>&1 >/dev/null)
    status=$?
    set -e
    renamed_now=$(cd "$work/files" && ls | grep -c '^x_' || true)
    if [ "$status" = 1 ] && [ "$renamed_now" = 0 ]; then
        refused=$((refused + 1))
        reason=$(echo "$err" | grep -o 'No space left on device\|File too large' | head -1)
        leftovers=$(ls "$XDG_STATE_HOME/morvane/runs" | grep -c 'journal' || true)
        echo "$free KiB free: refused ($reason), journals left: $leftovers"
        [ "$leftovers" = 0 ] || { echo "  a refused run left a journal" >&2; broken=1; }
    else
        renamed=$((renamed + 1))
        # Undone on the full disk as it is; where that cannot be finished,
        # again once there is room.
        how="undone"
        if ! undo_err=$("$cli" undo 2>&1 >/dev/null); then
            how="undo refused ($(echo "$undo_err" | grep -o 'No space left on device' | head -1)), undone once room was made"
            rm -f "$small/filler"
            "$cli" undo >/dev/null 2>&1 || { echo "$free KiB free: undo failed" >&2; broken=1; }
        fi
        echo "$free KiB free: exit $status, $renamed_now renamed, then $how"
        rm -f "$XDG_STATE_HOME"/morvane/runs/*.journal "$XDG_STATE_HOME"/morvane/runs/*.about
    fi
    check_original "$free KiB free" || broken=1
done
echo "full-disk: $count files, $((refused + renamed)) sizes: $refused refused, $renamed renamed and undone; promises broken: $broken"
exit $broken
