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

wineprefix=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
app=""
export WINEPREFIX=$wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LC_ALL=C.UTF-8 DISPLAY=$display
unset WINEPATH QT_QPA_PLATFORM
trap '[[ -n $app ]] && kill $app 2>/dev/null; wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null; rm -rf "$wineprefix"' EXIT
wine=$(command -v wine64 || { [[ -x /usr/lib/wine/wine64 ]] && echo /usr/lib/wine/wine64; } || command -v wine)

# A Chinese Windows has Chinese fonts: Noto CJK stands in for them, for the
# faces the windows name and for the menus' and dialogs' Tahoma. And it
# smooths its fonts (ClearType), which Wine does only when told: unsmoothed,
# small Chinese text loses strokes.
"$wine" wineboot --init >/dev/null 2>&1 || true
wineserver -w
cp /usr/share/fonts/opentype/noto/NotoS*CJK-Regular.ttc "$wineprefix/drive_c/windows/Fonts/"
desktop='HKCU\Control Panel\Desktop'
"$wine" reg add "$desktop" /v FontSmoothing /d 2 /f >/dev/null 2>&1
"$wine" reg add "$desktop" /v FontSmoothingType /t REG_DWORD /d 2 /f >/dev/null 2>&1
"$wine" reg add "$desktop" /v FontSmoothingGamma /t REG_DWORD /d 1400 /f >/dev/null 2>&1
"$wine" reg add "$desktop" /v FontSmoothingOrientation /t REG_DWORD /d 1 /f >/dev/null 2>&1
for face in SimSun NSimSun "Microsoft YaHei" Tahoma; do
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "Noto Sans CJK SC" /f \
        >/dev/null 2>&1
done
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
