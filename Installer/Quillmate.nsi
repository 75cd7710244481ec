; Quillmate's setup program and uninstaller (NSIS 3, Modern UI 2).
;
; Installs for the current user only: Quillmate's registry values (the
; first-start marker and the start at log-on) live under HKEY_CURRENT_USER,
; so only a per-user install has an uninstaller that can remove them. The
; folder is therefore the user's own program folder,
; %LOCALAPPDATA%\Programs\Quillmate, which needs no administrator rights, and
; the uninstall entry sits under HKEY_CURRENT_USER too.
;
; Before it replaces or removes the files, it asks a running Quillmate to end
; (the registered message "QuillmateExitRequest") and waits, bounded, for its
; process to end; a Quillmate that refuses (it has a dialog open) is never
; killed. The user's data folder (%APPDATA%\Quillmate) is never touched.
;
; makensis -DQM_VERSION=1.0.1 -DQM_VERSION_MAJOR=1 -DQM_VERSION_MINOR=0
;          -DQM_STAGE=<folder with quillmate.exe and quillmate.chm>
;          -DQM_ICON=<Quillmate.ico> -DQM_WIZARD=<164 x 314 page picture .bmp>
;          -DQM_OUTFILE=<setup.exe> Quillmate.nsi

Unicode true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WinMessages.nsh

!macro QM_REQUIRE name
  !ifndef ${name}
    !error "${name} must be defined on the makensis command line"
  !endif
!macroend
!insertmacro QM_REQUIRE QM_VERSION
!insertmacro QM_REQUIRE QM_VERSION_MAJOR
!insertmacro QM_REQUIRE QM_VERSION_MINOR
!insertmacro QM_REQUIRE QM_STAGE
!insertmacro QM_REQUIRE QM_ICON
!insertmacro QM_REQUIRE QM_WIZARD
!insertmacro QM_REQUIRE QM_OUTFILE

!define PUBLISHER "Ferrowind"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmate"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define MARKER_KEY "Software\Ferrowind"
!define MAIN_WINDOW_CLASS "QuillmateClass"
!define EXIT_REQUEST "QuillmateExitRequest"
!define SHORTCUT_NAME "Quillmate.lnk"
; The HTML Help viewer's window while it shows quillmate.chm.
!define HELP_WINDOW_CLASS "HH Parent"
!define HELP_WINDOW_TITLE "Quillmate Help"
; How long a running Quillmate may take to answer and then to end.
!define ANSWER_TIMEOUT_MS 5000
!define END_TIMEOUT_MS 30000
!define SYNCHRONIZE 0x00100000
!define WAIT_OBJECT_0 0

Name "Quillmate"
OutFile "${QM_OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Quillmate"
; An upgrade goes where the earlier version is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
BrandingText "Quillmate ${QM_VERSION}"
ShowInstDetails show
ShowUninstDetails show
; A file that cannot be written fails the installation (also in silent
; mode) instead of leaving the earlier one in place.
AllowSkipFiles off

VIProductVersion "${QM_VERSION}.0"
VIFileVersion "${QM_VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Quillmate"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "Quillmate Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${QM_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${QM_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${QM_ICON}"
!define MUI_UNICON "${QM_ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${QM_WIZARD}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${QM_WIZARD}"
!define MUI_ABORTWARNING

; --- installer pages ----------------------------------------------------------
!define MUI_WELCOMEPAGE_TEXT "Setup will install Quillmate ${QM_VERSION}, the personal organiser that lives in the notification area, for your user account. No administrator rights are needed.$\r$\n$\r$\nIf Quillmate is running, Setup ends it first. Your records are kept as they are.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillmate.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Quillmate"
; The finish page's second check box offers the desktop shortcut.
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Create a desktop shortcut"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION CreateDesktopShortcut
!insertmacro MUI_PAGE_FINISH

; --- uninstaller pages --------------------------------------------------------
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Quillmate will be removed from the folder below. If it is running, it is ended first.$\r$\n$\r$\nYour records in $APPDATA\Quillmate are kept."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Quillmate has been removed"
!define MUI_FINISHPAGE_TEXT "Quillmate has been removed from your computer.$\r$\n$\r$\nYour records were kept in $APPDATA\Quillmate. Delete that folder yourself if you no longer need them; installing Quillmate again finds them there."
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

; --- ending a running Quillmate ------------------------------------------------
; The same functions for the installer and, with the prefix "un.", for the
; uninstaller (NSIS keeps the two apart).
!macro QM_END_RUNNING_FUNCTIONS prefix

; $0 = Quillmate's main window, or 0. While it is hidden in the tray, the
; main window is the child of an invisible top-level "Static" holder window,
; which a search among top-level windows misses.
Function ${prefix}FindMainWindow
  Push $1
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  StrCpy $1 0
  ${DoWhile} $0 = 0
    FindWindow $1 "Static" "" 0 $1
    ${IfThen} $1 = 0 ${|} ${Break} ${|}
    FindWindow $0 "${MAIN_WINDOW_CLASS}" "" $1 0
  ${Loop}
  Pop $1
FunctionEnd

