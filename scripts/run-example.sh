#!/usr/bin/env bash
# Sets up, builds, and renames a folder of sample files with morvane-cli.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
sample=$(mktemp -d /tmp/morvane-example-XXXXXX)
touch "$sample/holiday.jpg" "$sample/beach.jpg" "$sample/notes.txt"
echo "Sample files in $sample:"; ls "$sample"
build/cli/morvane-cli --add-to-end "_v2" --fragment 1 "$sample"/*
ls "$sample"
