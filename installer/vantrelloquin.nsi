; Vantrelloquin's installers and uninstallers, for every user of the computer.
;   makensis -DVTQ_BUILD_NSH=<build>/installer/build.nsh vantrelloquin.nsi
; The build writes build.nsh (installer/CMakeLists.txt): the version, the
; architecture and its stub (x86: x86-unicode, the 32-bit programs; x64:
; amd64-unicode, the 64-bit programs and the 32-bit libraries for 32-bit
; programs) and the files that ship; `cmake --build --preset win32 --target
; package` and the same with win64 (scripts/package) run this.
;
; Silent use: setup.exe /S [/D=folder]; uninstall.exe /S [/REMOVESETTINGS].
; The uninstaller keeps the user's own settings (the options, the sound
; choices, the recorded version) unless asked, so that a reinstall finds
; them again.

!ifndef VTQ_BUILD_NSH
  !error "Give the build's settings: makensis -DVTQ_BUILD_NSH=<build>/installer/build.nsh"
!endif
!include "${VTQ_BUILD_NSH}"

Target ${VTQ_TARGET}
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Vantrelloquin"
!if "${VTQ_ARCH}" == "x64"
  !define DISPLAY_NAME "${PRODUCT} (64-bit)"
!else
  !define DISPLAY_NAME "${PRODUCT}"
!endif
!define PUBLISHER "Quorvelle"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrelloquin"
!define CLASSES "Software\Classes"
!define PROGRAM "$INSTDIR\Harrowdel.exe"
!define MENU_FOLDER "$SMPROGRAMS\Vantrelloquin"

; Where the user's own settings live (the program writes them, never the installer).
!define PROGRAM_KEY "Software\Quorvelle\Vantrelloquin"
!define APP_SETTINGS_KEY "Software\VB and VBA Program Settings\Quorvelle Vantrelloquin"

Name "${DISPLAY_NAME} ${VTQ_VERSION}"
OutFile "${VTQ_OUTFILE}"
RequestExecutionLevel admin
!if "${VTQ_ARCH}" == "x64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VTQ_VERSION_QUAD}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VTQ_VERSION} setup"
VIAddVersionKey "FileVersion" "${VTQ_VERSION}"
VIAddVersionKey "ProductVersion" "${VTQ_VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define MUI_ICON "${VTQ_ICON}"
!define MUI_UNICON "${VTQ_ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "${PROGRAM}"
!define MUI_FINISHPAGE_RUN_TEXT "Start Vantrelloquin"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Vantrelloquin.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the user guide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A shell verb on a class of HKEY_CLASSES_ROOT: its menu text and the
; program's command line, the path always in quotes ("%1") so that a path
; with blanks reaches the program whole.
!macro VTQ_ADD_VERB CLASS VERB CAPTION ARGUMENTS
  WriteRegStr HKLM "${CLASSES}\${CLASS}\shell\${VERB}" "" "${CAPTION}"
  WriteRegStr HKLM "${CLASSES}\${CLASS}\shell\${VERB}\command" "" '"${PROGRAM}" ${ARGUMENTS}"%1"'
!macroend

; Removes a verb, then the keys above it that adding it created, as long
; as nothing else (no value, no key) is in them.
!macro VTQ_REMOVE_VERB CLASS VERB
  DeleteRegKey HKLM "${CLASSES}\${CLASS}\shell\${VERB}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKLM "${CLASSES}\${CLASS}\shell"
  DeleteRegKey /ifnosubkeys /ifnovalues HKLM "${CLASSES}\${CLASS}"
!macroend

!macro VTQ_REQUIRE_ADMIN
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "Vantrelloquin is installed for every user of this computer. \
        Please run this as an administrator." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro VTQ_REQUIRE_ADMIN
!if "${VTQ_ARCH}" == "x86"
  ; The 64-bit programs are the ones to have there: only their libraries
  ; serve 64-bit programs and scripts (the default cscript and wscript).
  ${If} ${RunningX64}
    MessageBox MB_YESNO|MB_ICONINFORMATION "This is the 32-bit Vantrelloquin, and this computer \
        runs 64-bit Windows. ${VTQ_X64_SETUP} installs the 64-bit Vantrelloquin, whose \
        libraries serve 64-bit and 32-bit programs and scripts alike.$\n$\nInstall the 32-bit \
        Vantrelloquin anyway?" /SD IDYES IDYES go_on
    SetErrorLevel 1223
    Quit
  go_on:
  ${EndIf}
!endif
FunctionEnd

Function un.onInit
  !insertmacro VTQ_REQUIRE_ADMIN
FunctionEnd

Section "Vantrelloquin"
  SetShellVarContext all
  !insertmacro VTQ_INSTALL_FILES
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ClearErrors
  RegDLL "$INSTDIR\orrinlib.dll"
  RegDLL "$INSTDIR\Marrowgate32.ocx"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "The libraries orrinlib.dll and Marrowgate32.ocx could not be \
        registered. Vantrelloquin needs orrinlib.dll: please run the setup again as an \
        administrator." /SD IDOK
    SetErrorLevel 3
    Abort
  ${EndIf}
