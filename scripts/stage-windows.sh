#!/usr/bin/env bash
# Shared by the zip (scripts/package-windows.sh) and the installer
# (scripts/package-windows-installer.sh): builds Kelvaro for Windows
# (scripts/build-windows.sh) and gathers the program's files into the empty
# folder given: kelvaro.exe and kelvaro-calc.exe, the Qt platform and style
# plugins the program loads, every DLL that these import from Qt or the
# MinGW runtime (followed through x86_64-w64-mingw32-objdump's import lists,
# DLL by DLL), qt.conf, Qt's Chinese texts and 说明.txt. The catalogue is
# not among them.
#
#   scripts/stage-windows.sh FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
stage=$1
build=$root/build-windows
qt=${KELVARO_QT_MINGW:-$HOME/.cache/kelvaro/qt-6.4.2-mingw}
runtime=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)

"$root/scripts/build-windows.sh"

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
version=$(sed -n 's/^project(Kelvaro VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
# Notepad on any Windows reads UTF-8 with a byte-order mark.
{
    printf '\xEF\xBB\xBF'
    sed 's/$/\r/' <<TEXT
Kelvaro 挂轮计算

1. 安装：运行 kelvaro-$version-windows-x86_64-setup.exe（不需要管理员权限），
   程序装到 %LOCALAPPDATA%\Programs\Kelvaro，从开始菜单的“Kelvaro 挂轮计算”启动。
   也可以把压缩包解压到自己可以写入的文件夹，例如 D:\Kelvaro，双击 kelvaro.exe
   启动。不要解压到 C:\Program Files：那里的文件夹不能写入，无法保存机床。
2. 机床目录就在程序的文件夹里：jixing.dat 列出机床型号，每台机床一个
   “型号.dat” 文件（GBK 编码，CR LF 换行）。示例机床可以删除；把原有的
   机床文件复制到这里即可使用。
3. 打印使用 Windows 的打印机；在窗口的打印机列表中选择。
4. kelvaro-calc.exe 在命令提示符中进行同样的计算，输入 kelvaro-calc --help 查看用法。

升级：运行新的安装程序，或用新的程序文件覆盖旧的；jixing.dat 和机床文件不会被改动。
卸载：在“设置 > 应用”（或控制面板的“程序和功能”）中卸载 Kelvaro；
机床目录（jixing.dat 和机床文件）留在程序的文件夹中。
TEXT
} >"$stage/说明.txt"
