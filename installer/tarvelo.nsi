; Tarvelo's installer: per user, no administrator rights. Built by scripts/package.sh:
;   makensis -DVERSION=x.y.z -DEXE=tarvelo.exe -DREADME=readme.txt -DLICENSE=LICENSE.txt
;            -DICON=tarvelo.ico -DOUTFILE=setup.exe tarvelo.nsi
; Silent use: setup.exe /S; uninstall.exe /S keeps the settings and the usage history,
; /S /REMOVESETTINGS removes them too.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef VERSION | EXE | README | LICENSE | ICON | OUTFILE
  !error "makensis needs -DVERSION, -DEXE, -DREADME, -DLICENSE, -DICON and -DOUTFILE"
!endif

; An installer named after one version must not carry another's exe.
!getdllversion "${EXE}" ExeVersion_
!if "${ExeVersion_1}.${ExeVersion_2}.${ExeVersion_3}" != "${VERSION}"
  !error "${EXE} is version ${ExeVersion_1}.${ExeVersion_2}.${ExeVersion_3}, not ${VERSION}"
!endif

!define PRODUCT "Tarvelo"
!define PUBLISHER "Quillmoor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvelo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Quillmoor\Tarvelo"
; The graph window of a running Tarvelo: the toolkit's form class and the form's caption.
!define FORM_CLASS "obj_Form"
!define FORM_CAPTION "StatsForm"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tarvelo"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${ExeVersion_1}.${ExeVersion_2}.${ExeVersion_3}.${ExeVersion_4}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Freeware"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tarvelo.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var WasRunning

; Asks every running Tarvelo to end, as Windows does at shut-down, and waits up to ten
; seconds for the exe in $INSTDIR to be free. The request is repeated each second: a
; Tarvelo that is still starting has no window yet. Sets $WasRunning; $0 is 1 when the
; exe is still in use.
!macro CLOSE_TARVELO un
Function ${un}CloseTarvelo
  StrCpy $WasRunning 0
  StrCpy $2 0
  ${Do}
    StrCpy $0 0
    StrCpy $1 0
    ${Do}
      FindWindow $1 "${FORM_CLASS}" "${FORM_CAPTION}" "" $1
      ${If} $1 == 0
        ${Break}
      ${EndIf}
      StrCpy $0 1
      StrCpy $WasRunning 1
      IntOp $3 $2 % 10
      ${If} $3 == 0
        System::Call "user32::PostMessageW(p r1, i ${WM_CLOSE}, p 0, p 0)"
      ${EndIf}
    ${Loop}
    ; Windows refuses to write to an exe a process runs from, and the process may
    ; outlive its window a little.
    ${If} ${FileExists} "$INSTDIR\tarvelo.exe"
      ClearErrors
      FileOpen $3 "$INSTDIR\tarvelo.exe" a
      ${If} ${Errors}
        StrCpy $0 1
      ${Else}
        FileClose $3
      ${EndIf}
    ${EndIf}
    ${If} $0 == 0
    ${OrIf} $2 >= 100
      ${Break}
    ${EndIf}
    Sleep 100
    IntOp $2 $2 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_TARVELO ""
!insertmacro CLOSE_TARVELO "un."

Section "Tarvelo" SecProgram
  SectionIn RO
  SetShellVarContext current
  SetOutPath "$INSTDIR"

  retry:
  Call CloseTarvelo
  ${If} $0 == 1
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Tarvelo is still running and cannot be replaced.$\r$\nQuit it from its menu, then choose Retry." \
      /SD IDCANCEL IDRETRY retry
    Abort "Tarvelo is still running; nothing was changed."
  ${EndIf}

  File "/oname=tarvelo.exe" "${EXE}"
  File "/oname=readme.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Tarvelo.lnk" "$INSTDIR\tarvelo.exe" "" "$INSTDIR\tarvelo.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvelo.exe,0"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start Tarvelo when I sign in" SecRun
  WriteRegStr HKCU "${RUN_KEY}" "Tarvelo" '"$INSTDIR\tarvelo.exe"'
SectionEnd

Function .onInstSuccess
  ; A silent update puts back the Tarvelo it closed; the finish page offers it otherwise.
  ${If} ${Silent}
  ${AndIf} $WasRunning == 1
    Exec '"$INSTDIR\tarvelo.exe"'
  ${EndIf}
FunctionEnd

; A reinstall without the sign-in choice drops the value an earlier one wrote.
Section "-Sign-in choice"
  ${IfNot} ${SectionIsSelected} ${SecRun}
    DeleteRegValue HKCU "${RUN_KEY}" "Tarvelo"
  ${EndIf}
SectionEnd

Section "un.Tarvelo" SecUnProgram
  SectionIn RO
  SetShellVarContext current

  Call un.CloseTarvelo
  ; The exe goes first: if it cannot, nothing else has been touched yet.
  Delete "$INSTDIR\tarvelo.exe"
  ${If} ${FileExists} "$INSTDIR\tarvelo.exe"
    MessageBox MB_OK|MB_ICONSTOP \
      "Tarvelo is still running and cannot be removed.$\r$\nQuit it from its menu, then uninstall again." /SD IDOK
    Abort "Tarvelo is still running; nothing was removed."
  ${EndIf}

  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$SMPROGRAMS\Tarvelo.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Tarvelo"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  ; Only our own files went: a folder the user shares with other files stays.
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.Remove my settings and totals too" SecUnSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  ; the maker's key only when nothing else of the maker's is left in it
  DeleteRegKey /ifempty HKCU "Software\Quillmoor"
  ; the usage history, its journal and any damaged copy set aside; the folders only
  ; when nothing else is left in them
  Delete "$LOCALAPPDATA\Quillmoor\Tarvelo\usage.db"
  Delete "$LOCALAPPDATA\Quillmoor\Tarvelo\usage.db-wal"
  Delete "$LOCALAPPDATA\Quillmoor\Tarvelo\usage.db-shm"
  Delete "$LOCALAPPDATA\Quillmoor\Tarvelo\usage-damaged-*.db*"
  RMDir "$LOCALAPPDATA\Quillmoor\Tarvelo"
  RMDir "$LOCALAPPDATA\Quillmoor"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecUnSettings}
  ${EndIf}
FunctionEnd
