#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows (MinGW-w64, POSIX threads) from Debian's
# own qt6-base source, once, into ~/.cache/kelvaro/qt-6.4.2-mingw; when that
# install is complete (its stamp file is written last) it does nothing.
#
# Only what Kelvaro needs: Core, Gui, Widgets, PrintSupport, Test, with the
# windows, offscreen and minimal platform plugins. moc, rcc and uic come from
# Debian's Qt 6 (QT_HOST_PATH). About 40 minutes on 2 cores.
#
#   scripts/build-qt-mingw.sh            # JOBS=2 by default
#   JOBS=4 scripts/build-qt-mingw.sh
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cache=${KELVARO_CACHE:-$HOME/.cache/kelvaro}
prefix=${KELVARO_QT_MINGW:-$cache/qt-6.4.2-mingw}
work=$cache/qt-6.4.2-mingw-work
stamp=$prefix/.kelvaro-build-complete
jobs=${JOBS:-2}

if [[ -f $stamp ]]; then
    echo "Qt for Windows already built: $prefix"
    exit 0
fi

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)

# 1. Debian's source: a deb-src entry for the archive and suites the machine
#    already uses, in a file of its own.
src_list=/etc/apt/sources.list.d/kelvaro-deb-src.sources
if ! grep -qs '^Types:.*deb-src' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null; then
    echo "Adding $src_list"
    "${sudo[@]}" tee "$src_list" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    "${sudo[@]}" apt-get update -q
fi

mkdir -p "$work"
cd "$work"
src=$(find . -maxdepth 1 -type d -name 'qt6-base-6.4.2*' | head -n1)
if [[ -z $src || ! -f $src/.kelvaro-unpacked ]]; then
    rm -rf ./qt6-base-* ./qt6-base_*
    apt-get source -q qt6-base
    src=$(find . -maxdepth 1 -type d -name 'qt6-base-6.4.2*' | head -n1)
    [[ -n $src ]] || { echo "apt-get source qt6-base gave no 6.4.2 source" >&2; exit 1; }
    touch "$src/.kelvaro-unpacked"
fi
src=$(cd "$src" && pwd)

# Qt 6.4.2's Gui builds its DirectWrite font engine and font database only
# with Direct2D, but the Windows print engine and platform plugin ask for
# DirectWrite alone and then fail to link without Direct2D; they take the
# same condition as Gui.
sed -i -E 's/^#if QT_CONFIG\((directwrite3?)\)$/#if QT_CONFIG(\1) \&\& QT_CONFIG(direct2d)/' \
    "$src/src/printsupport/platform/windows/qprintengine_win.cpp" \
    "$src/src/plugins/platforms/windows/qwindowsintegration.cpp"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# 2. Configure, with a copy of the project's toolchain file, so that the
#    build folder does not depend on this checkout. Debian's source leaves
#    out wintab.h, so no tablet events; with OpenGL off, 6.4.2's windows
#    plugin still refers to the GL context unless dynamicgl is off too.
build=$work/build
# A build folder whose toolchain file has gone (configured from a checkout
# since removed) starts again; ccache gives back what it compiled.
toolchain=$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
[[ -n $toolchain && ! -f $toolchain ]] && rm -rf "$build"
if [[ ! -f $build/build.ninja ]]; then
    rm -rf "$build"
    cp "$here/cmake/mingw-w64-x86_64.cmake" "$work/toolchain.cmake"
    cmake -G Ninja -S "$src" -B "$build" \
        -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
        "${launcher[@]}" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DBUILD_WITH_PCH=OFF \
        -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_network=OFF \
        -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_opengles2=OFF \
        -DFEATURE_vulkan=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF \
        -DFEATURE_testlib=ON -DFEATURE_printsupport=ON \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF \
        -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
        -DFEATURE_system_doubleconversion=OFF \
        -DFEATURE_icu=OFF \
        -DFEATURE_vnc=OFF -DFEATURE_eglfs=OFF -DFEATURE_linuxfb=OFF
fi

# 3. Build and install; the stamp last.
cmake --build "$build" --parallel "$jobs"
cmake --install "$build"
# Qt's Chinese texts are not built from qtbase: Debian's qt6-translations-l10n
# has them, for the tests (the zip takes its own copy).
mkdir -p "$prefix/translations"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$prefix/translations/"
date -u +%FT%TZ > "$stamp"
echo "Qt for Windows installed: $prefix"
