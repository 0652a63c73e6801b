#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset, into build-fuzz/) and runs
# each for a set time, one after the other, on one core.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET [TARGET...]]   300 s each, every target
#   scripts/fuzz.sh --budget SECONDS                   SECONDS shared among all
#                                                      targets, at least 10 s each
#
# A target reads its seeds from fuzz/corpus/<name>/ and keeps what it finds in
# build-fuzz/corpus/<name>/, so a later run goes on from there. An input that
# breaks a property or crashes is saved as build-fuzz/artifacts/<name>-*;
# the other targets still run, and the script ends with status 1.
# More libFuzzer options can be given in FUZZ_FLAGS, e.g. FUZZ_FLAGS=-max_len=20000.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

budget=
seconds=300
if [[ ${1:-} == --budget ]]; then
    budget=${2:?--budget needs a number of seconds}
    shift 2
elif [[ $# -gt 0 ]]; then
    seconds=$1
    shift
fi

"$root/scripts/setup.sh"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

build=$root/build-fuzz
if [[ $# -gt 0 ]]; then
    targets=("$@")
else
    mapfile -t targets <"$build/fuzz/fuzzers.txt"
fi
if [[ -n $budget ]]; then
    seconds=$((budget / ${#targets[@]}))
    ((seconds >= 10)) || seconds=10
fi

mkdir -p "$build/artifacts" "$build/logs"
failed=()
for name in "${targets[@]}"; do
    mkdir -p "$build/corpus/$name"
    log=$build/logs/$name.log
    dict=()
    [[ -f fuzz/$name.dict ]] && dict=("-dict=fuzz/$name.dict")
    # -timeout: a single input taking this long counts as a hang.
    # shellcheck disable=SC2086
    if "$build/fuzz/${name}_fuzzer" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2560 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" "${dict[@]}" \
        ${FUZZ_FLAGS:-} "$build/corpus/$name" "fuzz/corpus/$name" >"$log" 2>&1; then
        status=ok
    else
        status=FAILED
        failed+=("$name")
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $name: ${runs:-?} executions in ${seconds} s: $status"
    if [[ $status != ok ]]; then
        tail -n 40 "$log"
    fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
    echo "fuzz targets failed: ${failed[*]} (inputs in $build/artifacts/)"
    exit 1
fi
