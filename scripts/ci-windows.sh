#!/usr/bin/env bash
# CI's Windows part, after the Linux suite (which leaves build/ with the
# Linux kelvaro-calc): Qt for Windows into ~/.cache/kelvaro when the cache
# lacks it, Kelvaro cross-built, the whole suite under Wine, kelvaro-calc.exe
# against kelvaro-calc, the zip, and the zip unpacked into a fresh Wine prefix,
# started and used under Xvfb; the installer, installed, used, updated and
# uninstalled in another (the screenshots go to build-windows/screenshots).
# Prints how long each part took.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
timed() { # name, command...
    local start=$SECONDS
    "${@:2}"
    echo "ci-windows: $1 took $((SECONDS - start)) s"
}
export JOBS=${JOBS:-$(nproc)}
timed setup scripts/setup-windows.sh
timed "Qt for Windows" scripts/build-qt-mingw.sh
timed "suite under Wine" scripts/test-windows.sh
timed zip scripts/package-windows.sh
timed "the zip in a fresh Wine prefix" scripts/screenshots-windows.sh "$root/build-windows/screenshots"
timed installer scripts/package-windows-installer.sh
timed "the installer in a fresh Wine prefix" scripts/check-installer-windows.sh "$root/build-windows/screenshots"
echo "ci-windows: $SECONDS s in all"
