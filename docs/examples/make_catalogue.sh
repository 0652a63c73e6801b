#!/usr/bin/env bash
# Writes the example catalogue into docs/examples/catalogue/ (or the folder
# given): the files the program reads, in GBK with CR LF line ends. The
# machines and their numbers are made up, to show the format and to try the
# differential calculation and the hobbing job; they describe no real
# machine.
#
# A machine file holds one field per line: smallest and largest tooth count,
# the number of missing tooth counts (written with a leading blank, as the
# program writes it), the machine constant, then the missing tooth counts.
set -euo pipefail
out=${1:-$(cd "$(dirname "$0")" && pwd)/catalogue}
mkdir -p "$out"

# write FILE LINE...: the lines in GBK, each ended by CR LF.
write() {
    local file=$1
    shift
    printf '%s\r\n' "$@" | iconv -f UTF-8 -t GBK >"$out/$file"
}

write jixing.dat Y7150 示例滚齿机 示例磨齿机
write Y7150.dat 20 100 ' 2' 100 37 41
write 示例滚齿机.dat 20 100 ' 3' 8 23 47 53
# No missing tooth count: one empty field, as the add-machine dialog stores it.
write 示例磨齿机.dat 24 90 ' 1' 12 ''

# The hobbing machine's data for the job (UTF-8, LF): its index constant for
# two ranges of Z/K, a box with two gears of 25 and 40 teeth, the clearance.
cat >"$out/示例滚齿机.dat.txt" <<'DATA'
# 机床 示例滚齿机 的滚齿调整资料
index = 24 for Z/K from 1 to 161, e/f = 36/36
index = 48 for Z/K from 162 to 1000, e/f = 24/48
box = 20-100, 25, 40, -23, -47, -53
clearance = 10
DATA
