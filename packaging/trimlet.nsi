; Trimlet's installer: for the current user by default, for all users on
; request. Built by the project with:
;   makensis -DVERSION=a.b.c.d -DINCLUDES=<folder of texts.nsh, files.nsh, side.bmp>
;            -DICON=<trimlet.ico> -DOUTFILE=<setup.exe> trimlet.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!ifndef VERSION | INCLUDES | ICON | OUTFILE
  !error "Give VERSION, INCLUDES, ICON and OUTFILE with -D."
!endif

!define PRODUCT "Trimlet"
!define MAKER "Bluecrane"
!define PROGRAM "Trimlet.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${MAKER}.${PRODUCT}"
; The program's start-menu folder and the shortcuts made there, remembered
; under the uninstall key for the uninstaller.
!define SHORTCUTS_VALUE "Shortcuts"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${MAKER} ${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${MAKER}"

; Per user unless the user chooses all users (or the earlier installation
; was for all users); /AllUsers and /CurrentUser choose on the command line.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "UninstallString"
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODEPAGE_TEXT_ALLUSERS "$(AllUsers)"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_CURRENTUSER "$(CurrentUser)"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${INCLUDES}\side.bmp"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

Var StartMenuFolder

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_STARTMENUPAGE_DEFAULTFOLDER "${PRODUCT}"
!insertmacro MUI_PAGE_STARTMENU Application $StartMenuFolder
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!define MUI_FINISHPAGE_RUN_TEXT "$(LaunchProgramNow)"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The system's language chooses among these; English is the fallback.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"

!include "${INCLUDES}\texts.nsh"
!include "${INCLUDES}\files.nsh"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; A shortcut, remembered for the uninstaller.
!macro SHORTCUT LINK TARGET PARAMETERS DESCRIPTION
  CreateShortcut "${LINK}" "${TARGET}" "${PARAMETERS}" "" 0 SW_SHOWNORMAL "" "${DESCRIPTION}"
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "${SHORTCUTS_VALUE}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "${SHORTCUTS_VALUE}" "$0${LINK}|"
!macroend

Section "-${PRODUCT}" ProgramSection
  !insertmacro INSTALL_FILES
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; Add or remove programs.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
    '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
    '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  ; An upgrade makes its shortcuts again.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "${SHORTCUTS_VALUE}" ""

  !insertmacro MUI_STARTMENU_WRITE_BEGIN Application
    CreateDirectory "$SMPROGRAMS\$StartMenuFolder"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "StartMenuFolder" "$SMPROGRAMS\$StartMenuFolder"
    !insertmacro SHORTCUT "$SMPROGRAMS\$StartMenuFolder\${PRODUCT}.lnk" \
      "$INSTDIR\${PROGRAM}" "" "$(LaunchProgram)"
    !insertmacro SHORTCUT "$SMPROGRAMS\$StartMenuFolder\$(UserManualLink).lnk" \
      "$INSTDIR\HTML\Index.htm" "" "$(UserManualComment)"
    !insertmacro SHORTCUT "$SMPROGRAMS\$StartMenuFolder\$(UninstallLink).lnk" \
      "$INSTDIR\${UNINSTALLER}" "/$MultiUser.InstallMode" "$(UninstallComment)"
  !insertmacro MUI_STARTMENU_WRITE_END
SectionEnd

Section "$(DesktopIcon)" DesktopSection
  !insertmacro SHORTCUT "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM}" "" "$(LaunchProgram)"
SectionEnd

Section "Uninstall"
  ; The program removes its own settings and its Explorer entries.
  ExecWait '"$INSTDIR\${PROGRAM}" /UNINSTALL'

  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "${SHORTCUTS_VALUE}"
  ${Do}
    ${If} $0 == ""
      ${Break}
    ${EndIf}
    ; The text up to the next "|" is one shortcut.
    StrCpy $1 0
    ${Do}
      StrCpy $2 $0 1 $1
      ${If} $2 == "|"
      ${OrIf} $2 == ""
        ${Break}
      ${EndIf}
      IntOp $1 $1 + 1
    ${Loop}
    StrCpy $2 $0 $1
    Delete "$2"
    IntOp $1 $1 + 1
    StrCpy $0 $0 "" $1
  ${Loop}
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "StartMenuFolder"
  ${If} $0 != ""
    RMDir "$0"
  ${EndIf}

  !insertmacro UNINSTALL_FILES
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
