; Kelvaro's Windows installer, built by scripts/package-windows-installer.sh
; with makensis, which hands in:
;   VERSION      the program's version (1.0)
;   OUTFILE      the setup program to write
;   ICON         resources/kelvaro.ico
;   CATALOGUE    the folder of the example catalogue
;   PROGRAMS     an include file that installs the program's files
;   REMOVE       an include file that deletes exactly those files
;
; For the user alone, without administrator rights, into the user's own
; programs folder, so that the catalogue beside the program can be written.
; The catalogue (jixing.dat, the machine files, the machine data files) is
; the user's: a new folder gets the example, an update never writes over it,
; and the uninstaller leaves it where it is and says so.

Unicode true
; Kelvaro is a 64-bit program; a 64-bit installer also runs where only
; 64-bit programs do (Wine without its 32-bit half).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvaro"
!define SHORTCUT "Kelvaro 挂轮计算.lnk"

Name "Kelvaro 挂轮计算"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kelvaro"
; An update goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Kelvaro ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=2052 "ProductName" "Kelvaro"
VIAddVersionKey /LANG=2052 "FileDescription" "Kelvaro 挂轮计算 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "CompanyName" "Kelvaro"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Kelvaro"

!include "MUI2.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\kelvaro.exe"
!define MUI_FINISHPAGE_RUN_TEXT "启动 Kelvaro 挂轮计算"

!define MUI_WELCOMEPAGE_TEXT "这个向导将为当前用户安装 Kelvaro ${VERSION}，不需要管理员权限。$\r$\n$\r$\n机床目录（jixing.dat 和机床文件）放在程序的文件夹中。升级时只替换程序文件，原有的机床目录不会被改动。$\r$\n$\r$\n单击“下一步”继续。"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_DIRECTORYPAGE_TEXT_TOP "Kelvaro 将安装到下面的文件夹，机床目录也保存在这里，因此这个文件夹必须可以写入。要安装到其他文件夹，单击“浏览”并选择一个可以写入的文件夹。"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Kelvaro 程序" SecProgram
    SectionIn RO
    !include "${PROGRAMS}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetOutPath "$INSTDIR"
    CreateShortCut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\kelvaro.exe" "" "$INSTDIR\kelvaro.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kelvaro 挂轮计算"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Kelvaro"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kelvaro.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SecProgram} $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Only into a folder without a catalogue, and even then no file of that name
; is written over.
Section "-示例机床目录"
    IfFileExists "$INSTDIR\jixing.dat" keep
    SetOutPath "$INSTDIR"
    SetOverwrite off
    File "${CATALOGUE}/*.dat"
    File "${CATALOGUE}/*.dat.txt"
    SetOverwrite on
    Goto done
keep:
    DetailPrint "保留原有的机床目录：$INSTDIR\jixing.dat"
done:
SectionEnd

Section /o "桌面快捷方式" SecDesktop
    SetOutPath "$INSTDIR"
    CreateShortCut "$DESKTOP\${SHORTCUT}" "$INSTDIR\kelvaro.exe" "" "$INSTDIR\kelvaro.exe" 0
SectionEnd

Section "Uninstall"
    !include "${REMOVE}"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\${SHORTCUT}"
    Delete "$DESKTOP\${SHORTCUT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; Removed only when nothing of the user's is left in it.
    RMDir "$INSTDIR"
    IfFileExists "$INSTDIR\*.*" 0 gone
    DetailPrint "机床目录保留在 $INSTDIR"
    MessageBox MB_OK|MB_ICONINFORMATION "Kelvaro 已卸载。$\r$\n$\r$\n机床目录（jixing.dat 和机床文件）保留在：$\r$\n$INSTDIR$\r$\n$\r$\n以后重新安装时会继续使用它；不再需要时可以删除这个文件夹。" /SD IDOK
gone:
SectionEnd
