#!/usr/bin/env bash
# Builds Kelvaro for Windows and makes
# build-windows/kelvaro-<version>-windows-x86_64.zip: the program's files as
# scripts/stage-windows.sh gathers them (the programs, the plugins, the DLLs
# they import, Qt's Chinese texts, 说明.txt) and the example catalogue.
# Unpacked anywhere the user can write, the folder is the program and its
# catalogue.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-windows
version=$(sed -n 's/^project(Kelvaro VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name=kelvaro-$version-windows-x86_64
stage=$build/package/$name
zip=$build/$name.zip
export LC_ALL=C.UTF-8 # the catalogue's Chinese file names go into the zip as UTF-8

rm -rf "$build/package" "$zip"
"$root/scripts/stage-windows.sh" "$stage"
cp "$root"/docs/examples/catalogue/*.dat "$root"/docs/examples/catalogue/*.dat.txt "$stage/"
(cd "$build/package" && zip -q -r -X "$zip" "$name")
echo "$zip: $(du -k "$zip" | cut -f1) KB"
(cd "$build/package" && find "$name" -type f | sort)
