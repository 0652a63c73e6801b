#!/usr/bin/env bash
# Runs kelvaro-calc.exe under Wine and the Linux kelvaro-calc on the same
# arguments and compares standard output, standard error and exit status
# byte for byte: the README's examples, then random inputs (a fixed seed).
#
#   scripts/compare-calc-windows.sh [COUNT]      # COUNT random inputs, 300 by default
#
# LINUX_CALC and WINDOWS_CALC name the programs; by default those of build/
# and build-windows/ (scripts/build.sh, scripts/test-windows.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
count=${1:-300}
linux=${LINUX_CALC:-$root/build/src/shell/kelvaro-calc}
windows=${WINDOWS_CALC:-$root/build-windows/kelvaro-calc.exe}
source "$root/scripts/wine-env.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
catalogue=docs/examples/catalogue

cases=()
add() { # one case: its arguments, one per line, NUL-terminated
    cases+=("$(printf '%s\n' "$@")")
}

# The README's examples, and the Chinese model names of the example catalogue.
add ordinary 1.5 0.00001 20 30
add ordinary --printout 1.5 0.00001 20 30
add differential --catalogue "$catalogue" Y7150 2 20 30 0 0.00001 40
add --help
add --version
add ordinary --format json 1.21 0.00001 20 22
add ordinary --format csv 1.21 0.00001 20 22
add differential --catalogue "$catalogue" 示例滚齿机 3 15 0 0 0.00001
add differential --printout --catalogue "$catalogue" 示例磨齿机 2.5 8 6 30 0.0001 37
add differential --catalogue "$catalogue" 没有这台 2 20 30 0 0.00001
add ordinary "" 0.00001 20 30
add ordinary -1.5 abc 20 30
add ordinary --bogus 1 1 1 1

# Random inputs: ratios, tolerances and ranges, texts the fields may hold,
# every output format, both calculations.
RANDOM=2023
models=(Y7150 示例滚齿机 示例磨齿机 "")
formats=(text csv json)
texts=("" " 1.5" "1e400" "1e-400" "3,5" "0x10" "１２" "2.5E+1" "abc" "-0" "  7  " ".5" "5." "1e" "nan")
pick() { local -n list=$1; echo "${list[RANDOM % ${#list[@]}]}"; }
number() { # a ratio-like number with 1 to 6 decimals, sometimes a field text
    if ((RANDOM % 8 == 0)); then pick texts; return; fi
    printf '%d.%0*d' $((RANDOM % 4)) $((RANDOM % 6 + 1)) $((RANDOM % 100000))
}
for ((i = 0; i < count; i++)); do
    format=(--format "$(pick formats)")
    ((RANDOM % 5 == 0)) && format=(--printout)
    tolerance=$(printf '0.%0*d1' $((RANDOM % 5 + 2)) 0)
    if ((RANDOM % 3)); then
        low=$((RANDOM % 30 + 15))
        add ordinary "${format[@]}" "$(number)" "$tolerance" "$low" $((low + RANDOM % 60))
    else
        teeth=()
        ((RANDOM % 2)) && teeth=($((RANDOM % 120 + 10)))
        add differential "${format[@]}" --catalogue "$catalogue" "$(pick models)" \
            "$((RANDOM % 8 + 1)).$((RANDOM % 10))" $((RANDOM % 45)) $((RANDOM % 60)) \
            $((RANDOM % 60)) "$tolerance" "${teeth[@]}"
    fi
done

same=0
different=0
for n in "${!cases[@]}"; do
    mapfile -t args <<<"${cases[$n]}"
    status=0 wstatus=0
    "$linux" "${args[@]}" >"$work/l$n.out" 2>"$work/l$n.err" || status=$?
    wine "$windows" "${args[@]}" >"$work/w$n.out" 2>"$work/w$n.err" || wstatus=$?
    if cmp -s "$work/l$n.out" "$work/w$n.out" && cmp -s "$work/l$n.err" "$work/w$n.err" &&
        [[ $status == "$wstatus" ]]; then
        same=$((same + 1))
    else
        different=$((different + 1))
        echo "DIFFERENT: kelvaro-calc ${args[*]} (status $status, Windows $wstatus)"
        diff <(cat "$work/l$n.out" "$work/l$n.err") <(cat "$work/w$n.out" "$work/w$n.err") | cut -c1-200 | head -n 5 || true
    fi
done
echo "kelvaro-calc.exe against kelvaro-calc: $same identical, $different different (of ${#cases[@]})"
[[ $different -eq 0 ]]
