; The host's directory: it must hold the host's main module MERLOX.DLL (the
; file system compares the name without case), and the host must not be
; running, for it holds callerid.dll loaded: the setup's copy would fail
; halfway, and the uninstaller would leave the plug-in behind.
;
; A directory may be a UNC path (\\server\share\...), which is what an office
; whose program folder is on a server gives: the setup runs elevated, and an
; elevated process does not see the drive letters mapped for the user.

!define HOST_MODULE "MERLOX.DLL"
!define PLUGIN "callerid.dll"

!macro HOST_FUNCTIONS UN
; $0 := 1 when callerid.dll is free (or not there), 0 when something holds
; it. A loaded module cannot be opened for writing (Windows refuses it while
; the image is mapped, in this process or, over a share, on another
; station), and opened without sharing it cannot be while any program has it
; open; a rename would pass, for Windows lets a loaded module be renamed.
Function ${UN}PluginIsFree
  StrCpy $0 1
  ${IfNot} ${FileExists} "$INSTDIR\${PLUGIN}"
    Return
  ${EndIf}
  ; GENERIC_WRITE | DELETE, no sharing, OPEN_EXISTING
  System::Call 'kernel32::CreateFileW(w "$INSTDIR\${PLUGIN}", i 0x40010000, i 0, p 0, i 3, i 0, p 0) p .r1'
  ${If} $1 P= -1
    StrCpy $0 0
  ${Else}
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
FunctionEnd

; Shows $R0 and asks to close the host: returns on Retry; Cancel, or a
; silent run, ends the run with exit code 2.
Function ${UN}AskToCloseHost
  ${If} ${Silent}
    Call ${UN}Refuse
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$R0" IDRETRY again
  Call ${UN}WriteLog
  SetErrorLevel 2
  Quit
  again:
FunctionEnd

; Returns once callerid.dll is free, asking with $R0 until it is.
Function ${UN}HostIsClosed
  ${Do}
    Call ${UN}PluginIsFree
    ${If} $0 == 1
      Return
    ${EndIf}
    Call ${UN}AskToCloseHost
  ${Loop}
FunctionEnd
!macroend
!insertmacro HOST_FUNCTIONS ""
!insertmacro HOST_FUNCTIONS "un."

; $1 := the hint for a directory on a drive letter that this process does
; not see or sees as a network drive (an elevated setup may not see the
; user's mapped drives); empty for any other directory.
Function MappedDriveHint
  StrCpy $1 ""
  StrCpy $2 $INSTDIR 1 1
  ${If} $2 != ":"
    Return
  ${EndIf}
  StrCpy $2 $INSTDIR 2
  StrCpy $2 "$2\"
  System::Call 'kernel32::GetDriveTypeW(w r2) i .r3'
  ; DRIVE_NO_ROOT_DIR, DRIVE_REMOTE
  ${If} $3 == 1
  ${OrIf} $3 == 4
    StrCpy $1 "$(MappedDrive)"
  ${EndIf}
FunctionEnd

; NSIS takes a /D= directory whose drive or share it cannot reach (a mapped
; drive that an elevated setup does not see, a path it cannot read) for no
; directory at all, and falls back on the last install's directory without a
; word. The directory as given is taken back from the command line, so that
; it is checked, and refused by name, instead.
Function TakeGivenDirectory
  System::Call 'kernel32::GetCommandLineW() w .r0'
  StrLen $1 $0
  ${Do}
    IntOp $1 $1 - 1
    ${If} $1 < 0
      Return
    ${EndIf}
    StrCpy $2 $0 4 $1
    StrCpy $3 $0 5 $1
    ${If} $2 S== " /D="
    ${OrIf} $3 S== ' "/D='
      ${Break}
    ${EndIf}
  ${Loop}
  StrCpy $2 $0 "" $1
  ${If} $3 S== ' "/D='
    ; A starter that quotes an argument with spaces (as Wine's does) puts
    ; the quotes around /D= too.
    StrCpy $2 $2 "" 5
    StrCpy $3 $2 1 -1
    ${If} $3 == '"'
      StrCpy $2 $2 -1
    ${EndIf}
  ${Else}
    StrCpy $2 $2 "" 4
  ${EndIf}
  StrLen $1 $2
  StrCpy $3 $2 1 -1
  ${If} $3 == "\"
  ${AndIf} $1 > 3
    StrCpy $2 $2 -1
  ${EndIf}
  ${If} $2 != $INSTDIR
    StrCpy $INSTDIR $2
  ${EndIf}
FunctionEnd

; The directory page's Next: a directory without the host's main module is
; named, and the user decides.
Function DirectoryLeave
  ${IfNot} ${FileExists} "$INSTDIR\${HOST_MODULE}"
    Call MappedDriveHint
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
    Call MappedDriveHint
    StrCpy $R0 "$(SilentNoHostModule)"
    Call Refuse
  ${EndIf}
FunctionEnd

; Before the copy: ask to close the host (silently: refuse).
Function HostMustBeClosed
  StrCpy $R0 "$(HostRunning)"
  Call HostIsClosed
FunctionEnd

; Before the uninstaller removes anything: the same.
Function un.HostMustBeClosed
  StrCpy $R0 "$(UninstallHostRunning)"
  Call un.HostIsClosed
FunctionEnd

; The plug-in goes first, so that when even now it cannot be removed
; nothing else has been: no plug-in stays behind without its uninstaller,
; its entry or its firewall rules.
Function un.RemovePlugin
  ${Do}
    Call un.HostMustBeClosed
    Delete "$INSTDIR\${PLUGIN}"
    ${IfNot} ${FileExists} "$INSTDIR\${PLUGIN}"
      Return
    ${EndIf}
    Call un.AskToCloseHost
  ${Loop}
FunctionEnd

; A program folder on the network may be every station's: removing the
; plug-in there removes it for all of them. Asked (a silent run says so and
; goes on) before anything is removed.
Function un.WarnSharedFolder
  StrCpy $1 $INSTDIR 2
  ${If} $1 != "\\"
    StrCpy $1 $INSTDIR 3
    System::Call 'kernel32::GetDriveTypeW(w r1) i .r2'
    ${If} $2 != 4
      Return
    ${EndIf}
  ${EndIf}
  StrCpy $R0 "$(UninstallSharedFolder)"
  Call un.WriteLog
  ${If} ${Silent}
    Call un.WriteStdErr
    Return
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "$R0$\r$\n$\r$\n$(UninstallSharedQuestion)" IDYES accepted
  SetErrorLevel 2
  Quit
  accepted:
FunctionEnd
