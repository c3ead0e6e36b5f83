#!/usr/bin/env bash
# Installs everything a fresh Debian 12 machine needs to build and test Pulsaret.
set -euo pipefail

# clang and libclang-rt-14-dev (libFuzzer) build the fuzz campaign of scripts/fuzz.sh.
packages=(juce-modules-source cmake ninja-build g++ pkgconf libgtest-dev libgmock-dev python3 libexpat1-dev
          libfreetype-dev libfontconfig-dev libx11-dev libxext-dev libxinerama-dev libxrandr-dev libxcursor-dev libxtst-dev
          ccache xvfb xauth x11-utils openbox fonts-wine ardour linux-perf
          clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
