; Installer of Qorv, in one of two kinds:
; - for the current user (the default), without administrator rights, into the user's own programs
;   folder, where the settings files beside the programs stay writable;
; - for every user of the machine (/ALLUSERS, or the first page), with administrator rights, into
;   Program Files: the folder and the programs stay writable by administrators alone, and only the
;   two settings files get modify access for the Users group, so that ordinary users can save
;   settings (shared by every user of the machine).
; Silent switches: /S, /D=<folder> (last), /ALLUSERS, /RUNKEY=HKLM|HKCU|NONE (the "Qorv" value of
; the Run key: for every user, for the installing user, or none; HKLM only with /ALLUSERS).
; Exit codes besides NSIS's own: 2 a bad switch or a running copy that could not be ended, 740
; (ERROR_ELEVATION_REQUIRED) /ALLUSERS without administrator rights in silent mode.
; Defines from tools/dist.sh: VERSION, ARCH (x86_64 or i686), STAGE (the folder with the files),
; ICON, OUTFILE. The installer is a program of the same architecture as the files it carries.
Unicode true
!if "${ARCH}" == "x86_64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"

Name "Qorv ${VERSION} (${ARCH})"
OutFile "${OUTFILE}"
; No InstallDir: $INSTDIR is empty unless /D= names the folder, and .onInit picks the kind's folder.
BrandingText "Qorv ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "Qorv"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileDescription" "Qorv セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Qorv"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Qorv"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Var AllUsers   ; 1: for every user of the machine
Var RunKey     ; HKLM, HKCU or NONE
Var IsAdmin    ; 1: the installer runs with administrator rights
Var GivenDir   ; 1: /D= named the folder
Var ModeAll
Var ModeUser
Var RunNone
Var RunUser
Var RunAll

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Qorv を起動する"
!define MUI_FINISHPAGE_RUN_FUNCTION StartQorv
Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "Qorv" SecMain
  SectionIn RO
  ; A running copy holds the library: it ends first and is started again at the end if asked.
  ; Exit code 2: it is still running (it did not end in time, or it runs with more rights and
  ; refused us), so its files cannot be replaced.
  IfFileExists "$INSTDIR\qorv.exe" 0 quit_done
    ExecWait '"$INSTDIR\qorv.exe" /quit' $0
    StrCmp $0 "2" 0 quit_done
      MessageBox MB_OK|MB_ICONSTOP "実行中の Qorv を終了できませんでした。Qorv を終了してからやり直してください。" /SD IDOK
      Abort
  quit_done:
  SetOutPath "$INSTDIR"
  File "${STAGE}\qorv.exe"
  File "${STAGE}\vantel.dll"
  File "${STAGE}\MapInit.ini"
  File "${STAGE}\README.txt"
  !if /FileExists "${STAGE}\qorv32.exe"
    File "${STAGE}\qorv32.exe"
    File "${STAGE}\vantel32.dll"
  !endif
  !if /FileExists "${STAGE}\pelisk.exe"
    File "${STAGE}\pelisk.exe"
  !endif
  ${If} $AllUsers == 1
    Call SettingsForUsers
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; SHCTX: HKLM for every user (SetShellVarContext all), HKCU for this user.
  WriteRegStr SHCTX "Software\Qorv" "InstallDir" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Qorv"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Qorv"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qorv.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} $RunKey == "HKLM"
    WriteRegStr HKLM "${RUN_KEY}" "Qorv" '"$INSTDIR\qorv.exe"'
  ${ElseIf} $RunKey == "HKCU"
    WriteRegStr HKCU "${RUN_KEY}" "Qorv" '"$INSTDIR\qorv.exe"'
  ${EndIf}
SectionEnd

Section "スタートメニューに登録" SecStartMenu
  CreateDirectory "$SMPROGRAMS\Qorv"
  CreateShortCut "$SMPROGRAMS\Qorv\Qorv.lnk" "$INSTDIR\qorv.exe"
  IfFileExists "$INSTDIR\pelisk.exe" 0 +2
    CreateShortCut "$SMPROGRAMS\Qorv\Qorv 設定.lnk" "$INSTDIR\pelisk.exe"
  CreateShortCut "$SMPROGRAMS\Qorv\Qorv のアンインストール.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

