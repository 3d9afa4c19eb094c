#!/usr/bin/env bash
# Installs the Debian packages Morvane builds and tests with (Debian 12).
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libicu-dev libexiv2-dev libtag1-dev libplist-dev
          libplist++-dev qt6-base-dev libx11-dev libxtst-dev libgtest-dev libgmock-dev
          libbenchmark-dev xvfb xauth x11-utils openbox libsystemd-dev dbus clang-format attr
          qt6-svg-dev scdoc dpkg-dev file zsh fish git clang libclang-rt-14-dev
          desktop-file-utils libxml2-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
