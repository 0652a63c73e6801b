#!/usr/bin/env bash
# Opens Kelvaro's windows under Xvfb as a user would (clicks and typing via
# xdotool) and saves one screenshot per window into the folder given
# (default docs/screenshots). Needs a built program (scripts/build.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/screenshots}
"$root/scripts/setup.sh" imagemagick xdotool
mkdir -p "$out"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
app_dir=$(mktemp -d)
cp "$root/build/src/shell/kelvaro" "$app_dir/"
trap 'kill $app 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$app_dir"' EXIT
sleep 1
"$app_dir/kelvaro" &
app=$!

window() { # the id of the window with that exact title
    local id=""
    for _ in $(seq 50); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [[ -n "$id" ]] && break
        sleep 0.1
    done
    echo "$id"
}
click() { # window id, x, y in window pixels
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.5
}
shot() { import -window "$1" "$out/$2.png"; echo "saved $out/$2.png"; }

form1=$(window Kelvaro)
shot "$form1" form1

click "$form1" 230 150 # 普通Kelvaro
putong=$(window 普通Kelvaro)
xdotool windowmove "$putong" 0 0
click "$putong" 150 75 # ratio field
xdotool type --delay 20 "1.5"
click "$putong" 180 185 # smallest tooth count
xdotool type --delay 20 "20"
click "$putong" 180 245 # largest tooth count
xdotool type --delay 20 "30"
click "$putong" 125 315 # 计算
shot "$putong" putong
