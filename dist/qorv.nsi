; Installer of Qorv: for the current user, without administrator rights, into the user's own
; programs folder, where the settings files beside the programs stay writable.
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

Name "Qorv ${VERSION} (${ARCH})"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Qorv"
InstallDirRegKey HKCU "Software\Qorv" "InstallDir"
BrandingText "Qorv ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "Qorv"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileDescription" "Qorv セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Qorv"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Qorv"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\qorv.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Qorv を起動する"
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
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "Software\Qorv" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Qorv"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Qorv"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qorv.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "スタートメニューに登録" SecStartMenu
  CreateDirectory "$SMPROGRAMS\Qorv"
  CreateShortCut "$SMPROGRAMS\Qorv\Qorv.lnk" "$INSTDIR\qorv.exe"
  IfFileExists "$INSTDIR\pelisk.exe" 0 +2
    CreateShortCut "$SMPROGRAMS\Qorv\Qorv 設定.lnk" "$INSTDIR\pelisk.exe"
  CreateShortCut "$SMPROGRAMS\Qorv\Qorv のアンインストール.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

Section /o "Windows の起動時に開始" SecAutoStart
  WriteRegStr HKCU "${RUN_KEY}" "Qorv" '"$INSTDIR\qorv.exe"'
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
  ; Only the value that names this copy.
  ReadRegStr $0 HKCU "${RUN_KEY}" "Qorv"
  StrCmp $0 '"$INSTDIR\qorv.exe"' 0 +2
    DeleteRegValue HKCU "${RUN_KEY}" "Qorv"
SectionEnd

Section /o "un.設定ファイル (Qorv.ini, MapFlag.ini) も削除する" SecUnSettings
  Delete "$INSTDIR\Qorv.ini"
  Delete "$INSTDIR\MapFlag.ini"
  ; Everything goes: a library still mapped in another program keeps the folder until Windows
  ; next starts.
  RMDir /REBOOTOK "$INSTDIR"
SectionEnd

Section "-un.Folder"
  RMDir "$INSTDIR"  ; only when empty: the settings files stay unless removed above
  ; Last, so that the entry in the list of programs stays until everything else has gone.
  DeleteRegKey HKCU "Software\Qorv"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
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
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAutoStart} "ログオン時に Qorv を起動します"
!insertmacro MUI_FUNCTION_DESCRIPTION_END
