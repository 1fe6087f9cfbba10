; Included into the NSIS installer that cpack writes (UTF-8 with a byte-order
; mark, which is how makensis knows). Its exit codes, which a silent install
; (/S) returns to the tool that ran it:
;   3  Windows older than 7: nothing installed
;   4  the program is running: nothing changed
;   5  the copy already installed could not be removed
!include LogicLib.nsh
!include FileFunc.nsh
!include WinVer.nsh
!include x64.nsh

; The folder of the copy already installed, from its uninstaller's path in the
; list of installed programs; empty when there is none. A 32-bit installer
; reads the 32-bit view of the registry, where this version lists itself;
; version 1.0.0 was 64-bit and listed itself in the 64-bit view.
!macro AminoInstalledFolder var
  ReadRegStr ${var} HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\aminokiselini" "UninstallString"
  ${If} ${var} == ""
  ${AndIf} ${RunningX64}
    SetRegView 64
    ReadRegStr ${var} HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\aminokiselini" "UninstallString"
    SetRegView default
  ${EndIf}
  ${If} ${var} != ""
    StrCpy ${var} ${var} -1 1
    ${GetParent} ${var} ${var}
  ${EndIf}
!macroend

; First thing in .onInit, before any page or change.
!macro AminoOnInit
  ; NSIS's manifest declares Windows 10, so Windows tells it its true version.
  ${IfNot} ${AtLeastWin7}
    MessageBox MB_OK|MB_ICONSTOP "Аминокиселини работи на Windows 7 или по-нов. Нищо не е инсталирано." /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}

  ; A running program's file cannot be opened for writing.
  !insertmacro AminoInstalledFolder $1
  ${If} $1 == ""
    StrCpy $1 $INSTDIR
  ${EndIf}
  amino_running:
  ${If} ${FileExists} "$1\aminokiselini.exe"
    ClearErrors
    FileOpen $0 "$1\aminokiselini.exe" a
    ${If} ${Errors}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Аминокиселини е отворена. Затворете програмата и опитайте отново." /SD IDCANCEL IDRETRY amino_running
      SetErrorLevel 4
      Quit
    ${EndIf}
    FileClose $0
  ${EndIf}
!macroend

; First thing in the install section: an installed copy, of this version or
; another, is removed with its own uninstaller, so that one copy, one
; Start-menu entry and one entry among the installed programs remain.
!macro AminoRemoveInstalledCopy
  !insertmacro AminoInstalledFolder $1
  ${If} $1 != ""
  ${AndIf} ${FileExists} "$1\Uninstall.exe"
    DetailPrint "Премахване на инсталираното копие от $1"
    ; _?= runs it in place and waits for it; it then leaves itself behind.
    ClearErrors
    ExecWait '"$1\Uninstall.exe" /S _?=$1' $0
    ${If} ${Errors}
    ${OrIf} $0 != 0
      MessageBox MB_OK|MB_ICONSTOP "Инсталираното копие на Аминокиселини в $1 не можа да бъде премахнато." /SD IDOK
      SetErrorLevel 5
      Quit
    ${EndIf}
    Delete "$1\Uninstall.exe"
    RMDir "$1"
    SetOutPath "$INSTDIR"
  ${EndIf}
!macroend
