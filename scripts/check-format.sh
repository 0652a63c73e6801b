#!/usr/bin/env bash
# Fails when a C++ file of the project is not as clang-format writes it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z 'src/**.cpp' 'src/**.h' 'tests/**.cpp' 'tests/**.h' 'fuzz/**.cpp' 'fuzz/**.h' \
    'bench/**.cpp' 'bench/**.h' | xargs -0 clang-format --dry-run -Werror
echo "Formatting: clean"
