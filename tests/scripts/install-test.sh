#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR under a prefix with a space in it,
# then runs the installed morvane-cli from there without LD_LIBRARY_PATH: it
# must find its core library through its RPATH, never in the build folder.
# Usage: install-test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$(realpath "$1") source=$(realpath "$2") version=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "install-test: $*" >&2; exit 1; }

prefix="/opt/Morvane test"
DESTDIR="$work/dest dir" cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }
root="$work/dest dir$prefix"
cli="$root/bin/morvane-cli"
# The core library: the versioned file and its soname link, which the programs name.
soname="libmrvn7core.so.${version%%.*}"
library="$root/lib/libmrvn7core.so.$version"
core_of() { env -u LD_LIBRARY_PATH ldd "$1" | sed -n "s/.*${soname//./\\.} => \(.*\) (0x.*/\1/p"; }

# Exactly the programs and the library; the test and benchmark programs stay behind.
[ "$(ls "$root/bin" | tr '\n' ' ')" = "morvane morvane-cli " ] || fail "bin/ holds: $(ls "$root/bin")"
[ "$(ls "$root/lib" | tr '\n' ' ')" = "$soname libmrvn7core.so.$version morvane " ] ||
    fail "lib/ holds: $(ls "$root/lib")"
[ "$(readlink "$root/lib/$soname")" = "libmrvn7core.so.$version" ] ||
    fail "$soname links to '$(readlink "$root/lib/$soname")'"
[ "$(readelf -d "$library" | sed -n 's/.*(SONAME).*\[\(.*\)\]$/\1/p')" = "$soname" ] ||
    fail "libmrvn7core.so.$version has not the soname $soname"
application="$root/lib/morvane/Morvane 7.app"
pane="$application/Contents/Resources/Components/Tessary Preferences.prefPane"
# The preference pane: its plug-in, Info.plist, the quit script and the hot-key bundle.
[ "$(cd "$pane" && find . -type f -not -path './Contents/Resources/TSY HotKey.app/*' | sort | tr '\n' ' ')" = \
    "./Contents/Info.plist ./Contents/Resources/quitHotKey.sh ./Contents/bin/tessary-preferences-pane.so " ] ||
    fail "Tessary Preferences.prefPane holds: $(cd "$pane" && find . -type f)"
grep -A1 NSPrincipalClass "$pane/Contents/Info.plist" | grep -q NetHalvardTSYPreferencesPanePref ||
    fail "the pane's Info.plist names no principal class"
for program in "$pane/Contents/bin/tessary-preferences-pane.so" "$application/Contents/bin/tessary-preferences"; do
    resolved=$(core_of "$program")
    [ "$(realpath "$resolved")" = "$(realpath "$library")" ] ||
        fail "$(basename "$program") finds $soname at '$resolved'"
done
# The application bundle: bin/morvane is a relative link to its program, so the
# program finds its bundle (resources, components) wherever the prefix lies.
[ "$(readlink "$root/bin/morvane")" = "../lib/morvane/Morvane 7.app/Contents/bin/morvane" ] ||
    fail "bin/morvane links to '$(readlink "$root/bin/morvane")'"
grep -A1 CFBundleExecutable "$application/Contents/Info.plist" | grep -q '<string>morvane</string>' ||
    fail "Morvane 7.app's Info.plist names no morvane"
grep -A1 CFBundleVersion "$application/Contents/Info.plist" | grep -q '<string>[0-9]\+</string>' ||
    fail "Morvane 7.app's Info.plist has no numeric version"
plugin="$application/Contents/Resources/Components/Tessary Context Menu.plugin"
for file in Contents/Resources/quitHotKey.sh Contents/Resources/popUpIndexToNameMapping.plist \
    Contents/Resources/warning.svg "Components/Tessary Context Menu.plugin/Contents/Info.plist"; do
    [ -e "$application/$file" ] || [ -e "$application/Contents/Resources/$file" ] || fail "Morvane 7.app lacks $file"
done
[ -x "$plugin/Contents/Resources/install.sh" ] && [ -x "$plugin/Contents/Resources/uninstall.sh" ] ||
    fail "the context menu's scripts are missing or not executable"
[ -x "$application/Contents/Resources/quitHotKey.sh" ] || fail "the bundle's quitHotKey.sh is not executable"
# The hot-key program as its bundle: the program, Info.plist and the quit script.
bundle="$pane/Contents/Resources/TSY HotKey.app"
[ "$(cd "$bundle" && find . -type f | sort | tr '\n' ' ')" = \
    "./Contents/Info.plist ./Contents/Resources/quitHotKey.sh ./Contents/bin/tsy-hotkey " ] ||
    fail "TSY HotKey.app holds: $(cd "$bundle" && find . -type f)"
[ -x "$bundle/Contents/Resources/quitHotKey.sh" ] || fail "quitHotKey.sh is not executable"
grep -A1 CFBundleExecutable "$bundle/Contents/Info.plist" | grep -q '<string>tsy-hotkey</string>' ||
    fail "Info.plist names no tsy-hotkey"
grep -A1 CFBundleIdentifier "$bundle/Contents/Info.plist" | grep -q 'net.halvard.tsy.hotkey' ||
    fail "Info.plist has not the hot-key domain as identifier"
[ "$(env -u LD_LIBRARY_PATH "$bundle/Contents/bin/tsy-hotkey" --version)" = "tsy-hotkey $version" ] ||
    fail "the installed tsy-hotkey does not run"
resolved=$(core_of "$bundle/Contents/bin/tsy-hotkey")
[ "$(realpath "$resolved")" = "$(realpath "$library")" ] ||
    fail "tsy-hotkey finds $soname at '$resolved'"
