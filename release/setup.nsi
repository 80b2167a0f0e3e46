; The Windows setup program: installs the release zip's files for the current
; user, without administrator rights, with a Start menu entry that starts
; zarvi.exe in its own folder (where it finds the book and a style file) and
; an uninstaller. Built by scripts/setup.py, which defines VERSION, FILES (the
; unpacked zip's folder), ICON and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
; The files keep the dates they carry in the zip, which are the commit's.
SetDateSave on

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zarvi"
!define MENU "$SMPROGRAMS\Zarvi"

Name "Zarvi ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Zarvi"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Zarvi ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Zarvi"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Zarvi ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "The Zarvi developers"

!include LogicLib.nsh
!include MUI2.nsh
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section
  SetOutPath "$INSTDIR"
  File "${FILES}\zarvi.exe"
  File "${FILES}\zarvi-engine.exe"
  File "${FILES}\librito.txt"
  File "${FILES}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; A shortcut's working folder is the output folder set above.
  CreateDirectory "${MENU}"
  CreateShortcut "${MENU}\Zarvi.lnk" "$INSTDIR\zarvi.exe"
  CreateShortcut "${MENU}\Zarvi folder.lnk" "$INSTDIR"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Zarvi"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Zarvi developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zarvi.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the section above put there by name, never a whole folder:
; a style file the user wrote beside the program stays, and so does the
; folder that holds it.
Section "Uninstall"
  Delete "$INSTDIR\zarvi.exe"
  Delete "$INSTDIR\zarvi-engine.exe"
  Delete "$INSTDIR\librito.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  Delete "${MENU}\Zarvi.lnk"
  Delete "${MENU}\Zarvi folder.lnk"
  RMDir "${MENU}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  RMDir "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\*.*"
    DetailPrint "Kept $INSTDIR: it holds files that were not installed."
    MessageBox MB_OK|MB_ICONINFORMATION "Zarvi is removed. The folder $INSTDIR stays, with the files \
        you put there yourself (such as your style file, estilo.ini or style.ini)." /SD IDOK
  ${EndIf}
SectionEnd
