#!/usr/bin/env bash
# Sets up, builds and opens the Morvane window on a folder of sample files.
# Without a display it says so and runs the command-line example instead.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set)."
    echo "Running the command-line example instead."
    echo
    exec scripts/run-example.sh
fi
scripts/setup.sh
scripts/build.sh build

sample=$(mktemp -d "${TMPDIR:-/tmp}/morvane-sample-XXXXXX")
mkdir -p "$sample/Iceland 2026" "$sample/Notes"
for n in $(seq 2041 2064); do
    touch "$sample/Iceland 2026/IMG_$n.JPG"
done
for name in "Packing list.TXT" "Route plan.TXT" "Budget.ODS"; do
    touch "$sample/Notes/$name"
done
echo "Sample files in $sample; opening the Morvane window on them."
exec "build/Morvane 7.app/Contents/bin/morvane" "$sample/Iceland 2026" "$sample/Notes"
