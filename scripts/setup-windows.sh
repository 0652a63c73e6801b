#!/usr/bin/env bash
# Installs what building Kelvaro for Windows and testing it under Wine need
# on Debian 12, on top of scripts/setup.sh: the MinGW-w64 cross compiler
# (POSIX threads), Wine, GoogleTest's sources, Ninja and dpkg-dev for Qt's
# source, zip, NSIS for the installer, and Xvfb with xdotool and ImageMagick
# for the screenshots.
set -euo pipefail
"$(dirname "$0")/setup.sh" \
    g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 \
    wine wine64 googletest ninja-build dpkg-dev zip unzip nsis \
    xdotool imagemagick
