#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build, where a warning is an
# error; the test programs whose code starts threads under the thread
# sanitizer (a rename run's worker thread and the main thread take turns on the
# file list, the chain and the attribute service; the tests that race
# processes and threads on one journal, lock or domain); everything again
# under the address and undefined-behaviour sanitizers; and the Debian
# package, built and inspected; then the short forms of the hardening checks:
# every fuzz target for MORVANE_TEST_FUZZ_SECONDS each (default 10; 0 skips
# the clang build and the fuzzing) and a few runs killed at random and undone.
#
# It all happens in a copy of the checkout in a temporary folder, so a build,
# test or benchmark that reaches outside the repository fails here. Set
# MORVANE_TEST_KEEP=1 to keep the copy (its path is printed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

copy=$(mktemp -d "${TMPDIR:-/tmp}/morvane-test-XXXXXX")
[ "${MORVANE_TEST_KEEP:-0}" = 1 ] || trap 'rm -rf "$copy"' EXIT
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # Tracked files and new ones not ignored: what a commit of this tree would hold.
    git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
        tar -cf - --null -T - | tar -xf - -C "$copy"
else
    tar -cf - --exclude='./build*' --exclude='./wt' --exclude='./.git' . | tar -xf - -C "$copy"
fi
folder=$copy
while [ "$folder" != / ]; do
    [ ! -e "$folder/shared" ] || { echo "test.sh: $folder/shared lies above the copy" >&2; exit 1; }
    folder=$(dirname "$folder")
done
echo "Testing a copy of the checkout in $copy"
cd "$copy"

scripts/build.sh build -DMORVANE_WERROR=ON
(cd build && ctest --output-on-failure -j "$(nproc)")
scripts/package.sh build
cmake -S . -B build-tsan -G Ninja -DMORVANE_SANITIZE=thread -DMORVANE_BUILD_BENCH=OFF >/dev/null
# Not the droplet and window tests: they start the Qt window program, whose
# uninstrumented threads (the raster paint engine's pool, a file dialog's
# QFileInfoGatherer) synchronise through locks the sanitizer cannot see, so it
# reports races inside Qt. No suppression singles those out without hiding
# races of ours: "race:libQt6Core.so.6" matches every stack of the window's
# main thread, and "called_from_lib" or "ignore_noninstrumented_modules" make
# it miss the lock of the run's MainThreadQueue.
threaded=(controller app engine filelist metadata cli)
cmake --build build-tsan -j "$(nproc)" --target "${threaded[@]/%/_tests}"
for program in "${threaded[@]}"; do
    TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/"${program}"_tests --gtest_brief=1
done
scripts/build.sh build-asan -DMORVANE_SANITIZE=address -DMORVANE_BUILD_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j "$(nproc)")
bench/kill-undo-stress.sh 500 6 19
seconds=${MORVANE_TEST_FUZZ_SECONDS:-10}
if [ "$seconds" -gt 0 ]; then
    FUZZ_BUILD_JOBS="$(nproc)" fuzz/run.sh "$seconds"
fi
