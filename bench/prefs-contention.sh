#!/usr/bin/env bash
# Two and four processes writing one preferences domain, 1,000 writes each (a
# key of its own per write), while another process keeps reading the domain:
# prints the time, the keys lost and the files found damaged for each.
#
#   bench/prefs-contention.sh [WRITES]   (default 1000; needs build/tests/platform_tests)
set -euo pipefail
cd "$(dirname "$0")/.."
tests=${PLATFORM_TESTS:-build/tests/platform_tests}
[ -x "$tests" ] || { echo "build platform_tests first (scripts/build.sh)" >&2; exit 1; }
MORVANE_CONTENTION_WRITES=${1:-1000} "$tests" --gtest_brief=1 \
    --gtest_filter='Writers/UserDefaultsContention.*'
