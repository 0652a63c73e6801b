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

prefix=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
app=""
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LC_ALL=C.UTF-8 DISPLAY=$display
unset WINEPATH QT_QPA_PLATFORM
trap '[[ -n $app ]] && kill $app 2>/dev/null; wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null; rm -rf "$prefix"' EXIT
wine=$(command -v wine64 || { [[ -x /usr/lib/wine/wine64 ]] && echo /usr/lib/wine/wine64; } || command -v wine)

# A Chinese Windows has Chinese fonts: Noto CJK stands in for them.
"$wine" wineboot --init >/dev/null 2>&1 || true
wineserver -w
cp /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc "$prefix/drive_c/windows/Fonts/"
mkdir -p "$prefix/drive_c/Kelvaro"
unzip -q "$zip" -d "$prefix/drive_c/Kelvaro"
folder=$(ls -d "$prefix"/drive_c/Kelvaro/kelvaro-*)
(cd "$folder" && "$wine" kelvaro.exe >/dev/null 2>&1) &
app=$!
mkdir -p "$out"

window() { # the id of the visible window with that exact title
    local id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [[ -n "$id" ]] && break
        sleep 0.2
    done
    [[ -n "$id" ]] || { echo "screenshots: no window \"$1\"" >&2; exit 1; }
    echo "$id"
}
click() { # window id, x, y in window pixels
    xdotool windowraise "$1" mousemove --window "$1" "$2" "$3" click 1
    sleep 0.8
}
type_text() { # window id, x, y of a text field, text
    click "$1" "$2" "$3"
    xdotool key ctrl+a
    xdotool type --delay 30 "$4"
}
shot() {
    xdotool windowraise "$1"
    sleep 0.8
    import -window "$1" "$out/windows-$2.png"
    echo "saved $out/windows-$2.png"
}

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
click "$chadong" 180 40 # the machine list: the example's second machine, 示例滚齿机
xdotool key Down Return
type_text "$chadong" 180 106 "3"
type_text "$chadong" 180 147 "15"
click "$chadong" 129 403 # 计算
shot "$chadong" chadong

xdotool mousemove --window "$chadong" 330 103 click --repeat 2 --delay 80 1
details=$(window 挂轮详情)
xdotool windowmove "$details" 0 0
shot "$details" details
