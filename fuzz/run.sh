#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz/, or BUILD_DIR) and runs each
# for SECONDS (default 20) from the seeds in fuzz/corpus/ and tests/data/real.
# New inputs go to a working corpus (FUZZ_WORK, default a temporary folder,
# removed afterwards); an input that breaks a promise is kept in
# fuzz-artifacts/ (or ARTIFACTS) and the script fails, naming it.
#
#   fuzz/run.sh [SECONDS [TARGET...]]
#
# For hours: fuzz/run.sh 3600 with FUZZ_WORK set to a folder that is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
build=${BUILD_DIR:-build-fuzz}
artifacts=$(realpath -m "${ARTIFACTS:-fuzz-artifacts}")
jobs=${FUZZ_BUILD_JOBS:-2}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DMORVANE_FUZZ=ON -DMORVANE_BUILD_GUI=OFF \
    -DBUILD_TESTING=OFF -DMORVANE_BUILD_BENCH=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in fuzz/*_fuzzer.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

work=${FUZZ_WORK:-}
if [ -z "$work" ]; then
    work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-fuzz-work-XXXXXX")
    trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$artifacts"
extra_seeds() { # target
    case $1 in
    exif_fuzzer) echo tests/data/real/images ;;
    audio_tag_fuzzer) echo tests/data/real/audio ;;
    esac
}

failed=0
for target in "${targets[@]}"; do
    corpus=$work/${target%_fuzzer}
    mkdir -p "$corpus"
    seeds=()
    for folder in fuzz/corpus/"${target%_fuzzer}" $(extra_seeds "$target"); do
        [ ! -d "$folder" ] || seeds+=("$folder")
    done
    log=$work/$target.log
    if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
        "$corpus" ${seeds[@]+"${seeds[@]}"} >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "$target: ${runs:-?} inputs in ${seconds} s, no failure"
    else
        failed=1
        echo "$target: FAILED (log follows; input kept in $artifacts)" >&2
        grep -v '^#\|^INFO\|^Loaded\|^MERGE' "$log" | tail -40 >&2
    fi
done
exit $failed