# The droplet template: every droplet is a copy of it saved anywhere, so its
# program has no RPATH and runs from a copy in another folder.
droplet="$root/lib/morvane/Morvane 7.app/Contents/Resources/Components/Tessary Droplet.app"
grep -A1 CFBundleExecutable "$droplet/Contents/Info.plist" | grep -q '<string>tessary-droplet</string>' ||
    fail "the droplet template's Info.plist names no tessary-droplet"
! readelf -d "$droplet/Contents/bin/tessary-droplet" | grep -q 'R\(UN\)\?PATH' ||
    fail "the droplet program has an RPATH"
cp -r "$droplet" "$work/A Droplet.app"
[ "$(env -u LD_LIBRARY_PATH "$work/A Droplet.app/Contents/bin/tessary-droplet" --version)" = \
    "tessary-droplet $version" ] || fail "a copy of the droplet template does not run"
for file in share/man/man1/morvane-cli.1.gz \
    share/bash-completion/completions/morvane-cli \
    share/zsh/vendor-completions/_morvane-cli \
    share/fish/vendor_completions.d/morvane-cli.fish \
    share/doc/morvane/COPYING share/doc/morvane/copyright share/doc/morvane/README.md \
    share/applications/morvane.desktop share/icons/hicolor/scalable/apps/morvane.svg \
    share/icons/hicolor/48x48/apps/morvane.png share/icons/hicolor/256x256/apps/morvane.png; do
    [ -s "$root/$file" ] || fail "not installed: $file"
done
cmp -s "$root/share/doc/morvane/COPYING" "$source/COPYING" || fail "COPYING differs"
zcat "$root/share/man/man1/morvane-cli.1.gz" | grep -q '^\.TH "morvane-cli" "1"' ||
    fail "the manual page is not a troff page of morvane-cli(1)"
for section in SYNOPSIS COMMANDS CHAIN "EXIT STATUS" FILES EXAMPLES; do
    zcat "$root/share/man/man1/morvane-cli.1.gz" | grep -q "^\.SH $section" ||
        fail "the manual page has no section $section"
done

readelf -d "$cli" | grep -q 'R\(UN\)\?PATH.*\[\$ORIGIN/\.\./lib\]' || fail "no RPATH \$ORIGIN/../lib"
resolved=$(core_of "$cli")
[ "$(realpath "$resolved")" = "$(realpath "$library")" ] || fail "$soname resolves to '$resolved'"

# The installed program, from another folder, with HOME and XDG in the temporary folder.
mkdir -p "$work/home" "$work/files"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
    XDG_STATE_HOME="$work/home/state"
cd "$work"
run() { env -u LD_LIBRARY_PATH "$cli" "$@"; }
[ "$(run --version)" = "morvane-cli $version" ] || fail "--version: $(run --version)"
# sed reads the whole usage: head would close the pipe early (SIGPIPE under pipefail).
[ "$(run --help | sed -n 1p)" = "Usage:" ] || fail "--help prints no usage"
# The window's program answers without a display too, and finds the library the same way.
[ "$(env -u LD_LIBRARY_PATH -u DISPLAY "$root/bin/morvane" --version)" = "morvane $version" ] ||
    fail "morvane --version"
grep -q '^Exec=morvane %U$' "$root/share/applications/morvane.desktop" || fail "desktop entry"
# The window started through bin/morvane knows its bundle: it records it as "location" (not
# a first launch of this version, so no Component Setup window waits for an answer).
mkdir -p "$XDG_CONFIG_HOME/ossvale" "$work/runtime"
chmod 700 "$work/runtime"
settings="$XDG_CONFIG_HOME/ossvale/net.halvard.mrvn7.plist"
printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' \
    '<plist version="1.0"><dict><key>firstLaunchVersion</key><integer>75600</integer></dict></plist>' \
    >"$settings"
env -u LD_LIBRARY_PATH -u MORVANE_BUNDLE_RESOURCES QT_QPA_PLATFORM=offscreen \
    XDG_RUNTIME_DIR="$work/runtime" "$root/bin/morvane" >"$work/window.log" 2>&1 &
window=$!
for _ in $(seq 100); do
    grep -q '<key>location</key>' "$settings" && break
    sleep 0.2
done
kill "$window" 2>/dev/null || true
wait "$window" 2>/dev/null || true
grep -A1 '<key>location</key>' "$settings" | grep -qF "<string>$(realpath "$application")</string>" ||
    fail "the installed window recorded no bundle location: $(cat "$settings" "$work/window.log")"
# The manual page documents every option --help names.
manual=$(zcat "$root/share/man/man1/morvane-cli.1.gz")
for option in $(run --help | grep -o -- '--[a-z-]*' | sort -u); do
    grep -qF -- "\fB$option\fR" <<<"$manual" || fail "the manual page lacks $option"
done
cp "$source/tests/data/real/audio/itunes10.mp3" "$source/tests/data/real/images/extracted-APIC_itunes10.png" \
    "$work/files/"
preview=$(run preview --step "Add dimensions to end" --set fragmentSelection=1 --step "Make uppercase" files/*)
grep -q 'EXTRACTED-APIC_ITUNES10_48X48.PNG' <<<"$preview" || fail "preview: $preview"
grep -q 'ITUNES10.MP3' <<<"$preview" || fail "preview: $preview"
run rename --step "Make uppercase" files/itunes10.mp3 >/dev/null || fail "rename failed"
[ -f files/ITUNES10.MP3 ] || fail "rename did not rename"
run undo >/dev/null || fail "undo failed"
[ -f files/itunes10.mp3 ] || fail "undo did not restore the name"
echo "install-test: installed under '$prefix' and ran from there"
