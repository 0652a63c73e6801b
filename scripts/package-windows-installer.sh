#!/usr/bin/env bash
# Builds Kelvaro for Windows and makes
# build-windows/kelvaro-<version>-windows-x86_64-setup.exe with makensis
# (Debian's nsis) from cmake/kelvaro-installer.nsi: the program's files as
# scripts/stage-windows.sh gathers them for the zip too, the example
# catalogue for a new folder, the icon. The installer's lists of files to
# install and to remove are written from the gathered folder, so that the
# uninstaller removes exactly what the installer put there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-windows
version=$(sed -n 's/^project(Kelvaro VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
work=$build/installer
stage=$work/programs
setup=$build/kelvaro-$version-windows-x86_64-setup.exe
export LC_ALL=C.UTF-8

rm -rf "$work" "$setup"
"$root/scripts/stage-windows.sh" "$stage"

windows_path() { tr / '\\' <<<"$1"; }
(
    cd "$stage"
    find . -type d | sort | sed 's|^\./\?||' | while read -r dir; do
        echo "SetOutPath \"\$INSTDIR$(windows_path "${dir:+/$dir}")\""
        find "./$dir" -maxdepth 1 -type f | sort | sed 's|^\./||; s|^/||' | while read -r file; do
            echo "File \"$stage/$file\""
        done
    done
) >"$work/programs.nsh"
(
    cd "$stage"
    find . -type f | sort | sed 's|^\./||' | while read -r file; do
        echo "Delete \"\$INSTDIR\\$(windows_path "$file")\""
    done
    find . -mindepth 1 -type d | sort -r | sed 's|^\./||' | while read -r dir; do
        echo "RMDir \"\$INSTDIR\\$(windows_path "$dir")\""
    done
) >"$work/remove.nsh"

makensis -V2 -INPUTCHARSET UTF8 \
    -DVERSION="$version" -DOUTFILE="$setup" -DICON="$root/resources/kelvaro.ico" \
    -DCATALOGUE="$root/docs/examples/catalogue" \
    -DPROGRAMS="$work/programs.nsh" -DREMOVE="$work/remove.nsh" \
    "$root/cmake/kelvaro-installer.nsi"
echo "$setup: $(du -k "$setup" | cut -f1) KB"
echo "programs:"
(cd "$stage" && find . -type f | sort | sed 's|^\./|  |')
echo "example catalogue (a new folder only):"
(cd "$root/docs/examples/catalogue" && ls *.dat *.dat.txt | sed 's|^|  |')
