#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds Kelvaro, starts a
# CUPS server with a PDF printer for the end-to-end print test, and runs
# every test: the suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# each fuzz target for a short time, and last the suite of the normal build.
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
