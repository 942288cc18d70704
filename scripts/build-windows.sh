#!/usr/bin/env bash
# Builds the 64-bit Windows plug-in (Kolvrane.dll) and the command-line host (kolvrane-host.exe)
# from the same sources, by cross-compiling with Debian's MinGW-w64 (Debian 12, run as root: it
# installs what is missing). Debian's JUCE leaves the image codecs to the system, so libpng and
# libjpeg-turbo are built once, static, for MinGW from Debian's own source packages. The DLL's
# path is the last line printed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${KOLVRANE_WINDOWS_BUILD:-$root/build-windows}
jobs=${KOLVRANE_JOBS:-2}
sysroot=$out/sysroot
triple=x86_64-w64-mingw32

./scripts/setup.sh >&2

./scripts/setup.sh g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev >&2

# Debian's source packages: a deb-src entry for the release the machine runs, when there is none.
fetch_sources() {
    local dir=$1
    shift
    mkdir -p "$dir"
    if ! (cd "$dir" && apt-get source --download-only "$@" >&2 2>/dev/null); then
        local list=/etc/apt/sources.list.d/kolvrane-deb-src.sources
        if [[ ! -f $list ]]; then
            printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" "Suites: bookworm bookworm-updates" \
                "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" >"$list"
        fi
        apt-get update >&2
        (cd "$dir" && apt-get source --download-only "$@" >&2)
    fi
}

build_image_libraries() {
    [[ -f $sysroot/lib/libpng16.a && -f $sysroot/lib/libjpeg.a ]] && return
    local work=$out/deps
    rm -rf "$work"
    fetch_sources "$work" libpng1.6 libjpeg-turbo
    (cd "$work" && for dsc in *.dsc; do dpkg-source --no-check -x "$dsc" >&2; done)
    local cross=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW64.cmake" -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX="$sysroot" -DCMAKE_POSITION_INDEPENDENT_CODE=ON)
    cmake -S "$work"/libpng1.6-*/ -B "$work/png-build" "${cross[@]}" -DPNG_SHARED=OFF -DPNG_TESTS=OFF \
        -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY_RELEASE=/usr/$triple/lib/libz.a \
        -DZLIB_INCLUDE_DIR=/usr/$triple/include >&2
    cmake --build "$work/png-build" -j"$jobs" --target install >&2
    cmake -S "$work"/libjpeg-turbo-*/ -B "$work/jpeg-build" "${cross[@]}" -DENABLE_SHARED=OFF -DWITH_SIMD=OFF \
        -DWITH_TURBOJPEG=OFF >&2
    cmake --build "$work/jpeg-build" -j"$jobs" --target install >&2
    # JUCE compiles with JPEG_INTERNALS, which wants the library's internal header too.
    cp "$work"/libjpeg-turbo-*/jpegint.h "$sysroot/include/"
    # MinGW's rpcndr.h declares a global `boolean` of another type than libjpeg's.
    mv "$sysroot/include/jpeglib.h" "$sysroot/include/jpeglib-turbo.h"
    printf '%s\n' "#pragma once" "// MinGW's rpcndr.h declares boolean as unsigned char; libjpeg must agree." \
        "#ifndef HAVE_BOOLEAN" "#define HAVE_BOOLEAN" "typedef unsigned char boolean;" "#endif" \
        '#include "jpeglib-turbo.h"' >"$sysroot/include/jpeglib.h"
    rm -rf "$work"
}

build_image_libraries
cmake -S . -B "$out/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DKOLVRANE_SYSROOT="$sysroot" -DJUCE_DIR="$(dirname "$(dpkg -L juce-modules-source | grep -m1 /JUCEConfig.cmake)")" "$@" >&2
cmake --build "$out/build" -j"$jobs" >&2
echo "$out/build/plugin/Kolvrane.dll"
