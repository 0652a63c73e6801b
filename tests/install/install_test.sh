#!/usr/bin/env bash
# Installs the built Kelvaro into a folder, updates it over a changed
# catalogue, packs and unpacks the tarball, and uninstalls, checking that
# the catalogue beside the program survives each step byte for byte.
#
#   install_test.sh BUILD_DIR VERSION    (CMAKE_COMMAND, CPACK_COMMAND: the tools)
set -euo pipefail
build=$1
version=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
cmake=${CMAKE_COMMAND:-cmake}
cpack=${CPACK_COMMAND:-cpack}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A blank and a dollar sign in the folder's name, which the entry must quote.
dir="$tmp/my \$kelvaro"
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}
expect_equal() { # what, expected, actual
    [[ $2 == "$3" ]] || fail "$1: expected [$2], got [$3]"
}
catalogue() { # the names and bytes of the catalogue files in a folder
    (cd "$1" && sha256sum -- *.dat)
}
best_set() { # the last line of a differential calculation by a folder's kelvaro-calc
    "$1/kelvaro-calc" differential "${@:2}" | tail -n 1
}

# A fresh folder: programs, icon, entry, and the example catalogue.
"$cmake" --install "$build" --prefix "$dir" >/dev/null
for file in kelvaro kelvaro-calc kelvaro.png kelvaro.desktop jixing.dat Y7150.dat; do
    [[ -f $dir/$file ]] || fail "install left out $file"
done
expect_equal "--version" "kelvaro-calc $version" "$("$dir/kelvaro-calc" --version)"
expect_equal "example Y7150" " 67    67    54    71     -3.852938E-07" \
    "$(best_set "$dir" Y7150 2 20 30 0 0.00001 40)"

# The entry runs this folder's program, and is valid.
expect_equal "Exec" "Exec=\"$tmp/my \\\\\$kelvaro/kelvaro\"" "$(grep '^Exec=' "$dir/kelvaro.desktop")"
expect_equal "Icon" "Icon=$dir/kelvaro.png" "$(grep '^Icon=' "$dir/kelvaro.desktop")"
expect_equal "desktop-file-validate" "" "$(desktop-file-validate "$dir/kelvaro.desktop" 2>&1)"

# An update over a catalogue the user changed: an example machine removed,
# one added, and a damaged program, which the update replaces.
printf 'Y7150\r\nQ1\r\n' >"$dir/jixing.dat"
printf '20\r\n80\r\n 1\r\n5\r\n\r\n' >"$dir/Q1.dat"
rm "$dir/示例滚齿机.dat"
before=$(catalogue "$dir")
echo broken >"$dir/kelvaro-calc"
"$cmake" --install "$build" --prefix "$dir" >/dev/null
expect_equal "catalogue after the update" "$before" "$(catalogue "$dir")"
expect_equal "added machine Q1" " 29    73    31    78     -1.482695E-06" \
    "$(best_set "$dir" Q1 2 20 30 0 0.00001)"

# The tarball, unpacked elsewhere, runs with its own catalogue. The install
# script stands in for CPack's build of the project, which the suite has done.
"$cpack" --config "$build/CPackConfig.cmake" -G TGZ -B "$tmp/pack" -D CPACK_INSTALL_CMAKE_PROJECTS= \
    -D "CPACK_INSTALL_SCRIPTS=$build/cmake_install.cmake" >/dev/null
mkdir "$tmp/unpacked"
tar -xzf "$tmp/pack/kelvaro-$version-linux-$(uname -m).tar.gz" -C "$tmp/unpacked"
unpacked=$tmp/unpacked/kelvaro-$version-linux-$(uname -m)
expect_equal "tarball Y7150" " 67    67    54    71     -3.852938E-07" \
    "$(best_set "$unpacked" Y7150 2 20 30 0 0.00001 40)"
expect_equal "tarball entry" "" "$(desktop-file-validate "$unpacked/kelvaro.desktop" 2>&1)"

# Uninstalling removes the programs and the user's menu entry, not the catalogue.
home=$tmp/home
mkdir -p "$home/.local/share/applications"
cp "$dir/kelvaro.desktop" "$home/.local/share/applications/"
said=$(env -u XDG_DATA_HOME HOME="$home" bash "$root/scripts/install.sh" --uninstall "$dir")
for path in "$dir"/{kelvaro,kelvaro-calc,kelvaro.desktop} "$home/.local/share/applications/kelvaro.desktop"; do
    [[ ! -e $path ]] || fail "uninstall left $path"
done
expect_equal "catalogue after uninstalling" "$before" "$(catalogue "$dir")"
[[ $said == *"The catalogue stays in $dir "* ]] || fail "uninstall did not say where the catalogue is: $said"

exit $((failures > 0))
