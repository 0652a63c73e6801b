#!/usr/bin/env bash
# Installs Kelvaro for the user into a folder of its own and adds it to the
# desktop's menu:
#
#   scripts/install.sh [DIR]               builds, installs into DIR
#                                          (~/.local/opt/kelvaro by default)
#   scripts/install.sh --uninstall [DIR]   removes the programs and the entry
#
# The catalogue lives beside the program, in DIR. Installing again updates
# the programs and keeps the catalogue; uninstalling leaves it there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

uninstall=false
if [[ ${1:-} == --uninstall ]]; then
    uninstall=true
    shift
fi
if [[ $# -gt 1 || ${1:-} == -* ]]; then
    echo "Usage: scripts/install.sh [--uninstall] [DIR]" >&2
    exit 2
fi
dir=${1:-$HOME/.local/opt/kelvaro}
apps=${XDG_DATA_HOME:-$HOME/.local/share}/applications
entry=$apps/kelvaro.desktop

# Whether the menu entry starts DIR's program: it is DIR's own entry, or
# its Exec names DIR's program as the install writes it.
entry_runs_dir() {
    [[ -f $entry ]] || return 1
    cmp -s "$1/kelvaro.desktop" "$entry" || grep -qxF "Exec=\"$1/kelvaro\"" "$entry"
}

if $uninstall; then
    if [[ ! -d $dir ]]; then
        echo "install.sh: no folder $dir" >&2
        exit 1
    fi
    dir=$(cd "$dir" && pwd)
    if entry_runs_dir "$dir"; then
        rm -f "$entry"
        echo "Removed the menu entry $entry"
    elif [[ -f $entry ]]; then
        echo "Kept the menu entry $entry: it starts another folder's Kelvaro"
    fi
    rm -f "$dir/kelvaro" "$dir/kelvaro-calc" "$dir/kelvaro.png" "$dir/kelvaro.desktop"
    echo "Removed Kelvaro from $dir"
    shopt -s nullglob
    catalogue=("$dir"/*.dat)
    if [[ ${#catalogue[@]} -gt 0 ]]; then
        echo "The catalogue stays in $dir (jixing.dat and the machine files); delete the folder when it is no longer needed."
    else
        rmdir "$dir" 2>/dev/null || true
    fi
    exit 0
fi

"$root/scripts/setup.sh"
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
cd "$root"
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target kelvaro kelvaro-calc
cmake --install build --prefix "$dir" --strip

mkdir -p "$apps"
cp "$dir/kelvaro.desktop" "$entry.tmp"
mv "$entry.tmp" "$entry"
echo "Kelvaro is installed in $dir, with its catalogue beside it."
echo "Menu entry: $entry"
