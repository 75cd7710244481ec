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
; The files are first written beside the old ones under temporary names and
; take their places only when every one of them is written; should that
; fail, the old files are put back. An upgrade into another folder removes
; the old copy's files, and a start at log-on that exists is pointed at the
; new copy (with the log-on switch /tray).
;
; makensis -DQM_VERSION=1.0.1 -DQM_VERSION_MAJOR=1 -DQM_VERSION_MINOR=0
;          -DQM_STAGE=<folder with quillmate.exe, quillmate.chm and qmdb.exe>
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
!define QMDB_SHORTCUT_NAME "Quillmate Database Tool (qmdb).lnk"
; The program's switch for a start at log-on.
!define LOGON_SWITCH "/tray"
; The suffix of a file written but not yet in place, and of an old file
; kept aside until every new one is in place.
!define STAGED ".new"
!define REPLACED ".old"
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

; Removes the program's files from a folder, and the folder when nothing
; else is left in it: anything else there is not ours to delete.
!macro QM_REMOVE_PROGRAM_FILES folder
  Delete "${folder}\quillmate.exe"
  Delete "${folder}\quillmate.chm"
  Delete "${folder}\qmdb.exe"
  Delete "${folder}\Uninstall.exe"
  RMDir "${folder}"
!macroend

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

  ; Where an earlier version lives, read before this one is registered.
  ReadRegStr $R9 HKCU "${UNINSTALL_KEY}" "InstallLocation"

  ; Every file under a temporary name first: a failure part-way leaves the
  ; earlier version whole (.onInstFailed removes what was staged).
  SetOutPath "$INSTDIR"
  File "/oname=quillmate.exe${STAGED}" "${QM_STAGE}/quillmate.exe"
  File "/oname=quillmate.chm${STAGED}" "${QM_STAGE}/quillmate.chm"
  File "/oname=qmdb.exe${STAGED}" "${QM_STAGE}/qmdb.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe${STAGED}"
  Call PutStagedFilesInPlace

  CreateShortcut "$SMPROGRAMS\${SHORTCUT_NAME}" "$INSTDIR\quillmate.exe" "" "$INSTDIR\quillmate.exe" 0 \
    SW_SHOWNORMAL "" "Your personal organiser in the notification area"
  ; The database tool, for when something has gone wrong: a command prompt
  ; in the program folder that starts with its help.
  CreateShortcut "$SMPROGRAMS\${QMDB_SHORTCUT_NAME}" "$SYSDIR\cmd.exe" '/k qmdb.exe --help' "$INSTDIR\quillmate.exe" 0 \
    SW_SHOWNORMAL "" "Check, export, import and salvage Quillmate's data files"

  ; An upgrade into another folder: the old copy's files go, as its
  ; uninstaller would remove them.
  ${If} $R9 != ""
  ${AndIf} $R9 != $INSTDIR
  ${AndIf} ${FileExists} "$R9\quillmate.exe"
    DetailPrint "Removing the earlier copy in $R9..."
    !insertmacro QM_REMOVE_PROGRAM_FILES "$R9"
  ${EndIf}
  ; A start at log-on that exists starts this copy from now on.
  ClearErrors
  ReadRegStr $0 HKCU "${RUN_KEY}" "quillmate.exe"
  ${IfNot} ${Errors}
    WriteRegStr HKCU "${RUN_KEY}" "quillmate.exe" '"$INSTDIR\quillmate.exe" ${LOGON_SWITCH}'
  ${EndIf}
  ; An upgrade keeps a desktop shortcut that the user made earlier, pointed
  ; at the new files.
  ${If} ${FileExists} "$DESKTOP\${SHORTCUT_NAME}"
    Call CreateDesktopShortcut
  ${EndIf}

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

!macro QM_SET_ASIDE file
  ${If} ${FileExists} "$INSTDIR\${file}"
    Delete "$INSTDIR\${file}${REPLACED}"
    Rename "$INSTDIR\${file}" "$INSTDIR\${file}${REPLACED}"
  ${EndIf}
!macroend

!macro QM_PUT_IN_PLACE file
  Rename "$INSTDIR\${file}${STAGED}" "$INSTDIR\${file}"
!macroend

; After a failure: the old file back where it was, nothing staged left.
!macro QM_PUT_BACK file
  ${If} ${FileExists} "$INSTDIR\${file}${REPLACED}"
    Delete "$INSTDIR\${file}"
    Rename "$INSTDIR\${file}${REPLACED}" "$INSTDIR\${file}"
  ${EndIf}
  Delete "$INSTDIR\${file}${STAGED}"
!macroend

