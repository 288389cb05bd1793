; Quellan Mouse setup: installs qmouse, hxprofiler and the control-panel extension hxcpl
; (32-bit and 64-bit), their Start-menu entries, the uninstaller and its entry in "Add or
; remove programs". Built by tools/build-setup, which passes:
;   /DVERSION=a.b.c.d   the project version of the top CMakeLists.txt
;   /DPROGRAMS_DIR=...  the programs as shipped: qmouse.exe, hxprofiler.exe, hxcpl.dll and
;                       hxcpl64.dll, stripped of their debugging data (tools/build-setup)
;   /DTOP_DIR=...       the checkout (README.md, LICENSE.txt)
;   /DOUT_FILE=...      where the setup program goes
; /S runs setup and the uninstaller silently.

Unicode true
!macro Required NAME
  !ifndef ${NAME}
    !error "${NAME} is not defined: build the setup program with tools/build-setup"
  !endif
!macroend
!insertmacro Required VERSION
!insertmacro Required PROGRAMS_DIR
!insertmacro Required TOP_DIR
!insertmacro Required OUT_FILE

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include x64.nsh

!define PRODUCT "Quellan Mouse"
!define PUBLISHER "Korvath"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quellan Mouse"
; The value qmouse's "start at boot" setting writes (qmouse/texts.h kRunKey, kRunValue), in
; the 32-bit view that qmouse, a 32-bit program, reads and writes.
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Quellan Mouse"
; Each program holds its single-instance mutex while it runs (qmouse/texts.h kMutexName,
; hxprofiler/texts.h kMutexName).
!define QMOUSE_MUTEX "QM"
!define HXPROFILER_MUTEX "Hxprofiler.SingleInstance"
; Both programs close as their user's Exit closes them (settings saved, every held key and
; button let go) when this registered message reaches their windows (winui/app.h).
!define CLOSE_REQUEST "Korvath.QuellanMouse.CloseRequest"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
; The programs are 32-bit: on 64-bit Windows $PROGRAMFILES is "Program Files (x86)", where
; Windows keeps 32-bit programs. An installed copy is upgraded where it is.
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
; Program Files, HKLM and the COM registration need an administrator.
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "the Quellan Mouse developers"

!define MUI_ICON "${TOP_DIR}/resources/qmouse/qmouse.ico"
!define MUI_UNICON "${TOP_DIR}/resources/qmouse/qmouse.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_LICENSE "${TOP_DIR}/LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Whether qmouse or hxprofiler runs in this session: their mutexes exist (each program makes
; its mutex in its session's namespace). $0: "1" if either does; $3: "1" if qmouse does.
!macro ProgramsRunning
  StrCpy $0 ""
  StrCpy $3 ""
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${QMOUSE_MUTEX}") p .r1'
  ${If} $1 != 0
    System::Call 'kernel32::CloseHandle(p r1)'
    StrCpy $0 1
    StrCpy $3 1
  ${EndIf}
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${HXPROFILER_MUTEX}") p .r1'
  ${If} $1 != 0
    System::Call 'kernel32::CloseHandle(p r1)'
    StrCpy $0 1
  ${EndIf}
!macroend

; Waits up to $4 tenths of a second for both programs to be gone. $0: "" when they are.
!macro WaitForPrograms
  ${Do}
    !insertmacro ProgramsRunning
    ${If} $0 == ""
    ${OrIf} $4 <= 0
      ${ExitDo}
    ${EndIf}
    Sleep 100
    IntOp $4 $4 - 1
  ${Loop}
!macroend

; Ends by force whatever of qmouse and hxprofiler still has a window on this session's desktop
; (the only windows FindWindowEx sees): the last resort for a program that did not answer.
!macro EndProgramsByForceFunction UN
Function ${UN}EndProgramsByForce
  StrCpy $5 0
  ${Do}
    System::Call 'user32::FindWindowExW(p 0, p r5, w "#32770", p 0) p .r5'
    ${If} $5 == 0
      ${ExitDo}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r5, *i .r6)'
    ; PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
    System::Call 'kernel32::OpenProcess(i 0x00101001, i 0, i r6) p .r7'
    ${If} $7 != 0
      System::Call 'kernel32::QueryFullProcessImageNameW(p r7, i 0, w .r8, *i ${NSIS_MAX_STRLEN})'
      StrCpy $9 $8 "" -11
      ${If} $9 == "\qmouse.exe"
        StrCpy $9 1
      ${Else}
        StrCpy $9 $8 "" -15
        ${If} $9 == "\hxprofiler.exe"
          StrCpy $9 1
        ${EndIf}
      ${EndIf}
      ${If} $9 == 1
        DetailPrint "Ending $8"
        System::Call 'kernel32::TerminateProcess(p r7, i 1)'
        System::Call 'kernel32::WaitForSingleObject(p r7, i 5000)'
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r7)'
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro EndProgramsByForceFunction ""
!insertmacro EndProgramsByForceFunction "un."

