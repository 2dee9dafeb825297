; Per-user installer of ヴァスク, compiled by packaging/windows/make-installer.cmake:
;   makensis -INPUTCHARSET UTF8 -DVERSION=<project version> -DOUTFILE=... -DINSTALL_FILES=... \
;            -DUNINSTALL_FILES=... -DSIZE_KIB=... -DICON=.../vask.ico vask.nsi
; It needs no administrator: the program folder goes to the user's own
; %LOCALAPPDATA%\Programs\Vask (the program writes user.ini and its results into its own
; folder, so that folder must be writable by its user), with a Start-menu entry and an
; uninstall entry for the current user. The uninstaller deletes the installed files by
; name and removes folders only when empty, so user.ini and the results stay.
; Silent: setup.exe /S [/D=folder]; uninstall.exe /S.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define APP_NAME "ヴァスク"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vask"

Name "${APP_NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vask"
; A later install goes to the folder of the earlier one.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=1041 "FileDescription" "${APP_NAME} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "Ver.${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "Ver.${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Vask"

!include "MUI2.nsh"
!define MUI_ABORTWARNING
; The program's own icon on the installer and the uninstaller.
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "Install"
    !include "${INSTALL_FILES}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\vask.exe" "" "$INSTDIR\vask.exe" 0
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Vask"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vask.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KIB}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${APP_NAME}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    !include "${UNINSTALL_FILES}"
    Delete "$INSTDIR\uninstall.exe"
    ; Not /r: what the user and the program put there (user.ini, results) stays, and
    ; so does the folder holding them.
    RMDir "$INSTDIR"
SectionEnd
