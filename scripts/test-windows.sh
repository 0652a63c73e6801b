#!/usr/bin/env bash
# Builds Kelvaro for Windows (scripts/build-windows.sh) and runs the whole
# suite under Wine: the logic tests, the window tests on the offscreen
# platform, with a Wine prefix of its own that has Noto CJK among its fonts
# (scripts/wine-env.sh). Tests that need Linux itself say why they skip.
# Then kelvaro-calc.exe against the Linux kelvaro-calc, byte for byte
# (scripts/compare-calc-windows.sh), where build/ has one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/build-windows.sh"
source "$root/scripts/wine-env.sh"
ctest --preset windows -j "${JOBS:-$(nproc)}"
if [[ -x $root/build/src/shell/kelvaro-calc ]]; then
    "$root/scripts/compare-calc-windows.sh" "${KELVARO_COMPARE_COUNT:-300}"
fi
