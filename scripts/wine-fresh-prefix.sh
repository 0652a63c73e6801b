# Sourced by the scripts that try the Windows package as a user would
# (scripts/screenshots-windows.sh, scripts/check-installer-windows.sh): a
# fresh Wine prefix of its own with nothing of the build on its path, an
# Xvfb display, and the fonts and font smoothing of a Chinese Windows.
# Everything is removed on exit. Sets wine (the program), wineprefix and
# app (the pid of a program started in the background, killed on exit).
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
# faces the windows name, for the menus' and dialogs' Tahoma, and for the
# 宋体 that the installer's Chinese pages ask for by its Chinese name. And it
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
for face in SimSun NSimSun "Microsoft YaHei" Tahoma 宋体 新宋体 微软雅黑; do
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "Noto Sans CJK SC" /f \
        >/dev/null 2>&1
done
