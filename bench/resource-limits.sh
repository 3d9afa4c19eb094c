#!/usr/bin/env bash
# Peak memory and time of morvane-cli at the sizes a user can reach:
#   1. COUNT files (default 100,000) through a chain of 20 steps: the preview
#      (JSON, every row) and the rename with its journal;
#   2. a rename list of LINES lines (default 1,000,000) loaded by "Rename from
#      list" (plain and tab-delimited) over a folder of 1,000 files;
#   3. a sparse 1 GiB "MP3" whose ID3v2 tag claims the largest size the format
#      allows (256 MiB), named by "MP3 rename".
# Each line: what ran, wall-clock seconds, peak resident memory (MiB), user
# and system seconds. Run it at two sizes to see the growth:
#
#   bench/resource-limits.sh [COUNT [LINES]]
#
# MORVANE_CLI names another binary; BENCH_DIR another folder for the files.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-100000}
lines=${2:-1000000}
cli=$(realpath "${MORVANE_CLI:-build/cli/morvane-cli}")
[ -x "$cli" ] || { echo "build morvane-cli first (scripts/build.sh)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/morvane-limits-XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_STATE_HOME=$work/home/.local/state
mkdir -p "$HOME"

# Runs a command under /usr/bin/time and prints its line; the command's own
# status does not stop the script (a list beyond the loader's limit fails).
measure() { # label command...
    local label=$1 log=$work/time.log
    shift
    /usr/bin/time -v -o "$log" "$@" >"$work/out" 2>"$work/err" || true
    awk -F': ' -v label="$label" '
        /Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0
                                   for (i = 1; i <= n; ++i) s = s * 60 + t[i]; secs = s }
        /Maximum resident set size/ { kb = $2 }
        /User time \(seconds\)/ { user = $2 }
        /System time \(seconds\)/ { sys = $2 }
        END { printf "%-44s %8.2f s %8.1f MiB  user %6.2f s  sys %6.2f s\n",
                     label, secs, kb / 1024, user, sys }' "$log"
}

make_files() { # folder count
    rm -rf "$1"
    mkdir -p "$1"
    (cd "$1" && seq -f "Track %07g.mp3" 1 "$2" | xargs -d '\n' touch)
}

# 1. Twenty steps, each changing every name a little.
chain=()
for i in $(seq 1 5); do
    chain+=(--step "Add to end" --set "string=-$i"
            --step "Make uppercase"
            --step "Replace text" --set "search term=TRACK" --set "replacement term=Song$i"
            --step "Make lowercase")
done
echo "== $count files, a chain of 20 steps"
make_files "$work/many" "$count"
measure "preview --json, $count files" "$cli" preview --json "${chain[@]}" \
    --global processFolders=0 --global processSubfolders=1 "$work/many"
measure "rename with journal, $count files" "$cli" rename "${chain[@]}" \
    --global processFolders=0 --global processSubfolders=1 "$work/many"
[ "$(ls "$work/many" | head -1)" != "Track 0000001.mp3" ] || echo "   (nothing was renamed)"
rm -rf "$work/many"

# 2. A rename list of $lines lines (the loaders stop at their limit).
echo "== a rename list of $lines lines over 1,000 files"
make_files "$work/listed" 1000
awk -v d="$work/listed" -v n="$lines" \
    'BEGIN { for (i = 1; i <= n; ++i) printf "%s/Track %07d.mp3\tNew %07d.mp3\n", d, i, i }' \
    >"$work/pairs.txt"
seq -f "Name %07g.mp3" 1 "$lines" >"$work/plain.txt"
ls -l "$work/pairs.txt" "$work/plain.txt" | awk '{ printf "   %s: %d bytes\n", $NF, $5 }'
measure "preview, tab-delimited list of $lines" "$cli" preview --json \
    --step "Rename from list" --set "list file path=$work/pairs.txt" \
    --global processFolders=0 --global processSubfolders=1 "$work/listed"
grep -o 'line [0-9]*[^"]*' "$work/err" | head -1 | sed 's/^/   /' || true
measure "preview, plain list of $lines" "$cli" preview --json \
    --step "Rename from list" --set "list file path=$work/plain.txt" \
    --global processFolders=0 --global processSubfolders=1 "$work/listed"
rm -f "$work/pairs.txt" "$work/plain.txt"

# 3. A sparse 1 GiB file with an ID3v2.4 tag of 256 MiB - 1 (syncsafe 7f 7f 7f 7f):
#    a title frame, then padding to the end of the tag, then MPEG frames.
echo "== a 1 GiB MP3 with a 256 MiB ID3v2 tag (sparse)"
mp3=$work/huge/big.mp3
mkdir -p "$work/huge"
python3 - "$mp3" <<'PY'
import struct, sys
path = sys.argv[1]
def syncsafe(n):
    return bytes([(n >> 21) & 0x7f, (n >> 14) & 0x7f, (n >> 7) & 0x7f, n & 0x7f])
tag_size = (1 << 28) - 1
title = b"\x03Huge Tag Title"
frame = b"TIT2" + syncsafe(len(title)) + b"\x00\x00" + title
with open(path, "wb") as f:
    f.write(b"ID3\x04\x00\x00" + syncsafe(tag_size) + frame)
    f.seek(10 + tag_size)
    f.write(b"\xff\xfb\x90\x64" + b"\x00" * 413)  # one MPEG-1 layer III frame
    f.truncate(1 << 30)
PY
du -h --apparent-size "$mp3" | sed 's/^/   apparent size /'
measure "preview, MP3 rename of a 1 GiB file" "$cli" preview --json --step "MP3 rename" \
    --global processFolders=0 --global processSubfolders=1 "$work/huge"
grep -o '"newName":"[^"]*"' "$work/out" | head -1 | sed 's/^/   /' || true
