#!/usr/bin/env bash
# Tries the Windows installer (scripts/package-windows-installer.sh) in a
# fresh Wine prefix as a user and a shop's deployment script would, and
# prints each step's result: a silent install; the installed kelvaro-calc.exe
# against the Linux kelvaro-calc on inputs from its own catalogue; kelvaro.exe
# started under Xvfb from the Start-menu shortcut's target; a machine added
# through its window landing in the installed catalogue; a silent update that
# keeps it and replaces the programs; the installer's pages clicked through
# (an update too) and the uninstaller's, saved as pictures; a silent
# uninstall that removes the programs and entries and keeps the catalogue.
#
#   scripts/check-installer-windows.sh [FOLDER]   # pictures: build-windows/screenshots
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build-windows/screenshots}
setup=$(ls "$root"/build-windows/kelvaro-*-windows-x86_64-setup.exe | head -n 1)
programs=$root/build-windows/installer/programs
linux_calc=$root/build/src/shell/kelvaro-calc
examples=$root/docs/examples/catalogue

source "$root/scripts/wine-fresh-prefix.sh"
source "$root/scripts/window-driver.sh"
prefix=installer- pause=0.8 tries=100
mkdir -p "$out"

failed=0
result() { # step, ok|FAILED, detail
    echo "installer: $1: $2${3:+ ($3)}"
    [[ $2 == ok ]] || failed=1
}
check() { # step, detail, command...: the command's success is the step's result
    if "${@:3}"; then result "$1" ok "$2"; else result "$1" FAILED "$2"; fi
}
unix_path() { sed "s|^C:|$wineprefix/drive_c|; s|\\\\|/|g" <<<"$1"; }
users=$wineprefix/drive_c/users/$(id -un)
[[ -d $users ]] || users=$(ls -d "$wineprefix"/drive_c/users/*/ | grep -v Public | head -n 1)
folder=$users/AppData/Local/Programs/Kelvaro
shortcut="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kelvaro 挂轮计算.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvaro'

# The target of a shell link: the local base path of its LinkInfo.
lnk_target() {
    local file=$1 flags pos header offset
    u32() { od -An -tu4 -j "$1" -N4 "$file" | tr -d ' '; }
    u16() { od -An -tu2 -j "$1" -N2 "$file" | tr -d ' '; }
    flags=$(u32 20)
    pos=76
    ((flags & 1)) && pos=$((pos + 2 + $(u16 $pos))) # the target's ID list
    ((flags & 2)) || return 0                       # no LinkInfo
    header=$(u32 $((pos + 4)))
    if ((header >= 36)); then
        offset=$(u32 $((pos + 28)))
        tail -c +$((pos + offset + 1)) "$file" | head -c 1024 | iconv -c -f UTF-16LE -t UTF-8 |
            tr '\0' '\n' | head -n 1
    else
        offset=$(u32 $((pos + 16)))
        tail -c +$((pos + offset + 1)) "$file" | tr '\0' '\n' | head -n 1
    fi
}
programs_installed() { # every file of the programs, byte for byte
    (cd "$programs" && find . -type f) | while read -r file; do
        cmp -s "$programs/$file" "$folder/$file" || return 1
    done
}
programs_gone() {
    (cd "$programs" && find . -type f) | while read -r file; do
        [[ ! -e $folder/$file ]] || return 1
    done
    [[ ! -e $folder/uninstall.exe && ! -e $folder/platforms ]]
}
registry() { # the uninstall entry as "name"="value" lines, UTF-8
    rm -f "$wineprefix/entry.reg"
    "$wine" reg export "$key" 'C:\entry.reg' >/dev/null 2>&1 || true
    [[ -f $wineprefix/drive_c/entry.reg ]] || return 0
    iconv -f UTF-16 -t UTF-8 "$wineprefix/drive_c/entry.reg" | tr -d '\r'
    rm -f "$wineprefix/drive_c/entry.reg"
}
settle() { # every Wine program ended, or killed after two minutes
    timeout 120 wineserver -w && return
    import -window root "$out/installer-stuck.png"
    result "Wine" FAILED "a program did not end: $out/installer-stuck.png"
    wineserver -k
}
catalogue_sum() { (cd "$folder" && cat jixing.dat *.dat *.dat.txt 2>/dev/null | md5sum); }

# 1. Silent install.
"$wine" "$setup" /S
settle
check "silent install" "${folder#"$wineprefix"/drive_c/}" programs_installed
examples_installed() {
    local file
    for file in "$examples"/*; do cmp -s "$file" "$folder/${file##*/}" || return 1; done
}
check "example catalogue" "$(ls "$examples" | tr '\n' ' ')" examples_installed
entry=$(registry)
for value in '"DisplayName"="Kelvaro 挂轮计算"' '"DisplayVersion"="1.0"' '"Publisher"="Kelvaro"' \
    '"QuietUninstallString"=".*uninstall.exe\\" /S"' '"DisplayIcon"=".*kelvaro.exe,0"'; do
    check "uninstall entry" "$value" grep -q "^$value" <<<"$entry"
done
target=$([[ -f $shortcut ]] && lnk_target "$shortcut")
check "Start-menu shortcut" "$target" test "$(unix_path "$target")" -ef "$folder/kelvaro.exe"

