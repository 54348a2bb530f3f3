; How the setup and the uninstaller refuse or complain: a box in an
; interactive run; in a silent run (/S) the line goes to the standard error
; of the console it was started from (Unicode to a console, UTF-8 when
; redirected, like the callerid tool). Either way the line is also written
; to a log in the user's temporary folder (%TEMP%\callerid-setup.log,
; %TEMP%\callerid-uninstall.log; begun anew by each run), which the guides
; name: a run started from a script or without a console leaves its reason
; there. A refusal ends the run with exit code 2, nothing installed or
; removed; a complaint lets it go on.

!define SETUP_LOG "callerid-setup.log"
!define UNINSTALL_LOG "callerid-uninstall.log"

!macro REFUSE_FUNCTIONS UN
; Writes $R0 and a line end to the standard error, if the run has one.
Function ${UN}WriteStdErr
  System::Call 'kernel32::GetStdHandle(i -12) p .r0'
  ${If} $0 P<= 0
    System::Call 'kernel32::AttachConsole(i -1) i .r1'
    System::Call 'kernel32::GetStdHandle(i -12) p .r0'
  ${EndIf}
  ${If} $0 P<= 0
    Return
  ${EndIf}
  StrCpy $1 "$R0$\r$\n"
  System::Call 'kernel32::GetConsoleMode(p r0, *i .r2) i .r3'
  ${If} $3 <> 0
    StrLen $2 $1
    System::Call 'kernel32::WriteConsoleW(p r0, w r1, i r2, *i .r3, p 0)'
    Return
  ${EndIf}
  System::Call 'kernel32::WideCharToMultiByte(i 65001, i 0, w r1, i -1, p 0, i 0, p 0, p 0) i .r2'
  System::Alloc $2
  Pop $4
  System::Call 'kernel32::WideCharToMultiByte(i 65001, i 0, w r1, i -1, p r4, i r2, p 0, p 0) i .r2'
  IntOp $2 $2 - 1
  System::Call 'kernel32::WriteFile(p r0, p r4, i r2, *i .r3, p 0)'
  System::Free $4
FunctionEnd

; Appends $R0 and a line end to the run's log (UTF-16, as Notepad reads it).
Function ${UN}WriteLog
  !if "${UN}" == ""
    StrCpy $6 "$TEMP\${SETUP_LOG}"
  !else
    StrCpy $6 "$TEMP\${UNINSTALL_LOG}"
  !endif
  ClearErrors
  FileOpen $7 $6 a
  ${If} ${Errors}
    Return
  ${EndIf}
  FileSeek $7 0 END $6
  ${If} $6 == 0
    FileWriteWord $7 0xFEFF
  ${EndIf}
  FileWriteUTF16LE $7 "$R0$\r$\n"
  FileClose $7
FunctionEnd

; Begins the run's log anew.
Function ${UN}StartLog
  !if "${UN}" == ""
    Delete "$TEMP\${SETUP_LOG}"
  !else
    Delete "$TEMP\${UNINSTALL_LOG}"
  !endif
FunctionEnd

; Shows or writes $R0, then ends the run with exit code 2.
Function ${UN}Refuse
  Call ${UN}WriteLog
  ${If} ${Silent}
    Call ${UN}WriteStdErr
  ${Else}
    MessageBox MB_OK|MB_ICONSTOP "$R0"
  ${EndIf}
  SetErrorLevel 2
  Quit
FunctionEnd

; Shows or writes $R0, and the run goes on.
Function ${UN}Complain
  Call ${UN}WriteLog
  ${If} ${Silent}
    Call ${UN}WriteStdErr
  ${Else}
    MessageBox MB_OK|MB_ICONEXCLAMATION "$R0"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro REFUSE_FUNCTIONS ""
!insertmacro REFUSE_FUNCTIONS "un."