; Sends message $1 to window $0 and, when the answer is $2 (or whatever it
; is, when $2 is empty), waits for the window's process to end.
; $3 = ${WAIT_OBJECT_0} when it ended.
Function ${prefix}SendAndWaitForEnd
  Push $4
  Push $5
  ; Opened before the message: the process may be gone by the answer.
  System::Call "user32::GetWindowThreadProcessId(p r0, *i .r4) i"
  System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r4) p .r5"
  SendMessage $0 $1 0 0 $3 /TIMEOUT=${ANSWER_TIMEOUT_MS}
  ${If} $5 = 0
    StrCpy $3 -1
  ${ElseIf} $2 == ""
  ${OrIf} $3 = $2
    System::Call "kernel32::WaitForSingleObject(p r5, i ${END_TIMEOUT_MS}) i .r3"
  ${Else}
    StrCpy $3 -1
  ${EndIf}
  System::Call "kernel32::CloseHandle(p r5)"
  Pop $5
  Pop $4
FunctionEnd

; Asks a running Quillmate to end and waits for its process; aborts the
; installation when it cannot be ended and the user does not retry (in
; silent mode at once). Closes the help viewer showing quillmate.chm too,
; as it holds the file open.
Function ${prefix}EndRunningQuillmate
  Push $0
  Push $1
  Push $2
  Push $3
  ${Do}
    Call ${prefix}FindMainWindow
    ${IfThen} $0 = 0 ${|} ${Break} ${|}
    DetailPrint "Ending the running Quillmate..."
    System::Call "user32::RegisterWindowMessage(t '${EXIT_REQUEST}') i .r1"
    StrCpy $2 1
    Call ${prefix}SendAndWaitForEnd
    ${IfThen} $3 = ${WAIT_OBJECT_0} ${|} ${Break} ${|}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Quillmate is running and could not be ended: it may have a dialog or a message open.$\r$\n$\r$\nFinish what you are doing in Quillmate (or choose Exit in its tray menu), then click Retry." \
      /SD IDCANCEL IDRETRY retry
    DetailPrint "Quillmate is still running; nothing was changed."
    SetErrorLevel 2
    Abort
    retry:
  ${Loop}
  ${Do}
    FindWindow $0 "${HELP_WINDOW_CLASS}" "${HELP_WINDOW_TITLE}"
    ${IfThen} $0 = 0 ${|} ${Break} ${|}
    DetailPrint "Closing Quillmate Help..."
    StrCpy $1 ${WM_CLOSE}
    StrCpy $2 ""
    Call ${prefix}SendAndWaitForEnd
    ${IfThen} $3 <> ${WAIT_OBJECT_0} ${|} ${Break} ${|}
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

!macroend
!insertmacro QM_END_RUNNING_FUNCTIONS ""
!insertmacro QM_END_RUNNING_FUNCTIONS "un."

; --- install ------------------------------------------------------------------
Section "Quillmate"
  SetShellVarContext current
  Call EndRunningQuillmate

  SetOutPath "$INSTDIR"
  File "${QM_STAGE}/quillmate.exe"
  File "${QM_STAGE}/quillmate.chm"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT_NAME}" "$INSTDIR\quillmate.exe" "" "$INSTDIR\quillmate.exe" 0 \
    SW_SHOWNORMAL "" "Your personal organiser in the notification area"
  ; An upgrade keeps a desktop shortcut that the user made earlier, pointed
  ; at the new files.
  ${If} ${FileExists} "$DESKTOP\${SHORTCUT_NAME}"
    Call CreateDesktopShortcut
  ${EndIf}

  ; The start at log-on carries /tray, so it stays in the notification area;
  ; a start from the Start menu shows the window.
  WriteRegStr HKCU "${RUN_KEY}" "quillmate.exe" '"$INSTDIR\quillmate.exe" /tray'

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quillmate"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${QM_VERSION}"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VersionMajor" ${QM_VERSION_MAJOR}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VersionMinor" ${QM_VERSION_MINOR}
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillmate.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; In kilobytes, as Programs and Features expects.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function CreateDesktopShortcut
  SetShellVarContext current
  CreateShortcut "$DESKTOP\${SHORTCUT_NAME}" "$INSTDIR\quillmate.exe" "" "$INSTDIR\quillmate.exe" 0 \
    SW_SHOWNORMAL "" "Your personal organiser in the notification area"
FunctionEnd

; --- uninstall ----------------------------------------------------------------
Section "Uninstall"
  SetShellVarContext current
  Call un.EndRunningQuillmate

  Delete "$INSTDIR\quillmate.exe"
  Delete "$INSTDIR\quillmate.chm"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: anything else there is not ours to delete.
  RMDir "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\quillmate.*"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Some of Quillmate's files in $INSTDIR are in use and could not be removed." /SD IDOK
    SetErrorLevel 2
  ${EndIf}
  Delete "$SMPROGRAMS\${SHORTCUT_NAME}"
  Delete "$DESKTOP\${SHORTCUT_NAME}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; A later install starts as a first start and registers the start at
  ; log-on again.
  DeleteRegValue HKCU "${RUN_KEY}" "quillmate.exe"
  DeleteRegValue HKCU "${MARKER_KEY}" "FirstTime"
  DeleteRegKey /ifempty HKCU "${MARKER_KEY}"
  DetailPrint "Your records were kept in $APPDATA\Quillmate."
SectionEnd
