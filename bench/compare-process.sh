#!/usr/bin/env bash
# A whole kelvaro-calc process against the straight loop that prints each
# set with printf (kelvaro-plain-loop, bench/plain_loop_main.cpp), on the
# same inputs, in alternating rounds. Each round runs each program RUNS
# times; the script prints per round the CPU time (user + system) of one
# run of each and their ratio, then the median ratios of CPU and wall time.
# CPU time is the measure to trust on a loaded machine.
#
#   bench/compare-process.sh [ROUNDS [RATIO TOLERANCE SMALLEST LARGEST]]
#
# BUILD (default build) is the build folder; RUNS defaults to 5.
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-9}
inputs=(0.8627301359629121 0.00001 20 400)
if [[ $# -eq 5 ]]; then
    inputs=("${@:2:4}")
elif [[ $# -gt 1 ]]; then
    echo "Usage: bench/compare-process.sh [ROUNDS [RATIO TOLERANCE SMALLEST LARGEST]]" >&2
    exit 2
fi
build=${BUILD:-build}
runs=${RUNS:-5}

cmake --build "$build" --target kelvaro-calc kelvaro-plain-loop >/dev/null
calc=("$build/src/shell/kelvaro-calc" ordinary "${inputs[@]}")
plain=("$build/bench/kelvaro-plain-loop" "${inputs[@]}")

lines_calc=$("${calc[@]}" | wc -l)
lines_plain=$("${plain[@]}" | wc -l)
if [[ $lines_calc != "$lines_plain" ]]; then
    echo "kelvaro-calc prints $lines_calc lines, the straight loop $lines_plain" >&2
    exit 1
fi

# Prints the CPU and wall milliseconds of one run of a command (of RUNS).
measure() {
    local TIMEFORMAT='%3U %3S %3R' times user system real
    times=$({ time (for ((i = 0; i < runs; i++)); do "$@" >/dev/null; done); } 2>&1)
    read -r user system real <<<"$times"
    awk -v u="$user" -v s="$system" -v r="$real" -v n="$runs" \
        'BEGIN { printf "%.3f %.3f\n", (u + s) * 1000 / n, r * 1000 / n }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "inputs: ${inputs[*]}  ($lines_calc lines; $rounds rounds of $runs runs each)"
printf '%5s %16s %16s %9s %9s\n' round "kelvaro-calc ms" "plain loop ms" "CPU x" "wall x"
cpu_ratios=()
wall_ratios=()
for ((round = 1; round <= rounds; round++)); do
    # Alternate which program goes first, so that neither always runs
    # after the other on a machine whose load changes.
    if ((round % 2)); then
        read -r calc_cpu calc_wall < <(measure "${calc[@]}")
        read -r plain_cpu plain_wall < <(measure "${plain[@]}")
    else
        read -r plain_cpu plain_wall < <(measure "${plain[@]}")
        read -r calc_cpu calc_wall < <(measure "${calc[@]}")
    fi
    cpu=$(awk -v p="$plain_cpu" -v c="$calc_cpu" 'BEGIN { printf "%.1f", (c > 0) ? p / c : 0 }')
    wall=$(awk -v p="$plain_wall" -v c="$calc_wall" 'BEGIN { printf "%.1f", (c > 0) ? p / c : 0 }')
    cpu_ratios+=("$cpu")
    wall_ratios+=("$wall")
    printf '%5d %16s %16s %9s %9s\n' "$round" "$calc_cpu" "$plain_cpu" "$cpu" "$wall"
done
echo "median: kelvaro-calc is $(printf '%s\n' "${cpu_ratios[@]}" | median)x faster in CPU time," \
    "$(printf '%s\n' "${wall_ratios[@]}" | median)x in wall time"
