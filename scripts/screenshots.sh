#!/usr/bin/env bash
# Opens Kelvaro's windows under Xvfb as a user would (clicks and typing
# via xdotool) and saves one screenshot per window into the folder given
# (default docs/screenshots). Needs a built program (scripts/build.sh).
#
# The program runs from a temporary application directory with a small
# catalogue (Y7150 and C630), so the machine lists show entries. With
# QT_SCALE_FACTOR set (1.25, 1.5) the clicks are scaled along with the
# windows, to look at the layouts on a high-DPI screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshots}
"$root/scripts/setup.sh" imagemagick xdotool
# A printer in the printer lists, where this machine can run CUPS.
"$root/scripts/start-cups.sh" >/dev/null 2>&1 || true
mkdir -p "$out"
scale=${QT_SCALE_FACTOR:-1}

display=:$((90 + RANDOM % 100))
# A scaled run gets a screen of its size (150 %: 1920 x 1200, 1280 x 800 of layout).
screen=1280x1024
[[ $scale != 1 ]] && screen=1920x1200
Xvfb "$display" -screen 0 "${screen}x24" >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
app_dir=$(mktemp -d)
app=""
trap '[[ -n $app ]] && kill $app 2>/dev/null; kill $xvfb 2>/dev/null; rm -rf "$app_dir"' EXIT
cp "$root/build/src/shell/kelvaro" "$app_dir/"

# The catalogue files are GBK with CR LF line ends; these names are ASCII.
printf 'Y7150\r\nC630\r\n' >"$app_dir/jixing.dat"
printf '20\r\n100\r\n 2\r\n10\r\n37\r\n41\r\n' >"$app_dir/Y7150.dat"
printf '20\r\n120\r\n 1\r\n1\r\n\r\n' >"$app_dir/C630.dat"
# Y7150's data for the hobbing job: index rows, a box with two gears of 25.
printf 'index = 24 for Z/K from 1 to 161, e/f = 36/36\nbox = 20-100, 25, -37, -41\n' \
    >"$app_dir/Y7150.dat.txt"

sleep 1
"$app_dir/kelvaro" 2>/dev/null &
app=$!

source "$root/scripts/window-driver.sh"

form1=$(window Kelvaro)
shot "$form1" form1

click "$form1" 230 155 # 普通Kelvaro
putong=$(window 普通Kelvaro)
xdotool windowmove "$putong" 0 0
type_text "$putong" 170 75 "1.5"  # chuandongbi
type_text "$putong" 185 192 "20"  # zuishaochishu
type_text "$putong" 185 253 "30"  # zuidachishu
click "$putong" 125 315           # 计算
shot "$putong" putong
# The ratio typed over: the list greys, its tooltip names the inputs that made it.
click "$putong" 170 75
xdotool key ctrl+a type "2"
for x in 320 330; do # a move within the list shows its tooltip
    xdotool mousemove --window "$putong" "$(scaled "$x")" "$(scaled 75)"
    sleep 1
done
shot "$putong" putong-stale

click "$form1" 230 229 # 差动Kelvaro
chadong=$(window 差动Kelvaro)
xdotool windowmove "$chadong" 0 0
# Y7150, the first machine, is chosen on activation and asks for the part's teeth.
type_text "$chadong" 180 106 "2"  # moshu
type_text "$chadong" 180 331 "25" # 齿数
click "$chadong" 129 403          # 计算
shot "$chadong" chadong

click "$chadong" 32 9 # menu item 增加机床
form2=$(window 增加机床)
xdotool windowmove "$form2" 0 0
type_text "$form2" 245 37 "YBS3120" # Text1
type_text "$form2" 245 90 "20"      # Text2
type_text "$form2" 245 144 "100"    # Text3
type_text "$form2" 245 194 "10"     # Text4
type_text "$form2" 245 246 "37,41"  # Text5
shot "$form2" form2
click "$form2" 264 323 # 退出

click "$chadong" 90 9 # menu item 删除机床
form3=$(window 删除机床)
xdotool windowmove "$form3" 0 0
click "$form3" 243 86 # opens the machine list
xdotool key Down Return
shot "$form3" form3
click "$form3" 353 158 # 退出

# 挂轮详情 of the first set of a helical gear (20°30′).
xdotool windowraise "$chadong"
type_text "$chadong" 180 147 "20" # luoxuanjiaodu
type_text "$chadong" 180 188 "30" # luoxuanjiaofen
click "$chadong" 129 403          # 计算
double_click "$chadong" 330 103
details=$(window 挂轮详情)
xdotool windowmove "$details" 0 0
shot "$details" details

# 滚齿调整: Z 40, m 3, 15°, the hob's lead angle 2.5°, on Y7150 (the first
# machine); the window is laid out by Qt, so the fields are clicked where
# its layout puts them.
click "$form1" 274 293 # 滚齿调整
gunchi=$(window 滚齿调整)
xdotool windowmove "$gunchi" 0 0
type_text "$gunchi" 270 55 "40"   # chishu
type_text "$gunchi" 270 86 "3"    # moshu
type_text "$gunchi" 130 117 "15"  # luoxuanjiaodu
type_text "$gunchi" 270 286 "2.5" # shengjiao
xdotool key Return                # Enter in a field calculates
sleep 2
shot "$gunchi" gunchi
# 机床资料 of Y7150 as a form, beside the machine's row in the job window.
click "$gunchi" 398 363
jichuang=$(window "机床资料 Y7150")
xdotool windowmove "$jichuang" 0 0
shot "$jichuang" jichuangziliao

# The cards on A4 (Z 40, Z 127, Z 40 after a correction, Z 107 indexed
# differentially with its feed), as the card test prints them to PDF.
cards=$(mktemp -d)
KELVARO_CARD=$cards QT_QPA_PLATFORM=offscreen "$root/build/tests/job/job_card_test" >/dev/null 2>&1
for card in "Z 40:card-z40" "Z 127:card-z127" "Z 40 corrected:card-corrected" "Z 107:card-z107"; do
    pdftoppm -png -r 80 -singlefile "$cards/${card%%:*}.pdf" "$out/${card#*:}"
    echo "saved $out/${card#*:}.png"
done
rm -rf "$cards"
