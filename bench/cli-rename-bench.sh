#!/usr/bin/env bash
# Times morvane-cli over a folder of empty files against a raw loop of
# renameat2(RENAME_NOREPLACE) over the same number of files
# (bench/raw-rename-loop.c, the physical limit). The chain has three steps (a
# text step, "Add number to start", "Make lowercase"). Contestants, each on
# fresh files:
#   raw             the raw loop
#   rename          morvane-cli rename (journal on: written and fsynced first)
#   undo            morvane-cli undo of that run
#   preview-json    morvane-cli preview --json over the whole list (no renames)
#   rename-no-jnl   morvane-cli rename --no-journal
# The raw loop and ours alternate within each round (odd rounds the raw loop
# first, even rounds it last), and every ratio is the median of the rounds'
# own ratios to that round's raw loop, so a machine whose load changes
# between rounds still gives comparable pairs. Per contestant it prints the
# median wall time, that ratio, user and kernel CPU time, peak memory and
# minor page faults (all medians), and the load average before and after.
#
#   bench/cli-rename-bench.sh [-r ROUNDS] [COUNT...]   (default: 5 rounds, 100000 1000000)
#
# MORVANE_CLI names another binary; BENCH_DIR another folder for the files
# (default: the system's temporary folder; /dev/shm gives the steadiest figures).
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=5
if [ "${1:-}" = "-r" ]; then
    rounds=$2
    shift 2
fi
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(100000 1000000)
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

make_files() { # folder count
    rm -rf "$1"
    mkdir -p "$1"
    "$work/raw-rename-loop" --make "$2" "$1"
    sync -f "$1"
}

# Runs a command under /usr/bin/time; prints "seconds kilobytes user system faults".
measure() {
    local log=$work/time.log
    /usr/bin/time -v -o "$log" "$@" >/dev/null
    awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0;
                                           for (i = 1; i <= n; ++i) s = s * 60 + t[i]; secs = s }
                /Maximum resident set size/ { kb = $2 }
                /User time \(seconds\)/ { user = $2 }
                /System time \(seconds\)/ { sys = $2 }
                /Minor \(reclaiming a frame\) page faults/ { faults = $2 }
                END { printf "%.3f %d %.2f %.2f %d\n", secs, kb, user, sys, faults }' "$log"
}

chain=(--step "Replace text" --set "search term=Photo" --set "replacement term=Picture"
       --step "Add number to start" --set "padding=6" --set "sortingMode=10"
       --step "Make lowercase" --global processFolders=0 --global processSubfolders=1)
contestants=(raw rename undo preview-json rename-no-jnl)

declare -A times memory user system faults
record() { # who "secs kb user sys faults"
    local secs kb usr sys flt
    read -r secs kb usr sys flt <<<"$2"
    times[$1]+="$secs "
    memory[$1]+="$kb "
    user[$1]+="$usr "
    system[$1]+="$sys "
    faults[$1]+="$flt "
}

unrenamed() { find "$1" -maxdepth 1 -name 'Holiday*' | wc -l; }

run_raw() { # count
    local folder=$work/files-raw
    make_files "$folder" "$1"
    record raw "$(measure "$work/raw-rename-loop" "$folder")"
    [ "$(unrenamed "$folder")" -eq 0 ] || { echo "raw loop left files unrenamed" >&2; exit 1; }
    rm -rf "$folder"
}

run_ours() { # count
    local folder=$work/files-cli
    make_files "$folder" "$1"
    record rename "$(measure "$cli" rename "${chain[@]}" "$folder")"
    [ "$(unrenamed "$folder")" -eq 0 ] || { echo "rename left files unrenamed" >&2; exit 1; }
    record undo "$(measure "$cli" undo)"
    [ "$(unrenamed "$folder")" -eq "$1" ] || { echo "undo did not restore every file" >&2; exit 1; }
    rm -rf "$folder"
    make_files "$folder" "$1"
    record preview-json "$(measure "$cli" preview --json "${chain[@]}" "$folder")"
    record rename-no-jnl "$(measure "$cli" rename --no-journal "${chain[@]}" "$folder")"
    [ "$(unrenamed "$folder")" -eq 0 ] || { echo "rename --no-journal left files" >&2; exit 1; }
    rm -rf "$folder"
}

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# The median of the rounds' own ratios of who to the raw loop.
paired_ratio() { # who
    paste -d' ' <(tr ' ' '\n' <<<"${times[$1]}" | grep -v '^$') \
                <(tr ' ' '\n' <<<"${times[raw]}" | grep -v '^$') |
        awk '{ printf "%.4f\n", $1 / ($2 > 0 ? $2 : 0.001) }' | median
}

for count in "${counts[@]}"; do
    times=() memory=() user=() system=() faults=()
    load_before=$(cut -d' ' -f1-3 /proc/loadavg)
    for ((round = 1; round <= rounds; ++round)); do
        if ((round % 2)); then
            run_raw "$count"
            run_ours "$count"
        else
            run_ours "$count"
            run_raw "$count"
        fi
    done
    printf '%d files, %d paired rounds (medians) in %s; load average %s before, %s after\n' \
        "$count" "$rounds" "$(df --output=fstype "$work" | tail -1)" "$load_before" \
        "$(cut -d' ' -f1-3 /proc/loadavg)"
    printf '%-14s %9s %8s %7s %7s %12s %10s   %s\n' contestant seconds ratio user system \
        "peak RSS" faults "all rounds (s)"
    for who in "${contestants[@]}"; do
        awk -v who="$who" -v t="$(median <<<"${times[$who]}")" -v r="$(paired_ratio "$who")" \
            -v m="$(median <<<"${memory[$who]}")" -v u="$(median <<<"${user[$who]}")" \
            -v k="$(median <<<"${system[$who]}")" -v f="$(median <<<"${faults[$who]}")" \
            -v all="${times[$who]}" \
            'BEGIN { printf "%-14s %9.3f %7.2fx %7.2f %7.2f %8.1f MiB %10d   %s\n",
                     who, t, r, u, k, m / 1024, f, all }'
    done
    echo
done
