#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds Kelvaro, starts a
# CUPS server with a PDF printer for the end-to-end print test, and runs
# every test: the suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# each fuzz target for a short time, the suite of the normal build, and last
# the Windows build with its suite under Wine and the zip (scripts/ci-windows.sh;
# the first time, Qt for Windows is built into ~/.cache/kelvaro). With
# KELVARO_WINDOWS=0 the Windows part is left out.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/check-format.sh"
"$root/scripts/check-layers.sh"
"$root/scripts/build.sh"
"$root/scripts/start-cups.sh"
"$root/scripts/sanitizer-tests.sh"
"$root/scripts/fuzz.sh" --budget 60
cd "$root"
ctest --preset default -j "$(nproc)"
if [[ ${KELVARO_WINDOWS:-1} != 0 ]]; then
    "$root/scripts/ci-windows.sh"
fi
