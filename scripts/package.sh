#!/usr/bin/env bash
# Builds the Debian package from the build in build/ (or the folder given as $1)
# with CPack, then inspects it: name, version, the dependencies dpkg-shlibdeps
# found, the files it holds, and that the program runs from the unpacked tree.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
[ -f "$dir/CMakeCache.txt" ] || scripts/build.sh "$dir"
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && cpack -G DEB >cpack.log) || { cat "$dir/cpack.log" >&2; exit 1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")
deb="$dir/morvane_${version}_$(dpkg --print-architecture).deb"
fail() { echo "package.sh: $deb: $*" >&2; exit 1; }
[ -f "$deb" ] || fail "not made"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = morvane ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
depends=$(field Depends)
for library in libc6 libstdc++6 libexiv2 libtag libplist libicu libqt6widgets6 libqt6svg6 \
    libx11-6 libsystemd0; do
    grep -q "\b$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
grep -q "GPL-2.0-or-later" <<<"$(field Description)" || fail "the description names no licence"

# The path starts at "./" (it may hold spaces: "TSY HotKey.app"); a link loses its target.
pane="./usr/lib/morvane/Morvane 7.app/Contents/Resources/Components/Tessary Preferences.prefPane"
hotkey="$pane/Contents/Resources/TSY HotKey.app"
files=$(dpkg-deb -c "$deb" | sed -n 's|^.* \(\./.*\)$|\1|p' | sed 's| -> .*||')
for file in ./usr/bin/morvane-cli ./usr/bin/morvane "./usr/lib/libmrvn7core.so.$version" \
    "./usr/lib/libmrvn7core.so.${version%%.*}" \
    ./usr/share/man/man1/morvane-cli.1.gz ./usr/share/applications/morvane.desktop \
    ./usr/share/icons/hicolor/scalable/apps/morvane.svg \
    ./usr/share/bash-completion/completions/morvane-cli \
    ./usr/share/zsh/vendor-completions/_morvane-cli \
    ./usr/share/fish/vendor_completions.d/morvane-cli.fish \
    ./usr/share/doc/morvane/copyright ./usr/share/doc/morvane/COPYING \
    "$pane/Contents/Info.plist" "$pane/Contents/bin/tessary-preferences-pane.so" \
    "$pane/Contents/Resources/quitHotKey.sh" "$hotkey/Contents/bin/tsy-hotkey" \
    "$hotkey/Contents/Info.plist" "$hotkey/Contents/Resources/quitHotKey.sh" \
    "./usr/lib/morvane/Morvane 7.app/Contents/bin/tessary-preferences" \
    "./usr/lib/morvane/Morvane 7.app/Contents/Info.plist" \
    "./usr/lib/morvane/Morvane 7.app/Contents/bin/morvane" \
    "./usr/lib/morvane/Morvane 7.app/Contents/Resources/quitHotKey.sh" \
    "./usr/lib/morvane/Morvane 7.app/Contents/Resources/datePatterns.plist" \
    "./usr/lib/morvane/Morvane 7.app/Contents/Resources/Components/Tessary Context Menu.plugin/Contents/Info.plist" \
    "./usr/lib/morvane/Morvane 7.app/Contents/Resources/Components/Tessary Context Menu.plugin/Contents/Resources/install.sh" \
    "./usr/lib/morvane/Morvane 7.app/Contents/Resources/Components/Tessary Droplet.app/Contents/bin/tessary-droplet" \
    "./usr/lib/morvane/Morvane 7.app/Contents/Resources/Components/Tessary Droplet.app/Contents/Info.plist"; do
    grep -qxF "$file" <<<"$files" || fail "lacks $file"
done
! grep -q '_tests$\|Bench$\|\.a$\|/include/' <<<"$files" || fail "holds build-only files"

unpacked=$(mktemp -d "${TMPDIR:-/tmp}/morvane-deb-XXXXXX")
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
[ "$(env -u LD_LIBRARY_PATH "$unpacked/usr/bin/morvane-cli" --version)" = "morvane-cli $version" ] ||
    fail "the unpacked morvane-cli does not run"
[ "$(readlink "$unpacked/usr/bin/morvane")" = "../lib/morvane/Morvane 7.app/Contents/bin/morvane" ] ||
    fail "usr/bin/morvane is no relative link to the bundle's program"
[ "$(env -u LD_LIBRARY_PATH -u DISPLAY "$unpacked/usr/bin/morvane" --version)" = "morvane $version" ] ||
    fail "the unpacked morvane does not run"
[ "$(env -u LD_LIBRARY_PATH "$unpacked/$hotkey/Contents/bin/tsy-hotkey" \
    --version)" = "tsy-hotkey $version" ] || fail "the unpacked tsy-hotkey does not run"

echo "package.sh: $deb"
dpkg-deb -f "$deb" Package Version Architecture Depends | sed 's/^/  /'
