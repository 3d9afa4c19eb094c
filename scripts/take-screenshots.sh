#!/usr/bin/env bash
# Builds the window and takes the pictures in docs/screenshots under Xvfb,
# with the real X11 platform and a home folder of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
cmake --build build --target morvane-screenshots
xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96" build/gui/morvane-screenshots docs/screenshots
echo "Pictures written to docs/screenshots/"
