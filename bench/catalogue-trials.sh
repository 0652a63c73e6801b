#!/usr/bin/env bash
# Trials of the catalogue under two writers and under kills, with
# kelvaro-catalogue-writer (bench/catalogue_writer.cpp):
#   adds    two processes add a machine each at the same moment
#   delete  one adds a machine while the other deletes Y7150
#   loops   two processes each add and delete 40 machines in a loop
#   kills   one process adding and deleting is killed (SIGKILL) at a
#           random moment; every file must be wholly old or wholly new, and
#           the temporary files left are counted, then again a minute later
# For each kind it prints the trials, the trials whose catalogue differs
# from what the writers reported done, and the entries lost (reported
# added but not listed, or reported deleted and still listed).
#
#   bench/catalogue-trials.sh [TRIALS]   (default 200; BUILD=build,
#       WRITER=another writer program, KINDS="adds delete loops kills")
set -uo pipefail
cd "$(dirname "$0")/.."
trials=${1:-200}
build=${BUILD:-build}
if [[ -z ${WRITER:-} ]]; then
    cmake --build "$build" --target kelvaro-catalogue-writer >/dev/null || exit 1
    WRITER=$build/bench/kelvaro-catalogue-writer
fi
writer=$(realpath "$WRITER")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
machine=$'20\r\n100\r\n 2\r\n10\r\n37\r\n41\r\n'

fresh() {
    rm -rf "$work/cat" && mkdir "$work/cat"
    printf 'C630\r\nY7150\r\n' >"$work/cat/jixing.dat"
    printf '30\r\n90\r\n 1\r\n5\r\n\r\n' >"$work/cat/Y7150.dat"
}

listed() { tr -d '\r' <"$work/cat/jixing.dat" | sort; }

# What the reports say the list must hold: the names given, then each
# reported add, minus each reported delete, in report order per writer.
expected() {
    local names=("$@")
    cat "$work"/out* | awk -v start="${names[*]}" '
        BEGIN { n = split(start, s, " "); for (i = 1; i <= n; ++i) have[s[i]] = 1 }
        $1 == "done" && $2 == "add" { have[$3] = 1 }
        $1 == "done" && $2 == "delete" { delete have[$3] }
        END { for (k in have) print k }' | sort
}

# Lost entries: reported added and missing, reported deleted and listed,
# reported failed and listed; a reported add without its machine file.
check() {
    local want got lost
    want=$(expected "$@")
    got=$(listed)
    lost=$(comm -3 <(echo "$want") <(echo "$got") | grep -c .)
    for m in $(awk '$1 == "done" && $2 == "add" { print $3 }' "$work"/out*); do
        [[ -f "$work/cat/$m.dat" ]] || lost=$((lost + 1))
    done
    echo "$lost"
}

report() { printf '%-7s trials %4d  wrong %4d  entries lost %4d%s\n' "$1" "$2" "$3" "$4" "${5:-}"; }

for kind in ${KINDS:-adds delete loops kills}; do
    [[ $kind == kills ]] && continue
    wrong=0 lost=0
    n=$trials
    [[ $kind == loops ]] && n=$((trials / 10))
    for ((t = 0; t < n; ++t)); do
        fresh
        rm -f "$work"/out*
        case $kind in
        adds)
            "$writer" "$work/cat" add A >"$work/out1" 2>&1 &
            "$writer" "$work/cat" add B >"$work/out2" 2>&1 ;;
        delete)
            "$writer" "$work/cat" add A >"$work/out1" 2>&1 &
            "$writer" "$work/cat" delete Y7150 >"$work/out2" 2>&1 ;;
        loops)
            "$writer" "$work/cat" loop P 40 >"$work/out1" 2>&1 &
            "$writer" "$work/cat" loop Q 40 >"$work/out2" 2>&1 ;;
        esac
        wait
        l=$(check C630 Y7150)
        ((l > 0)) && wrong=$((wrong + 1))
        lost=$((lost + l))
    done
    report "$kind" "$n" "$wrong" "$lost"
done

# Kills: every list line a whole entry and the list whole, every machine
# file exactly the bytes written, and the next writer not kept out.
[[ " ${KINDS:-kills} " == *" kills "* ]] || exit 0
fresh
torn=0 stuck=0
for ((t = 0; t < trials; ++t)); do
    "$writer" "$work/cat" loop "K${t}_" 1000 >/dev/null 2>&1 &
    pid=$!
    sleep "0.0$((RANDOM % 90 + 5))"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    list=$work/cat/jixing.dat
    if [[ -s $list && $(tail -c 2 "$list" | od -An -tx1 | tr -d ' ') != 0d0a ]] ||
        tr -d '\r' <"$list" | grep -qvE '^(C630|Y7150|K[0-9]+_[0-9]+)$'; then
        torn=$((torn + 1))
    fi
    for f in "$work"/cat/K*.dat; do
        [[ -e $f ]] || continue
        [[ $(cat "$f"; echo .) == "$machine." ]] || torn=$((torn + 1))
    done
    "$writer" "$work/cat" delete C630 add C630 >/dev/null 2>&1 || stuck=$((stuck + 1))
done
left=$(find "$work/cat" -name '*.tmp' | wc -l)
# A minute later the next writer removes what the killed ones left.
sleep 61
"$writer" "$work/cat" delete C630 >/dev/null 2>&1
printf 'kills   trials %4d  torn files %d  next writer kept out %d  temporary files left %d, a minute later %d\n' \
    "$trials" "$torn" "$stuck" "$left" "$(find "$work/cat" -name '*.tmp' | wc -l)"
