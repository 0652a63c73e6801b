#!/usr/bin/env bash
# Builds Kelvaro for 64-bit Windows into build-windows/ (the windows preset):
# Qt for Windows first, into ~/.cache/kelvaro, when it is not there yet
# (scripts/build-qt-mingw.sh, about 40 minutes on 2 cores).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup-windows.sh"
JOBS=${JOBS:-$(nproc)} "$root/scripts/build-qt-mingw.sh"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake --preset windows -G Ninja "${launcher[@]}" >/dev/null
cmake --build --preset windows -j "${JOBS:-$(nproc)}"
