#!/usr/bin/env bash
# Builds the window and takes the pictures in docs/screenshots under Xvfb,
# with the real X11 platform and a home folder of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
cmake --build build --target morvane-screenshots
xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96" build/gui/morvane-screenshots docs/screenshots

# The hot-key preference pane in its host, for a user of its own with four
# products and the hot-key program installed.
pane="build/Morvane 7.app/Contents/Resources/Components/Tessary Preferences.prefPane"
user=$(mktemp -d "${TMPDIR:-/tmp}/morvane-pane-XXXXXX")
trap 'rm -rf "$user"' EXIT
mkdir -p "$user/Applications/Morvane 7.app" "$user/data/Pirnow.app" "$user/data/Quenby.app" \
    "$user/data/TSY Grulkan.app" "$user/data/Ossvale"
cp -R "$pane/Contents/Resources/TSY HotKey.app" "$user/data/Ossvale/"
HOME=$user XDG_CONFIG_HOME=$user/config XDG_DATA_HOME=$user/data XDG_STATE_HOME=$user/state \
    OSSVALE_APPLICATIONS_DIR=$user/Applications \
    xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96" "build/Morvane 7.app/Contents/bin/tessary-preferences" \
    --grab docs/screenshots/hotkey-preference-pane.png "$pane"
echo "Pictures written to docs/screenshots/"
