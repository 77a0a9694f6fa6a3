; Installer of QV: a per-user installation (no administrator rights) into the
; user's local programs folder, which stays writable so the clock can save its
; settings files next to QV.exe. Built by packaging/CMakeLists.txt; it passes
;   QV_VERSION  e.g. 0.5.0
;   QV_ARCH     x86 (the shipped 32-bit programs) or x64
;   QV_EXE, QV_OCX, QV_HELP, QV_LICENSE   paths of the files to ship
;   QV_OUTFILE  path of the setup program to write
; Compile with: makensis -INPUTCHARSET UTF8 -D... qv.nsi

!ifndef QV_VERSION | QV_ARCH | QV_EXE | QV_OCX | QV_HELP | QV_LICENSE | QV_OUTFILE
  !error "QV_VERSION, QV_ARCH, QV_EXE, QV_OCX, QV_HELP, QV_LICENSE and QV_OUTFILE must be defined"
!endif

!if ${QV_ARCH} == x64
  Target amd64-unicode
!else
  Unicode true
!endif

!define QV_UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QV"
!define QV_RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "QV"
OutFile "${QV_OUTFILE}"
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma
InstallDir "$LOCALAPPDATA\Programs\QV"
InstallDirRegKey HKCU "${QV_UNINST_KEY}" "InstallLocation"
BrandingText "QV ${QV_VERSION}"

VIProductVersion "${QV_VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "QV"
VIAddVersionKey /LANG=0 "ProductVersion" "${QV_VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${QV_VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "QV Setup"
VIAddVersionKey /LANG=0 "CompanyName" "the QV developers"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) the QV developers, MIT License"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\QV.exe"
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_LICENSE "${QV_LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback when the user's UI language is neither.
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

LangString SecProgram ${LANG_JAPANESE} "QV (必須)"
LangString SecProgram ${LANG_ENGLISH} "QV (required)"
LangString SecStartMenu ${LANG_JAPANESE} "スタートメニューのショートカット"
LangString SecStartMenu ${LANG_ENGLISH} "Start menu shortcut"
LangString SecAutostart ${LANG_JAPANESE} "Windows の起動時に QV を起動する"
LangString SecAutostart ${LANG_ENGLISH} "Start QV with Windows"
LangString MsgRegisterFailed ${LANG_JAPANESE} "透明化コントロール Vitrel32.ocx を登録できませんでした (コード $0)。QV はプログラムのフォルダーから直接読み込むので、透明表示は使えます。"
LangString MsgRegisterFailed ${LANG_ENGLISH} "The transparency control Vitrel32.ocx could not be registered (code $0). QV loads it from its own folder, so transparent display still works."
LangString MsgStillRunning ${LANG_JAPANESE} "QV が実行中のため削除できません。QV を終了してから [再試行] を押してください。"
LangString MsgStillRunning ${LANG_ENGLISH} "QV is running and cannot be removed. Close QV, then press Retry."
LangString MsgDeleteSettings ${LANG_JAPANESE} "設定ファイル (STEI.QV, STEI1.QV, STEI2.QV) も削除しますか？$\r$\n[いいえ] を選ぶと、設定はフォルダーに残ります。"
LangString MsgDeleteSettings ${LANG_ENGLISH} "Also delete your settings files (STEI.QV, STEI1.QV, STEI2.QV)?$\r$\nChoose No to keep them in the program folder."

LangString MsgNeedsSse2 ${LANG_JAPANESE} "QV には SSE2 に対応したプロセッサーが必要です。このコンピューターにはインストールできません。"
LangString MsgNeedsSse2 ${LANG_ENGLISH} "QV needs a processor with SSE2. It cannot be installed on this computer."

Function .onInit
  SetShellVarContext current
  !if ${QV_ARCH} == x64
    SetRegView 64
  !else
    ; The 32-bit programs compute with SSE2 (PF_XMMI64_INSTRUCTIONS_AVAILABLE).
    System::Call 'kernel32::IsProcessorFeaturePresent(i 10) i .r0'
    ${If} $0 == 0
      MessageBox MB_OK|MB_ICONSTOP "$(MsgNeedsSse2)" /SD IDOK
      Abort
    ${EndIf}
  !endif
FunctionEnd

Function un.onInit
  SetShellVarContext current
  !if ${QV_ARCH} == x64
    SetRegView 64
  !endif
FunctionEnd

Section "!$(SecProgram)" SecProgramId
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=QV.exe" "${QV_EXE}"
  File "/oname=Vitrel32.ocx" "${QV_OCX}"
  File "/oname=Qv_help.html" "${QV_HELP}"
  File "/oname=LICENSE.txt" "${QV_LICENSE}"

  ; Registered for this user only; a failure is not fatal because the clock
  ; falls back to loading the control from its own folder.
  ExecWait '"$SYSDIR\regsvr32.exe" /s /n /i:user "$INSTDIR\Vitrel32.ocx"' $0
  ${If} $0 != 0
    DetailPrint "$(MsgRegisterFailed)"
  ${EndIf}

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "${QV_UNINST_KEY}" "DisplayName" "QV"
  WriteRegStr HKCU "${QV_UNINST_KEY}" "DisplayVersion" "${QV_VERSION}"
  WriteRegStr HKCU "${QV_UNINST_KEY}" "Publisher" "the QV developers"
  WriteRegStr HKCU "${QV_UNINST_KEY}" "DisplayIcon" "$INSTDIR\QV.exe"
  WriteRegStr HKCU "${QV_UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${QV_UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${QV_UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${QV_UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${QV_UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegDWORD HKCU "${QV_UNINST_KEY}" "EstimatedSize" $1
SectionEnd

Section "$(SecStartMenu)" SecStartMenuId
  CreateShortcut "$SMPROGRAMS\QV.lnk" "$INSTDIR\QV.exe" "" "$INSTDIR\QV.exe" 0
SectionEnd

Section /o "$(SecAutostart)" SecAutostartId
  WriteRegStr HKCU "${QV_RUN_KEY}" "QV" '"$INSTDIR\QV.exe"'
SectionEnd

Section "Uninstall"
  ; A running clock holds QV.exe open; removing nothing until it is closed
  ; keeps a half-removed installation from happening.
  retry:
  ClearErrors
  Delete "$INSTDIR\QV.exe"
  ${If} ${Errors}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(MsgStillRunning)" /SD IDCANCEL IDRETRY retry
    Abort
  ${EndIf}

  ExecWait '"$SYSDIR\regsvr32.exe" /s /u /n /i:user "$INSTDIR\Vitrel32.ocx"'
  Delete "$INSTDIR\Vitrel32.ocx"
  Delete "$INSTDIR\Qv_help.html"
  Delete "$INSTDIR\LICENSE.txt"
  ; What an interrupted settings save may have left; never the user's data.
  Delete "$INSTDIR\STEI.QV.tmp"
  Delete "$INSTDIR\STEI1.QV.tmp"
  Delete "$INSTDIR\STEI2.QV.tmp"

  ; The settings are the user's data: asked for, default No; a silent
  ; uninstallation keeps them.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(MsgDeleteSettings)" /SD IDNO IDNO keep_settings
    Delete "$INSTDIR\STEI.QV"
    Delete "$INSTDIR\STEI1.QV"
    Delete "$INSTDIR\STEI2.QV"
  keep_settings:

  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\QV.lnk"
  DeleteRegValue HKCU "${QV_RUN_KEY}" "QV"
  DeleteRegKey HKCU "${QV_UNINST_KEY}"
SectionEnd
