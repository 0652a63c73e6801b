#!/usr/bin/env bash
# The everyday loop: builds the normal build and runs its suite. No package
# installation, no print server, no sanitizers, no fuzzing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --preset default -j "$(nproc)" "$@"
