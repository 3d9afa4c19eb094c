#!/usr/bin/env bash
# Sets up, builds, and runs a real example: a folder of sample files is
# previewed and renamed through a numbering chain with morvane-cli, then the
# run is undone.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
cli=build/cli/morvane-cli
sample=$(mktemp -d /tmp/morvane-example-XXXXXX)
for name in "Beach Day.JPG" "Sunset.JPG" "harbour 2.JPG" "harbour 10.JPG" "notes.txt"; do
    echo "sample" > "$sample/$name"
done
chain=(--step "Replace text" --set "search term=.JPG" --set "replacement term=.jpg"
       --step "Add to front" --set "string=_"
       --step "Add number to start" --set "sortingMode=10"
       --step "Make lowercase")
echo "== Sample files in $sample"
ls "$sample"
echo "== Preview"
"$cli" preview "${chain[@]}" "$sample"/*
echo "== Rename"
"$cli" rename "${chain[@]}" "$sample"/*
ls "$sample"
echo "== Undo"
"$cli" undo
ls "$sample"