Section "-un.Qorv"
  ; A running copy ends first and removes its hooks; the library may stay mapped in other
  ; programs until they next run, so it goes at the next start of Windows if it must.
  IfFileExists "$INSTDIR\qorv.exe" 0 quit_done
    ExecWait '"$INSTDIR\qorv.exe" /quit' $0
    StrCmp $0 "2" 0 quit_done
      MessageBox MB_OK|MB_ICONSTOP "実行中の Qorv を終了できませんでした。Qorv を終了してからやり直してください。" /SD IDOK
      Abort
  quit_done:
  Delete "$INSTDIR\qorv.exe"
  Delete /REBOOTOK "$INSTDIR\vantel.dll"
  Delete "$INSTDIR\qorv32.exe"
  Delete /REBOOTOK "$INSTDIR\vantel32.dll"
  Delete "$INSTDIR\pelisk.exe"
  Delete "$INSTDIR\MapInit.ini"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Qorv\Qorv.lnk"
  Delete "$SMPROGRAMS\Qorv\Qorv 設定.lnk"
  Delete "$SMPROGRAMS\Qorv\Qorv のアンインストール.lnk"
  RMDir "$SMPROGRAMS\Qorv"
  ; Only the values that name this copy, in either hive.
  ReadRegStr $0 HKCU "${RUN_KEY}" "Qorv"
  StrCmp $0 '"$INSTDIR\qorv.exe"' 0 +2
    DeleteRegValue HKCU "${RUN_KEY}" "Qorv"
  ${If} $AllUsers == 1
    ReadRegStr $0 HKLM "${RUN_KEY}" "Qorv"
    StrCmp $0 '"$INSTDIR\qorv.exe"' 0 +2
      DeleteRegValue HKLM "${RUN_KEY}" "Qorv"
  ${EndIf}
SectionEnd

Section /o "un.設定ファイル (Qorv.ini, MapFlag.ini) も削除する" SecUnSettings
  Delete "$INSTDIR\Qorv.ini"
  Delete "$INSTDIR\MapFlag.ini"
  ; Everything goes: a library still mapped in another program keeps the folder until Windows
  ; next starts. The uninstaller's own working folder is moved out first: a process's current
  ; folder cannot be removed. A file that another program (a virus scanner, the indexer) still
  ; holds stays in the folder, pending deletion, until that program lets go: tried again for up
  ; to five seconds.
  SetOutPath "$TEMP"
  StrCpy $1 0
  un_rmdir_again:
    ClearErrors
    RMDir "$INSTDIR"
    IfErrors 0 un_rmdir_done
    IfFileExists "$INSTDIR\vantel.dll" un_rmdir_later
    IntOp $1 $1 + 1
    IntCmp $1 50 un_rmdir_later
    Sleep 100
    Goto un_rmdir_again
  un_rmdir_later:
    RMDir /REBOOTOK "$INSTDIR"
  un_rmdir_done:
SectionEnd

Section "-un.Folder"
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"  ; only when empty: the settings files stay unless removed above
  ; Last, so that the entry in the list of programs stays until everything else has gone.
  DeleteRegKey SHCTX "Software\Qorv"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

Function CheckAdmin
  UserInfo::GetAccountType
  Pop $0
  StrCpy $IsAdmin 0
  StrCmp $0 "Admin" 0 +2
    StrCpy $IsAdmin 1
FunctionEnd

Function un.CheckAdmin
  UserInfo::GetAccountType
  Pop $0
  StrCpy $IsAdmin 0
  StrCmp $0 "Admin" 0 +2
    StrCpy $IsAdmin 1
FunctionEnd