# 2. The installed kelvaro-calc.exe on its own catalogue, against Linux's.
if [[ -x $linux_calc ]]; then
    for args in "differential Y7150 2 20 30 0 0.00001 40" "differential 示例滚齿机 3 15 0 0 0.00001" \
        "differential --printout 示例磨齿机 2.5 8 6 30 0.0001 37" "ordinary --format json 1.21 0.00001 20 22"; do
        read -ra words <<<"$args"
        linux=("${words[@]}")
        [[ ${words[0]} == differential ]] && linux=(differential --catalogue "$examples" "${words[@]:1}")
        check "kelvaro-calc.exe" "$args" cmp -s <("$linux_calc" "${linux[@]}") \
            <(cd "$folder" && "$wine" ./kelvaro-calc.exe "${words[@]}")
    done
fi

# 3. kelvaro.exe from the shortcut's target, and a machine added through it.
(cd "$folder" && "$wine" "$target" >/dev/null 2>&1) &
app=$!
form1=$(window Kelvaro)
shot "$form1" start
click "$form1" 230 229 # 差动Kelvaro
chadong=$(window 差动Kelvaro)
xdotool windowmove "$chadong" 0 0
click "$chadong" 32 9 # menu item 增加机床
form2=$(window 增加机床)
xdotool windowmove "$form2" 0 0
type_text "$form2" 245 37 "YBS3120" # Text1
type_text "$form2" 245 90 "20"      # Text2
type_text "$form2" 245 144 "100"    # Text3
type_text "$form2" 245 194 "10"     # Text4
type_text "$form2" 245 246 "37,41"  # Text5
click "$form2" 125 324              # 确认
for _ in $(seq 25); do grep -q YBS3120 "$folder/jixing.dat" && break; sleep 0.2; done
check "machine added in kelvaro.exe" "jixing.dat lists YBS3120" grep -q '^YBS3120' "$folder/jixing.dat"
check "machine file" "YBS3120.dat" test -f "$folder/YBS3120.dat"
kill $app 2>/dev/null || true
wineserver -k 2>/dev/null || true
app=""

# 4. Silent update over it, with a program file damaged: the programs are
#    replaced, the catalogue kept byte for byte.
before=$(catalogue_sum)
printf 'damaged' >"$folder/qt.conf"
"$wine" "$setup" /S
settle
check "silent update" "programs replaced" programs_installed
check "update keeps the catalogue" "YBS3120 and every machine file" test "$(catalogue_sum)" = "$before"

# 5. The installer's pages, clicked through (an update into the same folder).
"$wine" "$setup" >/dev/null 2>&1 &
app=$!
page=$(window "Kelvaro 挂轮计算 安装")
for name in welcome components folder; do
    shot "$page" "$name"
    xdotool windowraise "$page" key Return # 下一步, then 安装
    sleep 1
done
sleep 3 # the files
shot "$page" finish
xdotool windowraise "$page" key Return # 完成, which starts Kelvaro
wait $app || true
app=""
wineserver -k 2>/dev/null || true
check "clicked-through update keeps the catalogue" "" test "$(catalogue_sum)" = "$before"

# 6. The uninstaller's pages: the programs go, and a message box says where
#    the catalogue stays. Installed again silently over the kept catalogue.
"$wine" "$folder/uninstall.exe" >/dev/null 2>&1 &
app=$!
page=$(window "Kelvaro 挂轮计算 卸载 ?") # NSIS ends this title with a blank
shot "$page" uninstall
xdotool windowraise "$page" key Return # 卸载
box=""
for _ in $(seq 50); do # the message box, a second window of the same title
    box=$(xdotool search --onlyvisible --name "^Kelvaro 挂轮计算 卸载 ?\$" | grep -vx "$page" | head -n 1) &&
        [[ -n $box ]] && break
    sleep 0.2
done
check "uninstaller says where the catalogue stays" "a message box" test -n "$box"
if [[ -n $box ]]; then
    shot "$box" uninstall-kept
    # Clicked: the keyboard follows the pointer on a display without a
    # window manager, and the box does not take it from there.
    eval "$(xdotool getwindowgeometry --shell "$box")"
    click "$box" $((WIDTH / 2)) $((HEIGHT - 16)) # OK
fi
for _ in $(seq 10); do # 关闭, once the last steps have enabled it
    xdotool search --onlyvisible --name "^Kelvaro 挂轮计算 卸载 ?\$" >/dev/null || break
    click "$page" 422 441
done
wait $app || true
settle
app=""
check "uninstaller's pages" "programs removed" programs_gone
check "uninstaller's pages keep the catalogue" "" test "$(catalogue_sum)" = "$before"
"$wine" "$setup" /S
settle
check "silent install over a kept catalogue" "" test "$(catalogue_sum)" = "$before"

# 7. Silent uninstall: the programs and the entries go, the catalogue stays.
"$wine" "$folder/uninstall.exe" /S
settle
for _ in $(seq 50); do [[ -e $folder/uninstall.exe ]] || break; sleep 0.2; done
check "silent uninstall" "programs removed" programs_gone
check "uninstall entry removed" "" test -z "$(registry)"
check "shortcut removed" "" test ! -e "$shortcut"
check "uninstall keeps the catalogue" "$(ls "$folder" | tr '\n' ' ')" \
    test "$(catalogue_sum)" = "$before"

exit $failed
