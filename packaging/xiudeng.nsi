; The installer of 新岫灯. makensis gets from scripts/package.sh:
;   VERSION   the project's version, e.g. 1.0
;   TARGET    amd64-unicode or x86-unicode (the installer's own architecture, as the program's)
;   STAGE     the folder holding xiudeng.exe, README.md and LICENSE
;   ICON      the program's icon, for the installer and the uninstaller
;   OUTFILE   the installer to write
; The program writes its trust list beside xiudeng.exe, so it is installed for the current user
; into a folder the user may write to, and needs no administrator.
; Silent use: installer /S [/D=folder]; uninstall.exe /S [/REMOVETRUSTLIST].
Unicode true
Target ${TARGET}
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh

!define PRODUCT "新岫灯"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\xiudeng"
!define TRUST_LIST "岫灯_不通知的进程.txt"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} ${VERSION} 安装程序"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright (c) ${PRODUCT} developers. MIT License."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\xiudeng.exe"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "${PRODUCT}"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}/xiudeng.exe"
  File "${STAGE}/README.md"
  File "${STAGE}/LICENSE"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\xiudeng.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT} developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\xiudeng.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "un.${PRODUCT}"
  SectionIn RO
  SetShellVarContext current
  Delete "$INSTDIR\xiudeng.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; Start with Windows would point at a program that is gone: the shortcut and its marker go.
  Delete "$SMSTARTUP\岫灯软件.lnk"
  Delete "C:\岫灯配置.txt"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Kept unless asked for: the user's own list of trusted names.
Section /o "un.信任名单 (${TRUST_LIST})" RemoveTrustList
  Delete "$INSTDIR\${TRUST_LIST}"
SectionEnd

Section "-un.folder"
  RMDir "$INSTDIR"  ; only when empty
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVETRUSTLIST" $1
  IfErrors +2
  SectionSetFlags ${RemoveTrustList} ${SF_SELECTED}
FunctionEnd