; The folder and the shell context of the chosen kind; a folder named by /D= stays.
Function ApplyMode
  ${If} $AllUsers == 1
    SetShellVarContext all
    ${If} $GivenDir != 1
      ReadRegStr $0 HKLM "Software\Qorv" "InstallDir"
      ${If} $0 != ""
        StrCpy $INSTDIR $0
      ${Else}
        !if "${ARCH}" == "x86_64"
          StrCpy $INSTDIR "$PROGRAMFILES64\Qorv"
        !else
          StrCpy $INSTDIR "$PROGRAMFILES\Qorv"
        !endif
      ${EndIf}
    ${EndIf}
  ${Else}
    SetShellVarContext current
    ${If} $GivenDir != 1
      ReadRegStr $0 HKCU "Software\Qorv" "InstallDir"
      ${If} $0 != ""
        StrCpy $INSTDIR $0
      ${Else}
        StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Qorv"
      ${EndIf}
    ${EndIf}
  ${EndIf}
FunctionEnd

Function .onInit
  Call CheckAdmin
  ${GetParameters} $R0
  StrCpy $AllUsers 0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $1
  IfErrors +2
    StrCpy $AllUsers 1
  StrCpy $GivenDir 0
  StrCmp $INSTDIR "" +2
    StrCpy $GivenDir 1
  StrCpy $RunKey "NONE"
  ClearErrors
  ${GetOptions} $R0 "/RUNKEY=" $1
  ${IfNot} ${Errors}
    ${If} $1 == "HKLM"
      StrCpy $RunKey "HKLM"
    ${ElseIf} $1 == "HKCU"
      StrCpy $RunKey "HKCU"
    ${ElseIf} $1 == "NONE"
      StrCpy $RunKey "NONE"
    ${Else}
      MessageBox MB_OK|MB_ICONSTOP "/RUNKEY= には HKLM、HKCU、NONE のどれかを指定してください。" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
  ${If} $RunKey == "HKLM"
  ${AndIf} $AllUsers != 1
    MessageBox MB_OK|MB_ICONSTOP "/RUNKEY=HKLM はすべてのユーザー用のインストール (/ALLUSERS) でだけ使えます。" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  ${If} $AllUsers == 1
  ${AndIf} $IsAdmin != 1
    ${If} ${Silent}
      SetErrorLevel 740
      Quit
    ${EndIf}
    ; Started again with administrator rights (the elevation prompt); this copy ends.
    ExecShell "runas" "$EXEPATH" "/ALLUSERS /RUNKEY=$RunKey"
    Quit
  ${EndIf}
  Call ApplyMode
FunctionEnd

; First page: for whom, and whether Qorv starts with Windows.
Function ModePage
  !insertmacro MUI_HEADER_TEXT "インストールの種類" "Qorv を使うユーザーと、起動のしかたを選んでください。"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 0 100% 12u "このユーザーだけ (管理者権限は不要、ユーザーのフォルダーに入れます)"
  Pop $ModeUser
  ${NSD_AddStyle} $ModeUser ${WS_GROUP}
  ${NSD_CreateRadioButton} 0 14u 100% 24u "すべてのユーザー (管理者権限が必要、Program Files に入れます)$\r$\n設定はこのコンピューターのすべてのユーザーで共有します"
  Pop $ModeAll
  ${NSD_CreateLabel} 0 48u 100% 10u "Windows の起動時に開始:"
  Pop $0
  ${NSD_CreateRadioButton} 10u 60u -10u 12u "しない"
  Pop $RunNone
  ${NSD_AddStyle} $RunNone ${WS_GROUP}
  ${NSD_CreateRadioButton} 10u 74u -10u 12u "このユーザーのログオン時"
  Pop $RunUser
  ${NSD_CreateRadioButton} 10u 88u -10u 12u "すべてのユーザーのログオン時 (すべてのユーザー用のみ)"
  Pop $RunAll
  ${If} $AllUsers == 1
    ${NSD_Check} $ModeAll
  ${Else}
    ${NSD_Check} $ModeUser
  ${EndIf}
  ${If} $RunKey == "HKLM"
    ${NSD_Check} $RunAll
  ${ElseIf} $RunKey == "HKCU"
    ${NSD_Check} $RunUser
  ${Else}
    ${NSD_Check} $RunNone
  ${EndIf}
  ${NSD_OnClick} $ModeUser ModePageClicked
  ${NSD_OnClick} $ModeAll ModePageClicked
  Push $ModeAll
  Call ModePageClicked
  nsDialogs::Show
