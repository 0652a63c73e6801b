# Sourced by the Windows scripts: Wine with a prefix of its own under
# ~/.cache/kelvaro (created on first use, with Debian's Noto CJK among its
# fonts so that Chinese text has real glyphs), quiet, with a UTF-8 locale so
# that Chinese arguments reach the programs, and the Qt and MinGW DLLs on
# its path.
export WINEPREFIX=${WINEPREFIX:-$HOME/.cache/kelvaro/wine-tests}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LC_ALL=C.UTF-8
# Debian's wine64 (not on PATH); `wine` picks it for 64-bit programs too.
kelvaro_wine=$(command -v wine64 || { [[ -x /usr/lib/wine/wine64 ]] && echo /usr/lib/wine/wine64; } || command -v wine)
wine() { "$kelvaro_wine" "$@"; }
kelvaro_qt_mingw=${KELVARO_QT_MINGW:-$HOME/.cache/kelvaro/qt-6.4.2-mingw}
export WINEPATH="Z:$kelvaro_qt_mingw/bin;Z:/usr/lib/gcc/x86_64-w64-mingw32/12-posix;Z:/usr/x86_64-w64-mingw32/lib;Z:/usr/bin"
if [[ ! -f $WINEPREFIX/.kelvaro-ready ]]; then
    mkdir -p "$WINEPREFIX"
    wine wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    touch "$WINEPREFIX/.kelvaro-ready"
fi
# The faces the layouts fall back on under Linux (scripts/setup.sh installs
# them), so that the window tests measure the same glyphs on both systems.
fonts=$WINEPREFIX/drive_c/windows/Fonts
mkdir -p "$fonts"
for font in /usr/share/fonts/opentype/noto/NotoS*CJK-{Regular,Bold}.ttc \
    /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc \
    /usr/share/fonts/truetype/liberation2/LiberationSans-{Regular,Bold}.ttf \
    /usr/share/fonts/truetype/dejavu/DejaVuSans{,-Bold}.ttf; do
    [[ -f $font ]] && cp -u "$font" "$fonts/"
done
# One Wine server for the whole run: each program then starts in a fraction
# of a second. The first program of a server starts Wine's own services,
# which live as long as the server: started here, away from any output that
# ctest waits on, they do not keep a test's output open until its timeout.
wineserver -p 300 >/dev/null 2>&1 || true
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
