#!/usr/bin/env bash
# Installs everything the build, the tests and the benchmarks need (Debian 12; run as root).
# With package names as arguments, installs those of them that are missing instead.
set -euo pipefail

packages=("$@")
((${#packages[@]})) || packages=(
    juce-modules-source g++ cmake ninja-build pkg-config
    libx11-dev libxext-dev libxrandr-dev libxinerama-dev libxcursor-dev libxtst-dev
    libfreetype-dev libpng-dev libjpeg-dev zlib1g-dev
    fonts-dejavu-core fontconfig-config
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y --no-install-recommends "${missing[@]}" ||
        { apt-get update && apt-get install -y --no-install-recommends "${missing[@]}"; }
fi
