#!/usr/bin/env bash
# Unpacks the Windows zip (scripts/package-windows.sh) into a fresh Wine
# prefix, starts kelvaro.exe from it under Xvfb with only the zip's DLLs,
# calculates as a user would (xdotool), and saves docs/screenshots/windows-*.png:
# the start window, 普通 with results, 差动 with the example catalogue (GBK,
# Chinese file names), and the details of a set.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshots}
zip=$(ls "$root"/build-windows/kelvaro-*-windows-x86_64.zip | head -n 1)
"$root/scripts/setup-windows.sh"

source "$root/scripts/wine-fresh-prefix.sh"
mkdir -p "$wineprefix/drive_c/Kelvaro"
unzip -q "$zip" -d "$wineprefix/drive_c/Kelvaro"
folder=$(ls -d "$wineprefix"/drive_c/Kelvaro/kelvaro-*)
(cd "$folder" && "$wine" kelvaro.exe >/dev/null 2>&1) &
app=$!
mkdir -p "$out"

source "$root/scripts/window-driver.sh"
prefix=windows- pause=0.8 tries=100

form1=$(window Kelvaro)
shot "$form1" start

click "$form1" 230 155 # 普通Kelvaro
putong=$(window 普通Kelvaro)
xdotool windowmove "$putong" 0 0
type_text "$putong" 170 75 "1.5"
type_text "$putong" 185 192 "20"
type_text "$putong" 185 253 "30"
click "$putong" 125 315 # 计算
shot "$putong" putong

click "$form1" 230 229 # 差动Kelvaro
chadong=$(window 差动Kelvaro)
xdotool windowmove "$chadong" 0 0
click "$chadong" 210 293 # the machine list: the example's second machine, 示例滚齿机
xdotool key Down Return
sleep 0.8
type_text "$chadong" 180 106 "3"
type_text "$chadong" 180 147 "15"
click "$chadong" 129 403 # 计算
shot "$chadong" chadong

double_click "$chadong" 330 103
details=$(window 挂轮详情)
xdotool windowmove "$details" 0 0
shot "$details" details