; Puts the staged files in place, keeping the old ones aside until all of
; them are there; when one cannot be moved, every old file is put back and
; the installation fails.
Function PutStagedFilesInPlace
  ClearErrors
  !insertmacro QM_SET_ASIDE quillmate.exe
  !insertmacro QM_SET_ASIDE quillmate.chm
  !insertmacro QM_SET_ASIDE qmdb.exe
  !insertmacro QM_SET_ASIDE Uninstall.exe
  ${IfNot} ${Errors}
    !insertmacro QM_PUT_IN_PLACE quillmate.exe
    !insertmacro QM_PUT_IN_PLACE quillmate.chm
    !insertmacro QM_PUT_IN_PLACE qmdb.exe
    !insertmacro QM_PUT_IN_PLACE Uninstall.exe
  ${EndIf}
  ${If} ${Errors}
    Call PutOldFilesBack
    DetailPrint "The new files could not take the place of the old ones; the earlier version is as it was."
    SetErrorLevel 2
    Abort
  ${EndIf}
  Delete "$INSTDIR\quillmate.exe${REPLACED}"
  Delete "$INSTDIR\quillmate.chm${REPLACED}"
  Delete "$INSTDIR\qmdb.exe${REPLACED}"
  Delete "$INSTDIR\Uninstall.exe${REPLACED}"
FunctionEnd

Function PutOldFilesBack
  !insertmacro QM_PUT_BACK quillmate.exe
  !insertmacro QM_PUT_BACK quillmate.chm
  !insertmacro QM_PUT_BACK qmdb.exe
  !insertmacro QM_PUT_BACK Uninstall.exe
FunctionEnd

; A file that could not be written ends the installation here: what was
; staged goes, the earlier version stays.
Function .onInstFailed
  Call PutOldFilesBack
FunctionEnd

Function CreateDesktopShortcut
  SetShellVarContext current
  CreateShortcut "$DESKTOP\${SHORTCUT_NAME}" "$INSTDIR\quillmate.exe" "" "$INSTDIR\quillmate.exe" 0 \
    SW_SHOWNORMAL "" "Your personal organiser in the notification area"
FunctionEnd

; --- uninstall ----------------------------------------------------------------
; The target of a shortcut (IShellLinkW through IPersistFile), or "" when it
; cannot be read. Takes the shortcut's path from the stack, leaves the target.
Function un.ShortcutTarget
  Exch $0
  Push $1
  Push $2
  Push $3
  StrCpy $3 ""
  ${If} ${FileExists} $0
    System::Call "ole32::CoCreateInstance(g '{00021401-0000-0000-C000-000000000046}', p 0, i 1, \
      g '{000214F9-0000-0000-C000-000000000046}', *p .r1) i .r2"
    ${If} $2 = 0
      StrCpy $2 0
      System::Call "$1->0(g '{0000010b-0000-0000-C000-000000000046}', *p .r2) i"
      ${If} $2 <> 0
        System::Call "$2->5(w r0, i 0) i .r0"
        ${If} $0 = 0
          System::Call "$1->3(w .r3, i ${NSIS_MAX_STRLEN}, p 0, i 0) i"
        ${EndIf}
        System::Call "$2->2()"
      ${EndIf}
      System::Call "$1->2()"
    ${EndIf}
  ${EndIf}
  StrCpy $0 $3
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.EndRunningQuillmate

  !insertmacro QM_REMOVE_PROGRAM_FILES "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\quillmate.*"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Some of Quillmate's files in $INSTDIR are in use and could not be removed." /SD IDOK
    SetErrorLevel 2
  ${EndIf}
  Delete "$SMPROGRAMS\${SHORTCUT_NAME}"
  Delete "$SMPROGRAMS\${QMDB_SHORTCUT_NAME}"
  ; A desktop shortcut and a start at log-on of another copy (installed
  ; elsewhere since) are that copy's.
  Push "$DESKTOP\${SHORTCUT_NAME}"
  Call un.ShortcutTarget
  Pop $0
  ${If} $0 == "$INSTDIR\quillmate.exe"
    Delete "$DESKTOP\${SHORTCUT_NAME}"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; A later install starts as a first start and registers the start at
  ; log-on again.
  ReadRegStr $0 HKCU "${RUN_KEY}" "quillmate.exe"
  ${If} $0 == "$INSTDIR\quillmate.exe"
  ${OrIf} $0 == '"$INSTDIR\quillmate.exe" ${LOGON_SWITCH}'
  ${OrIf} $0 == '"$INSTDIR\quillmate.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "quillmate.exe"
  ${EndIf}
  DeleteRegValue HKCU "${MARKER_KEY}" "FirstTime"
  DeleteRegKey /ifempty HKCU "${MARKER_KEY}"
  DetailPrint "Your records were kept in $APPDATA\Quillmate."
SectionEnd
