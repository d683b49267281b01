; The setup program: per machine into Program Files, a Start-menu entry and a desktop shortcut
; that open the designer, an entry in the installed programs, and an uninstaller that removes
; exactly what was installed. The build defines VT_VERSION, VT_FILES (the generated file
; list), VT_ICON, VT_OUTFILE and VT_SIGN (the signing script, which does nothing when no
; certificate is given).
Unicode true
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "${VT_FILES}"

!define PRODUCT "Vintrosk!"
!define PUBLISHER "the Vintrosk! developers"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vintrosk"
!define SHORTCUT "Vintrosk!.lnk"

Name "${PRODUCT}"
OutFile "${VT_OUTFILE}"
InstallDir "$PROGRAMFILES\Vintrosk"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VT_VERSION}"
VIFileVersion "${VT_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VT_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VT_VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

; makensis writes the uninstaller and the setup program, then signs them before the uninstaller
; is packed and after the setup program is complete; a failed signature fails the build.
!uninstfinalize '"${VT_SIGN}" "%1"' = 0
!finalize '"${VT_SIGN}" "%1"' = 0

!define MUI_ICON "${VT_ICON}"
!define MUI_UNICON "${VT_ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Windows XP has no elevation prompt: a limited account is told so instead of failing halfway.
!macro VT_REQUIRE_ADMIN
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_ICONSTOP "Administrator rights are needed to install or remove ${PRODUCT}." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
  SetShellVarContext all
!macroend

Function .onInit
  !insertmacro VT_REQUIRE_ADMIN
FunctionEnd

Function un.onInit
  !insertmacro VT_REQUIRE_ADMIN
FunctionEnd

Section "Install"
  !insertmacro VT_INSTALL_FILES
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcuts' working folder is the one set last.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\Vintrosk.exe" "design" "$INSTDIR\Vintrosk.exe" 0 SW_SHOWNORMAL "" "Design an auto-playing CD-ROM"
  CreateShortcut "$DESKTOP\${SHORTCUT}" "$INSTDIR\Vintrosk.exe" "design" "$INSTDIR\Vintrosk.exe" 0 SW_SHOWNORMAL "" "Design an auto-playing CD-ROM"

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VT_VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Vintrosk.exe,0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" "$0"
SectionEnd

; Files by name, folders only when empty: whatever the user put there stays, and so does the
; disc folder the designer made on the desktop.
Section "Uninstall"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  Delete "$DESKTOP\${SHORTCUT}"
  !insertmacro VT_UNINSTALL_FILES
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
