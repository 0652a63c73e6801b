#!/usr/bin/env bash
# Builds Kelvaro for Windows (scripts/build-windows.sh) and makes
# build-windows/kelvaro-<version>-windows-x86_64.zip: kelvaro.exe and
# kelvaro-calc.exe, the Qt platform and style plugins the program loads,
# every DLL that these import from Qt or the MinGW runtime (followed through
# x86_64-w64-mingw32-objdump's import lists, DLL by DLL), Qt's Chinese
# texts, the example catalogue and 说明.txt. Unpacked anywhere, the folder
# is the program and its catalogue.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-windows
qt=${KELVARO_QT_MINGW:-$HOME/.cache/kelvaro/qt-6.4.2-mingw}
runtime=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
version=$(sed -n 's/^project(Kelvaro VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name=kelvaro-$version-windows-x86_64
stage=$build/package/$name
zip=$build/$name.zip
export LC_ALL=C.UTF-8 # the catalogue's Chinese file names go into the zip as UTF-8

"$root/scripts/build-windows.sh"

rm -rf "$build/package" "$zip"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations"
for program in kelvaro kelvaro-calc; do
    x86_64-w64-mingw32-strip -o "$stage/$program.exe" "$build/$program.exe"
done
# Loaded by name at start, not imported: the windows platform and its style.
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"

# The DLLs each file imports that come from Qt or the MinGW runtime, and
# theirs in turn; the system's own DLLs (KERNEL32.dll, USER32.dll, ...) are
# Windows'.
find_dll() {
    local dir
    for dir in "$qt/bin" "${runtime[@]}"; do
        [[ -f $dir/$1 ]] && { echo "$dir/$1"; return; }
    done
    return 0 # one of Windows' own
}
todo=("$stage"/*.exe "$stage"/platforms/*.dll "$stage"/styles/*.dll)
while ((${#todo[@]})); do
    file=${todo[0]}
    todo=("${todo[@]:1}")
    while read -r dll; do
        [[ -f $stage/$dll ]] && continue
        source=$(find_dll "$dll")
        [[ -n $source ]] || continue
        x86_64-w64-mingw32-strip -o "$stage/$dll" "$source"
        todo+=("$stage/$dll")
    done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
done

# Plugins and translations beside the program.
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' >"$stage/qt.conf"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$stage/translations/"
cp "$root"/docs/examples/catalogue/*.dat "$root"/docs/examples/catalogue/*.dat.txt "$stage/"
# Notepad on any Windows reads UTF-8 with a byte-order mark.
{
    printf '\xEF\xBB\xBF'
    sed 's/$/\r/' <<'TEXT'
Kelvaro 挂轮计算

1. 把这个压缩包解压到任意文件夹，例如 D:\Kelvaro。
2. 双击 kelvaro.exe 启动程序。
3. 机床目录就在同一个文件夹里：jixing.dat 列出机床型号，每台机床一个
   “型号.dat” 文件（GBK 编码，CR LF 换行）。示例机床可以删除；把原有的
   机床文件复制到这里即可使用。
4. 打印使用 Windows 的打印机；在窗口的打印机列表中选择。
5. kelvaro-calc.exe 在命令提示符中进行同样的计算，输入 kelvaro-calc --help 查看用法。

升级时用新的程序文件覆盖旧的即可，jixing.dat 和机床文件不会被改动。
TEXT
} >"$stage/说明.txt"

(cd "$build/package" && zip -q -r -X "$zip" "$name")
echo "$zip: $(du -k "$zip" | cut -f1) KB"
(cd "$build/package" && find "$name" -type f | sort)
