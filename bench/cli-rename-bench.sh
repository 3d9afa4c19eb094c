#!/usr/bin/env bash
# Times morvane-cli rename over a folder of empty files through a three-step
# chain (a text step, "Add number to start", "Make lowercase"), with and
# without the journal, against a raw loop of renameat2(RENAME_NOREPLACE) over
# the same number of files (bench/raw-rename-loop.c, the physical limit).
# Prints wall-clock times, the ratio to the raw loop, the memory peaks and the
# CPU time in user space and in the kernel (the renames themselves are kernel time).
#
#   bench/cli-rename-bench.sh [COUNT [ROUNDS]]     (default 100000 files, 3 rounds)
#
# MORVANE_CLI names another binary; BENCH_DIR another folder for the files
# (default: the system's temporary folder). Each round makes fresh files for
# every contestant; the median round is reported.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-100000}
rounds=${2:-3}
cli=$(realpath "${MORVANE_CLI:-build/cli/morvane-cli}")
[ -x "$cli" ] || { echo "build morvane-cli first (scripts/build.sh)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/morvane-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/raw-rename-loop" bench/raw-rename-loop.c
# A private home: no saved settings, journals kept apart.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_STATE_HOME=$work/home/.local/state
mkdir -p "$HOME"

make_files() { # folder
    rm -rf "$1"
    mkdir -p "$1"
    (cd "$1" && seq -f "Holiday Photo %06g.JPG" 1 "$count" | xargs -d '\n' touch)
    sync -f "$1"
}

# Runs a command under /usr/bin/time; prints "seconds kilobytes user system".
measure() {
    local log=$work/time.log
    /usr/bin/time -v -o "$log" "$@" >/dev/null
    awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0;
                                           for (i = 1; i <= n; ++i) s = s * 60 + t[i]; secs = s }
                /Maximum resident set size/ { kb = $2 }
                /User time \(seconds\)/ { user = $2 }
                /System time \(seconds\)/ { sys = $2 }
                END { printf "%.3f %d %.2f %.2f\n", secs, kb, user, sys }' "$log"
}

chain=(--step "Replace text" --set "search term=Photo" --set "replacement term=Picture"
       --step "Add number to start" --set "padding=6" --set "sortingMode=10"
       --step "Make lowercase")
declare -A times memory user system
contestants=(raw cli cli-no-journal)
for ((round = 1; round <= rounds; ++round)); do
    for who in "${contestants[@]}"; do
        folder=$work/files-$who
        make_files "$folder"
        case $who in
        raw) result=$(measure "$work/raw-rename-loop" "$folder") ;;
        cli) result=$(measure "$cli" rename "${chain[@]}" --global processFolders=0 \
                          --global processSubfolders=1 "$folder") ;;
        cli-no-journal) result=$(measure "$cli" rename --no-journal "${chain[@]}" \
                          --global processFolders=0 --global processSubfolders=1 "$folder") ;;
        esac
        left=$(find "$folder" -maxdepth 1 -name 'Holiday*' | wc -l)
        [ "$left" -eq 0 ] || { echo "$who left $left of $count files unrenamed" >&2; exit 1; }
        read -r secs kb usr sys <<<"$result"
        times[$who]+="$secs "
        memory[$who]+="$kb "
        user[$who]+="$usr "
        system[$who]+="$sys "
    done
done

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
raw=$(median <<<"${times[raw]}")
printf '%d files, %d rounds (median)\n' "$count" "$rounds"
printf '%-16s %10s %8s %12s %7s %7s   %s\n' contestant seconds ratio "peak RSS" user system \
    "all rounds (s)"
for who in "${contestants[@]}"; do
    t=$(median <<<"${times[$who]}")
    m=$(median <<<"${memory[$who]}")
    u=$(median <<<"${user[$who]}")
    k=$(median <<<"${system[$who]}")
    awk -v who="$who" -v t="$t" -v raw="$raw" -v m="$m" -v u="$u" -v k="$k" \
        -v all="${times[$who]}" 'BEGIN { printf "%-16s %10.3f %7.2fx %9.1f MiB %7.2f %7.2f   %s\n",
                                         who, t, t / raw, m / 1024, u, k, all }'
done
