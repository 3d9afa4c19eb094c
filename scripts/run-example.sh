#!/usr/bin/env bash
# Sets up, builds, and numbers a folder of sample files with morvane-cli: the
# chain is previewed, run on disk, and the run undone again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
cli=build/cli/morvane-cli

sample=$(mktemp -d "${TMPDIR:-/tmp}/morvane-example-XXXXXX")
for name in "Beach Day.JPG" "Mountain View.JPG" "Old Town.JPG" "IMG_0042.JPG" "Trip Notes.TXT"; do
    touch "$sample/$name"
done
echo "Sample files in $sample:"
ls -1 "$sample"

# A numbering chain: a separator in front, a number before it (in name order), lower case.
chain=(--step "Add to front" --set "string= - "
       --step "Add number to start" --set "sortingMode=10" --set "padding=2"
       --step "Make lowercase")

echo
echo "\$ morvane-cli preview --step \"Add to front\" --set \"string= - \"" \
     "--step \"Add number to start\" --set sortingMode=10 --set padding=2" \
     "--step \"Make lowercase\" $sample/*"
"$cli" preview "${chain[@]}" "$sample"/*
echo
echo "\$ morvane-cli rename (the same chain and files)"
"$cli" rename "${chain[@]}" "$sample"/*
ls -1 "$sample"
echo
echo "\$ morvane-cli undo"
"$cli" undo
ls -1 "$sample"
