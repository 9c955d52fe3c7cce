; The Windows installer of Orvella: a per-user install (no administrator rights), a Start-menu entry and an
; optional desktop shortcut running orvella-start.exe, which makes the user's data folder (%APPDATA%\Orvella)
; on first start and starts Orvella in it, and an uninstaller in Windows' list of programs that removes the
; program and keeps the data.
;
;   makensis -DSTAGE=<folder stage.sh filled> -DICON=<orvella.ico> -DLISTS=<folder with files-install.nsh, files-uninstall.nsh>
;            -DOUTFILE=<installer .exe> orvella.nsi
;
; package.sh runs it; the two lists name every staged file, so the uninstaller removes exactly those.

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define PRODUCT "Orvella by Quenmark"
!define VERSION "1.0.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvella"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
; Per user: under the user's own programs folder, as Windows places programs installed without elevation.
InstallDir "$LOCALAPPDATA\Programs\Orvella"
InstallDirRegKey HKCU "Software\Quenmark\Orvella" "InstallFolder"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion 1.0.0.0
VIFileVersion 1.0.0.0
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "Quenmark"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "1.0.0.0"
VIAddVersionKey /LANG=1033 "ProductVersion" "1.0.0.0"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Quenmark"

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Orvella" SectionProgram
    SectionIn RO
    SetShellVarContext current
    !include "${LISTS}/files-install.nsh"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The shortcut starts in the program's folder; orvella-start.exe moves Orvella into the data folder.
    CreateShortCut "$SMPROGRAMS\Orvella.lnk" "$INSTDIR\orvella-start.exe" "" "$INSTDIR\orvella.exe" 0 \
        SW_SHOWNORMAL "" "${PRODUCT}"
    WriteRegStr HKCU "Software\Quenmark\Orvella" "InstallFolder" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quenmark"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orvella.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Desktop shortcut" SectionDesktop
    SetShellVarContext current
    CreateShortCut "$DESKTOP\Orvella.lnk" "$INSTDIR\orvella-start.exe" "" "$INSTDIR\orvella.exe" 0 \
        SW_SHOWNORMAL "" "${PRODUCT}"
SectionEnd

; Only what the installer put there goes: a folder the user chose may hold other things, and the data folder
; (%APPDATA%\Orvella) is never touched.
Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Orvella.lnk"
    Delete "$DESKTOP\Orvella.lnk"
    !include "${LISTS}/files-uninstall.nsh"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "Software\Quenmark\Orvella"
    DeleteRegKey /ifempty HKCU "Software\Quenmark"
SectionEnd