FunctionEnd

; "For every user of the Run key" only with the install for every user.
Function ModePageClicked
  Pop $0  ; the clicked control, when called by a click
  ${NSD_GetState} $ModeAll $0
  ${If} $0 == ${BST_CHECKED}
    EnableWindow $RunAll 1
  ${Else}
    ${NSD_GetState} $RunAll $1
    ${If} $1 == ${BST_CHECKED}
      ${NSD_Uncheck} $RunAll
      ${NSD_Check} $RunUser
    ${EndIf}
    EnableWindow $RunAll 0
  ${EndIf}
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $ModeAll $0
  StrCpy $AllUsers 0
  StrCmp $0 ${BST_CHECKED} 0 +2
    StrCpy $AllUsers 1
  StrCpy $RunKey "NONE"
  ${NSD_GetState} $RunUser $0
  StrCmp $0 ${BST_CHECKED} 0 +2
    StrCpy $RunKey "HKCU"
  ${NSD_GetState} $RunAll $0
  StrCmp $0 ${BST_CHECKED} 0 +2
    StrCpy $RunKey "HKLM"
  ${If} $AllUsers == 1
  ${AndIf} $IsAdmin != 1
    ExecShell "runas" "$EXEPATH" "/ALLUSERS /RUNKEY=$RunKey"
    Quit
  ${EndIf}
  Call ApplyMode
FunctionEnd

; The two settings files exist before any user runs Qorv (ordinary users cannot create files in
; the folder) and may be modified by the built-in Users group (S-1-5-32-545, by number so that
; the group's name in the system's language does not matter). Nothing in them names a program or
; a library to run: they are data, read by the same readers that every file from a user goes
; through. Existing files are kept as they are.
Function SettingsForUsers
  IfFileExists "$INSTDIR\Qorv.ini" +3
    FileOpen $0 "$INSTDIR\Qorv.ini" w
    FileClose $0
  IfFileExists "$INSTDIR\MapFlag.ini" +2
    CopyFiles /SILENT "$INSTDIR\MapInit.ini" "$INSTDIR\MapFlag.ini"
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\Qorv.ini" /grant *S-1-5-32-545:M'
  Pop $0
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\MapFlag.ini" /grant *S-1-5-32-545:M'
  Pop $1
  ${If} $0 != 0
  ${OrIf} $1 != 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "設定ファイルに Users グループの変更の権限を付けられませんでした。管理者以外のユーザーは設定を保存できません。" /SD IDOK
  ${EndIf}
FunctionEnd

; An installer with administrator rights would start Qorv with them: the shell of the logged-on
; user starts it instead, with the user's ordinary rights (explorer.exe, started with a program's
; path, hands it to the running shell).
Function StartQorv
  ${If} $IsAdmin == 1
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\qorv.exe"'
  ${Else}
    Exec '"$INSTDIR\qorv.exe"'
  ${EndIf}
FunctionEnd

Function un.onInit
  Call un.CheckAdmin
  ; The kind of install: the one whose entry in Settings > Apps names this folder.
  StrCpy $AllUsers 0
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  StrCmp $0 $INSTDIR 0 +2
    StrCpy $AllUsers 1
  ${If} $AllUsers == 1
    ${If} $IsAdmin != 1
      ${If} ${Silent}
        SetErrorLevel 740
        Quit
      ${EndIf}
      ExecShell "runas" "$INSTDIR\uninstall.exe"
      Quit
    ${EndIf}
    SetShellVarContext all
  ${EndIf}
  ; Silent removal keeps the settings files unless /PURGE is given.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PURGE" $1
  IfErrors +2
    SectionSetFlags ${SecUnSettings} ${SF_SELECTED}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMain} "Qorv 本体 (qorv.exe, vantel.dll, pelisk.exe)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStartMenu} "スタートメニューに Qorv を登録します"
!insertmacro MUI_FUNCTION_DESCRIPTION_END
