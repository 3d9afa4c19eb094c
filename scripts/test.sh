#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build; the rename run's tests
# under the thread sanitizer (the run's worker thread and the main thread take
# turns on the file list, the chain and the attribute service); and everything
# again under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
(cd build && ctest --output-on-failure -j "$(nproc)")
cmake -S . -B build-tsan -G Ninja -DMORVANE_SANITIZE=thread -DMORVANE_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan -j "$(nproc)" --target controller_tests app_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/controller_tests --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/app_tests --gtest_brief=1
scripts/build.sh build-asan -DMORVANE_SANITIZE=address -DMORVANE_BUILD_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j "$(nproc)")