!if "${VTQ_ARCH}" == "x64"
  ; 32-bit programs and scripts (VB6, 32-bit Office, SysWOW64\cscript) look
  ; in the 32-bit view of the registry, which the 32-bit regsvr32 fills with
  ; the 32-bit builds. A system without a 32-bit side has no such programs.
  ${If} ${FileExists} "$WINDIR\SysWOW64\regsvr32.exe"
    ClearErrors
    ExecWait '"$WINDIR\SysWOW64\regsvr32.exe" /s "$INSTDIR\x86\orrinlib.dll" \
        "$INSTDIR\x86\Marrowgate32.ocx"' $0
    ${If} ${Errors}
    ${OrIf} $0 != 0
      MessageBox MB_OK|MB_ICONEXCLAMATION "The 32-bit orrinlib.dll and Marrowgate32.ocx could \
          not be registered, so 32-bit programs and scripts cannot use them. Vantrelloquin and \
          64-bit programs are not affected." /SD IDOK
    ${EndIf}
  ${EndIf}
!endif

  !insertmacro VTQ_ADD_VERB "*" "Vantrelloquin.Split" "Split with Vantrelloquin" ""
  !insertmacro VTQ_ADD_VERB "Directory" "Vantrelloquin.Split" "Split with Vantrelloquin" ""
  !insertmacro VTQ_ADD_VERB "Directory" "Vantrelloquin.MakeCab" "Make CAB with Vantrelloquin" \
      "/makecab "
  ; Through SystemFileAssociations, so that the programs that open .cab
  ; and .001 files stay as they were.
  !insertmacro VTQ_ADD_VERB "SystemFileAssociations\.001" "Vantrelloquin.Assemble" \
      "Assemble / extract with Vantrelloquin" "/assext "
  !insertmacro VTQ_ADD_VERB "SystemFileAssociations\.cab" "Vantrelloquin.Assemble" \
      "Assemble / extract with Vantrelloquin" "/assext "

  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\Vantrelloquin.lnk" "${PROGRAM}"
  CreateShortcut "${MENU_FOLDER}\Vantrelloquin user guide.lnk" "$INSTDIR\Vantrelloquin.html"
  CreateShortcut "${MENU_FOLDER}\Uninstall Vantrelloquin.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${DISPLAY_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VTQ_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"${PROGRAM}",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  ; Asked in the uninstaller's window; a silent run keeps the settings
  ; unless its command line holds /REMOVESETTINGS.
  StrCpy $1 "keep"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $2
  ${IfNot} ${Errors}
    StrCpy $1 "remove"
  ${Else}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove your own Vantrelloquin settings \
        as well (options, sounds, colour theme)?" /SD IDNO IDNO keep_settings
    StrCpy $1 "remove"
  keep_settings:
  ${EndIf}

!if "${VTQ_ARCH}" == "x64"
  ${If} ${FileExists} "$WINDIR\SysWOW64\regsvr32.exe"
    ExecWait '"$WINDIR\SysWOW64\regsvr32.exe" /u /s "$INSTDIR\x86\Marrowgate32.ocx" \
        "$INSTDIR\x86\orrinlib.dll"'
  ${EndIf}
!endif
  UnRegDLL "$INSTDIR\Marrowgate32.ocx"
  UnRegDLL "$INSTDIR\orrinlib.dll"

  !insertmacro VTQ_REMOVE_VERB "*" "Vantrelloquin.Split"
  !insertmacro VTQ_REMOVE_VERB "Directory" "Vantrelloquin.Split"
  !insertmacro VTQ_REMOVE_VERB "Directory" "Vantrelloquin.MakeCab"
  !insertmacro VTQ_REMOVE_VERB "SystemFileAssociations\.001" "Vantrelloquin.Assemble"
  !insertmacro VTQ_REMOVE_VERB "SystemFileAssociations\.cab" "Vantrelloquin.Assemble"
  DeleteRegKey /ifnosubkeys /ifnovalues HKLM "${CLASSES}\SystemFileAssociations"

  ; orrinlib makes its help file known whenever one of its classes starts;
  ; that names the folder that goes away now.
  DeleteRegValue HKCU "Software\Microsoft\Windows\Help" "or32_${VTQ_ORRIN_VERSION}.hlp"
  DeleteRegValue HKCU "Software\Microsoft\Windows\Help" "or32_${VTQ_ORRIN_VERSION}.cnt"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\Microsoft\Windows\Help"

  Delete "${MENU_FOLDER}\Vantrelloquin.lnk"
  Delete "${MENU_FOLDER}\Vantrelloquin user guide.lnk"
  Delete "${MENU_FOLDER}\Uninstall Vantrelloquin.lnk"
  RMDir "${MENU_FOLDER}"

  !insertmacro VTQ_REMOVE_FILES
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ${If} $1 == "remove"
    DeleteRegKey HKCU "${PROGRAM_KEY}"
    DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\Quorvelle"
    DeleteRegKey HKCU "${APP_SETTINGS_KEY}"
    DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\VB and VBA Program Settings"
    DeleteRegKey HKCU "AppEvents\EventLabels\WexlorSplitfile"
    DeleteRegKey HKCU "AppEvents\EventLabels\WexlorAssfile"
    DeleteRegKey HKCU "AppEvents\EventLabels\WexlorProgload"
    DeleteRegKey HKCU "AppEvents\EventLabels\WexlorProgexit"
    DeleteRegKey HKCU "AppEvents\EventLabels\WexlorDonework"
    DeleteRegKey HKCU "AppEvents\Schemes\Apps\Zorbikant"
    DeleteRegKey /ifnosubkeys /ifnovalues HKCU "AppEvents\EventLabels"
    DeleteRegKey /ifnosubkeys /ifnovalues HKCU "AppEvents\Schemes\Apps"
    DeleteRegKey /ifnosubkeys /ifnovalues HKCU "AppEvents\Schemes"
    DeleteRegKey /ifnosubkeys /ifnovalues HKCU "AppEvents"
  ${EndIf}
SectionEnd
