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

; Whether qmouse or hxprofiler runs: their mutexes exist. $0: "1" if either does.
!macro ProgramsRunning
  StrCpy $0 ""
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${QMOUSE_MUTEX}") p .r1'
  ${If} $1 != 0
    System::Call 'kernel32::CloseHandle(p r1)'
    StrCpy $0 1
  ${EndIf}
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${HXPROFILER_MUTEX}") p .r1'
  ${If} $1 != 0
    System::Call 'kernel32::CloseHandle(p r1)'
    StrCpy $0 1
  ${EndIf}
!macroend

; Files in use cannot be replaced or removed: a running qmouse or hxprofiler is stopped,
; after asking (silent: without asking). Both answer their window's close with a question of
; their own, so they are ended with taskkill, and we wait (bounded) until their mutexes go.
!macro StopProgramsFunction UN
Function ${UN}StopPrograms
  !insertmacro ProgramsRunning
  ${If} $0 == ""
    Return
  ${EndIf}
  MessageBox MB_OKCANCEL|MB_ICONQUESTION "Quellan Mouse or Hxprofiler is running. Close it now and go on?$\n$\nChoose Cancel to leave it running and stop here." /SD IDOK IDOK close
  Abort "Quellan Mouse or Hxprofiler is still running."
close:
  DetailPrint "Closing Quellan Mouse and Hxprofiler"
  nsExec::Exec '"$SYSDIR\taskkill.exe" /F /IM qmouse.exe'
  Pop $1
  nsExec::Exec '"$SYSDIR\taskkill.exe" /F /IM hxprofiler.exe'
  Pop $1
  StrCpy $2 0
  ${Do}
    !insertmacro ProgramsRunning
    ${If} $0 == ""
      Return
    ${EndIf}
    Sleep 100
    IntOp $2 $2 + 1
  ${LoopUntil} $2 >= 100
  MessageBox MB_OK|MB_ICONSTOP "Quellan Mouse or Hxprofiler did not close. Close it and run this again." /SD IDOK
  Abort "Quellan Mouse or Hxprofiler did not close."
FunctionEnd
!macroend
!insertmacro StopProgramsFunction ""
!insertmacro StopProgramsFunction "un."

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
  File "${PROGRAMS_DIR}/hxcpl.dll"
  File "${PROGRAMS_DIR}/hxcpl64.dll"
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

  ; The programs keep their profiles in their working folder, so the Start-menu entries
  ; start them in a folder of the user's, which a standard user can write (Program Files is
  ; not). Folder and entries belong to the user who runs setup.
  SetShellVarContext current
  StrCpy $1 "$DOCUMENTS\${PRODUCT}"
  StrCpy $2 "$SMPROGRAMS\${PRODUCT}"
  CreateDirectory "$1"
  CreateDirectory "$2"
  SetOutPath "$1"  ; the shortcuts' working folder
  CreateShortCut "$2\Quellan Mouse.lnk" "$INSTDIR\qmouse.exe" "" "$INSTDIR\qmouse.exe" 0
  CreateShortCut "$2\Hxprofiler.lnk" "$INSTDIR\hxprofiler.exe" "" "$INSTDIR\hxprofiler.exe" 0
  SetOutPath "$INSTDIR"

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
  ; For the uninstaller, which may run as another user: what to remove.
  WriteRegStr HKLM "${UNINST_KEY}" "ProfilesFolder" "$1"
  WriteRegStr HKLM "${UNINST_KEY}" "StartMenuFolder" "$2"
SectionEnd

Section "Start Quellan Mouse when Windows starts" SecBoot
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" "$INSTDIR\qmouse.exe"
SectionEnd

Section "-start at boot off"
  ${IfNot} ${SectionIsSelected} ${SecBoot}
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
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

  SetShellVarContext current
  ReadRegStr $1 HKLM "${UNINST_KEY}" "ProfilesFolder"
  ${If} $1 == ""
    StrCpy $1 "$DOCUMENTS\${PRODUCT}"
  ${EndIf}
  ReadRegStr $2 HKLM "${UNINST_KEY}" "StartMenuFolder"
  ${If} $2 == ""
    StrCpy $2 "$SMPROGRAMS\${PRODUCT}"
  ${EndIf}
  Delete "$2\Quellan Mouse.lnk"
  Delete "$2\Hxprofiler.lnk"
  RMDir "$2"

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
  Delete "$INSTDIR\hxcpl.dll"
  Delete "$INSTDIR\hxcpl64.dll"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; Last: whoever waits for the uninstaller (which runs from a copy of itself) waits for this.
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