; Files in use cannot be replaced or removed: a running qmouse or hxprofiler is closed, after
; asking (silent: without asking), as the user's Exit closes it, so that its settings are
; saved and nothing it holds down stays down. Only one that does not close within the bounded
; wait is ended by force. $R9: "1" when a running qmouse was closed.
!macro StopProgramsFunction UN
Function ${UN}StopPrograms
  StrCpy $R9 ""
  !insertmacro ProgramsRunning
  ${If} $0 == ""
    Return
  ${EndIf}
  StrCpy $R9 $3
  MessageBox MB_OKCANCEL|MB_ICONQUESTION "Quellan Mouse or Hxprofiler is running. Close it now and go on?$\n$\nChoose Cancel to leave it running and stop here." /SD IDOK IDOK close
  Abort "Quellan Mouse or Hxprofiler is still running."
close:
  DetailPrint "Closing Quellan Mouse and Hxprofiler"
  System::Call 'user32::RegisterWindowMessageW(w "${CLOSE_REQUEST}") i .r1'
  ; HWND_BROADCAST, SMTO_ABORTIFHUNG: a hung program cannot hold us up.
  System::Call 'user32::SendMessageTimeoutW(p 0xffff, i r1, p 0, p 0, i 2, i 5000, *p .r2)'
  StrCpy $4 150
  !insertmacro WaitForPrograms
  ${If} $0 == ""
    Return
  ${EndIf}
  DetailPrint "Quellan Mouse or Hxprofiler did not close; ending it"
  Call ${UN}EndProgramsByForce
  StrCpy $4 50
  !insertmacro WaitForPrograms
  ${If} $0 == ""
    Return
  ${EndIf}
  MessageBox MB_OK|MB_ICONSTOP "Quellan Mouse or Hxprofiler did not close. Close it and run this again." /SD IDOK
  Abort "Quellan Mouse or Hxprofiler did not close."
FunctionEnd
!macroend
!insertmacro StopProgramsFunction ""
!insertmacro StopProgramsFunction "un."

; The control panel may hold hxcpl.dll or hxcpl64.dll loaded: such a file cannot be replaced
; or removed now. The new copy waits beside it and takes its place at the next restart; the
; user is told once at the end. No Abort/Retry/Ignore: a question that /S could never answer.
Var LockedFiles
!macro InstallLibrary NAME
  ClearErrors
  Delete "$INSTDIR\${NAME}"
  ${If} ${Errors}
    File "/oname=${NAME}.new" "${PROGRAMS_DIR}/${NAME}"
    Rename /REBOOTOK "$INSTDIR\${NAME}.new" "$INSTDIR\${NAME}"
    DetailPrint "${NAME} is in use: it is replaced when Windows restarts"
    StrCpy $LockedFiles "$LockedFiles ${NAME}"
  ${Else}
    File "${PROGRAMS_DIR}/${NAME}"
  ${EndIf}
!macroend

; Silent runs say it with the exit code deployment tools know: success, restart required.
!macro TellAboutLockedFiles WHAT
  ${If} $LockedFiles != ""
    MessageBox MB_OK|MB_ICONINFORMATION "The game-controller control panel is using$LockedFiles. ${WHAT} when Windows restarts." /SD IDOK
    SetErrorLevel 3010
  ${EndIf}
!macroend

; Runs regsvr32 of one bitness on one hxcpl DLL. $R0: regsvr32, $R1: its arguments.
; On 64-bit Windows a 32-bit process reaches the 64-bit System32 only as "sysnative"; each
; regsvr32 writes the registry view of its own bitness.
!macro Regsvr32Function UN
Function ${UN}Regsvr32
  ClearErrors
  ExecWait '"$R0" /s $R1' $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    DetailPrint "regsvr32 $R1 failed ($0)"
    MessageBox MB_OK|MB_ICONEXCLAMATION "The game-controller extension could not be registered or unregistered (regsvr32 $R1 gave $0)." /SD IDOK
    SetErrorLevel 3
    StrCpy $0 1
  ${EndIf}
FunctionEnd
!macroend
!insertmacro Regsvr32Function ""
!insertmacro Regsvr32Function "un."

