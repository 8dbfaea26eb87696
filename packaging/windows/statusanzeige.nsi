# SPDX-License-Identifier: GPL-2.0-or-later
; The Windows installer: statusanzeige.exe and statusanzeige-demo.exe, with
; their sensor hosts (32- and 64-bit), under Program Files, Start-menu
; entries with the programs' icon, and an entry under installed apps with
; an uninstaller. Built by CMake's "installer" target
; (packaging/windows/windows-packaging.cmake), which passes:
;   VERSION     e.g. 1.0.0
;   BUILD_DIR   where the two programs and the sensor hosts are
;   SOURCE_DIR  the source tree
;   OUTFILE     the installer to write
; "statusanzeige-<version>-setup.exe /S" installs without asking; the
; uninstaller takes /S as well. "Start with Windows", offered unchecked,
; puts a shortcut that runs "statusanzeige.exe --repeat --minimized" into the
; user's Startup folder; /StartWithWindows on the command line checks it.

!pragma warning error all
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "x64.nsh"

!define PRODUCT "statusanzeige"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define START_MENU "$SMPROGRAMS\${PRODUCT}"
!define STARTUP_LINK "statusanzeige.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
Icon "${SOURCE_DIR}/platform/windows/statusanzeige.ico"
UninstallIcon "${SOURCE_DIR}/platform/windows/statusanzeige.ico"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "statusanzeige developers"

LicenseData "${SOURCE_DIR}/COPYING"
Page license
Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "statusanzeige" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${BUILD_DIR}/statusanzeige.exe"
  File "${BUILD_DIR}/statusanzeige-demo.exe"
  File "${BUILD_DIR}/statusanzeige-sensor-host32.exe"
  File "${BUILD_DIR}/statusanzeige-sensor-host64.exe"
  File "/oname=README.md" "${SOURCE_DIR}/README.md"
  File "/oname=COPYING.txt" "${SOURCE_DIR}/COPYING"
  ; The built-in texts as a texts file: copy it to texts.toml and edit it.
  SetOutPath "$INSTDIR\examples"
  File "${SOURCE_DIR}/packaging/texts.toml"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "${START_MENU}"
  CreateShortcut "${START_MENU}\statusanzeige.lnk" "$INSTDIR\statusanzeige.exe" "" \
      "$INSTDIR\statusanzeige.exe" 0
  CreateShortcut "${START_MENU}\statusanzeige-demo.lnk" "$INSTDIR\statusanzeige-demo.exe" "" \
      "$INSTDIR\statusanzeige-demo.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "statusanzeige developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\statusanzeige.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The user's own Startup folder: the display starts at each login, run after
; run, with the window minimized.
Section /o "Start with Windows" SecStartWithWindows
  SetShellVarContext current
  CreateShortcut "$SMSTARTUP\${STARTUP_LINK}" "$INSTDIR\statusanzeige.exe" \
      "--repeat --minimized" "$INSTDIR\statusanzeige.exe" 0 SW_SHOWMINIMIZED
  SetShellVarContext all
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\statusanzeige.exe"
  Delete "$INSTDIR\statusanzeige-demo.exe"
  Delete "$INSTDIR\statusanzeige-sensor-host32.exe"
  Delete "$INSTDIR\statusanzeige-sensor-host64.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\COPYING.txt"
  Delete "$INSTDIR\examples\texts.toml"
  RMDir "$INSTDIR\examples"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "${START_MENU}\statusanzeige.lnk"
  Delete "${START_MENU}\statusanzeige-demo.lnk"
  RMDir "${START_MENU}"

  SetShellVarContext current
  Delete "$SMSTARTUP\${STARTUP_LINK}"
  SetShellVarContext all
  Delete "$SMSTARTUP\${STARTUP_LINK}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; After the sections, whose numbers it uses.
Function .onInit
  SetRegView 64
  SetShellVarContext all
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/StartWithWindows" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartWithWindows}
  ${EndIf}
FunctionEnd
