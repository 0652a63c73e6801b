#!/usr/bin/env bash
# kelvaro-calc under a limit of its address space (ulimit -v): the list of
# 913,046 sets in every output within 100 MB, as the text output always
# fitted; within 20 MB the search cannot keep its sets, and every output
# says so in a message with status 1 instead of aborting.
#
#   memory_limit_test.sh KELVARO_CALC
set -uo pipefail
calc=$1
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
failures=0
message='内存不足，请缩小齿数范围或减小允差'

# limit, options, status, bytes on standard output, standard error
while read -r limit options status bytes stderr; do
    # shellcheck disable=SC2086 # the options are words
    (ulimit -v "$limit" && exec "$calc" ordinary ${options/_/ } 1 0.00001 20 700) >"$out" 2>"$err"
    got=$?
    [[ $stderr == - ]] && stderr=''
    [[ $stderr == message ]] && stderr=$message
    # json writes its message to standard output
    [[ $status == 1 && -z $stderr ]] && ! grep -q "$message" "$out" && got="$got, no message"
    if [[ $got != "$status" || $(wc -c <"$out") != "$bytes" || $(cat "$err") != "$stderr" ]]; then
        echo "FAILED: ulimit -v $limit, $options: status $got, $(wc -c <"$out") bytes," \
            "error: $(head -c 200 "$err")" >&2
        failures=$((failures + 1))
    fi
done <<'ROWS'
100000 --format_text 0 24448174 -
100000 --format_csv 0 25791195 -
100000 --format_json 0 126146596 -
100000 --printout 0 33949335 -
20000 --format_text 1 0 message
20000 --format_csv 1 0 message
20000 --format_json 1 66 -
20000 --printout 1 0 message
ROWS
exit $((failures > 0))
