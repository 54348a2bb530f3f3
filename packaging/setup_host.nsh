; The host's directory: it must hold the host's main module MERLOX.DLL (the
; file system compares the name without case), and the host must not be
; running, for it holds callerid.dll loaded and the copy would fail halfway.

!define HOST_MODULE "MERLOX.DLL"

; The directory page's Next: a directory without the host's main module is
; named, and the user decides.
Function DirectoryLeave
  ${IfNot} ${FileExists} "$INSTDIR\${HOST_MODULE}"
    MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "$(NoHostModule)" IDYES accepted
    Abort
  ${EndIf}
  accepted:
FunctionEnd

; A silent install needs /D= with the host's directory.
Function SilentHostCheck
  ${If} $INSTDIR == ""
    StrCpy $R0 "$(SilentNoDirectory)"
    Call Refuse
  ${EndIf}
  ${IfNot} ${FileExists} "$INSTDIR\${HOST_MODULE}"
    StrCpy $R0 "$(SilentNoHostModule)"
    Call Refuse
  ${EndIf}
FunctionEnd

; A running host keeps callerid.dll loaded, and a loaded module cannot be
; opened for writing: ask to close the host (silently: refuse).
Function HostMustBeClosed
  retry:
  ${IfNot} ${FileExists} "$INSTDIR\callerid.dll"
    Return
  ${EndIf}
  ClearErrors
  FileOpen $0 "$INSTDIR\callerid.dll" a
  ${IfNot} ${Errors}
    FileClose $0
    Return
  ${EndIf}
  StrCpy $R0 "$(HostRunning)"
  ${If} ${Silent}
    Call Refuse
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$R0" IDRETRY retry
  SetErrorLevel 2
  Quit
FunctionEnd
