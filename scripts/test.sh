#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build, then the address and
# undefined-behaviour sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
(cd build && ctest --output-on-failure -j "$(nproc)")
scripts/build.sh build-asan -DMORVANE_SANITIZE=address -DMORVANE_BUILD_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j "$(nproc)")