Section "Quellan Mouse and Hxprofiler" SecMain
  SectionIn RO
  Call StopPrograms
  SetOutPath "$INSTDIR"
  File "${PROGRAMS_DIR}/qmouse.exe"
  File "${PROGRAMS_DIR}/hxprofiler.exe"
  !insertmacro InstallLibrary hxcpl.dll
  !insertmacro InstallLibrary hxcpl64.dll
  File "/oname=README.txt" "${TOP_DIR}/README.md"
  File "${TOP_DIR}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  StrCpy $R0 "$SYSDIR\regsvr32.exe"
  StrCpy $R1 '"$INSTDIR\hxcpl.dll"'
  Call Regsvr32
  ${If} ${RunningX64}
    StrCpy $R0 "$WINDIR\sysnative\regsvr32.exe"
    StrCpy $R1 '"$INSTDIR\hxcpl64.dll"'
    Call Regsvr32
  ${EndIf}

  ; Earlier versions made the entries for the user who ran setup only.
  ReadRegStr $2 HKLM "${UNINST_KEY}" "StartMenuFolder"
  ${If} $2 != ""
    Delete "$2\Quellan Mouse.lnk"
    Delete "$2\Hxprofiler.lnk"
    RMDir "$2"
    DeleteRegValue HKLM "${UNINST_KEY}" "StartMenuFolder"
    DeleteRegValue HKLM "${UNINST_KEY}" "ProfilesFolder"
  ${EndIf}
  ; The entries are for everyone who logs on, also a standard user for whom an administrator
  ; ran setup; each program finds its user's own profile folder (Documents\Quellan Mouse).
  ; The folder is made here for the user who runs setup, so that it is there at once.
  SetShellVarContext current
  CreateDirectory "$DOCUMENTS\${PRODUCT}"
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Quellan Mouse.lnk" "$INSTDIR\qmouse.exe" "" "$INSTDIR\qmouse.exe" 0
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Hxprofiler.lnk" "$INSTDIR\hxprofiler.exe" "" "$INSTDIR\hxprofiler.exe" 0
  SetShellVarContext current

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\qmouse.exe,0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  SectionGetSize ${SecMain} $0
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start Quellan Mouse when Windows starts" SecBoot
  ; Quoted, as qmouse writes it: the path holds spaces.
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\qmouse.exe"'
SectionEnd

Section "-start at boot off"
  ${IfNot} ${SectionIsSelected} ${SecBoot}
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
SectionEnd

; A qmouse closed for the upgrade starts again, as the user who ran it: setup runs elevated,
; so it asks the desktop's shell, which runs as that user, to start it (Explorer starts a
; program it is given).
Section "-start qmouse again"
  !insertmacro TellAboutLockedFiles "They are replaced"
  ${If} $R9 == 1
    DetailPrint "Starting Quellan Mouse again"
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\qmouse.exe"'
  ${EndIf}
SectionEnd

; Starting at boot is on for a new installation: someone who cannot use a hand-held mouse
; needs qmouse running when they log on. An upgrade keeps the choice made since, in setup
; or in qmouse's settings.
Function .onInit
  ClearErrors
  ReadRegStr $0 HKLM "${UNINST_KEY}" "InstallLocation"
  ${IfNot} ${Errors}
    ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
    ${If} ${Errors}
      !insertmacro UnselectSection ${SecBoot}
    ${EndIf}
  ${EndIf}
FunctionEnd

!macro RemoveLibrary NAME
  ClearErrors
  Delete "$INSTDIR\${NAME}"
  ${If} ${Errors}
    Delete /REBOOTOK "$INSTDIR\${NAME}"
    DetailPrint "${NAME} is in use: it is removed when Windows restarts"
    StrCpy $LockedFiles "$LockedFiles ${NAME}"
  ${EndIf}
!macroend

; Removes what setup wrote, file by file: whatever else the user keeps in these folders
; (profiles above all) stays, and so do the folders then.
Section "Uninstall"
  Call un.StopPrograms

  StrCpy $R0 "$SYSDIR\regsvr32.exe"
  StrCpy $R1 '/u "$INSTDIR\hxcpl.dll"'
  Call un.Regsvr32
  ${If} ${RunningX64}
    StrCpy $R0 "$WINDIR\sysnative\regsvr32.exe"
    StrCpy $R1 '/u "$INSTDIR\hxcpl64.dll"'
    Call un.Regsvr32
  ${EndIf}
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"

  SetShellVarContext all
  StrCpy $2 "$SMPROGRAMS\${PRODUCT}"
  Delete "$2\Quellan Mouse.lnk"
  Delete "$2\Hxprofiler.lnk"
  RMDir "$2"
  ; Profiles and settings are those of the account that runs the uninstaller.
  SetShellVarContext current
  StrCpy $1 "$DOCUMENTS\${PRODUCT}"

  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Also remove your game profiles (the .cpf files in $1 and $INSTDIR) and the settings of Quellan Mouse and Hxprofiler?" /SD IDNO IDNO keep
  Delete "$1\*.cpf"
  Delete "$INSTDIR\*.cpf"
  DeleteRegKey HKCU "Software\Korvath\Quellan Mouse"
  DeleteRegKey /ifempty HKCU "Software\Korvath"
  DeleteRegKey HKCU "Software\Hxprofiler\Hxprofiler"
  DeleteRegKey /ifempty HKCU "Software\Hxprofiler"
keep:
  RMDir "$1"

  Delete "$INSTDIR\qmouse.exe"
  Delete "$INSTDIR\hxprofiler.exe"
  !insertmacro RemoveLibrary hxcpl.dll
  !insertmacro RemoveLibrary hxcpl64.dll
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  !insertmacro TellAboutLockedFiles "They are removed"
  ; Last: whoever waits for the uninstaller (which runs from a copy of itself) waits for this.
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
