; The Windows firewall rules for the station's port: in, UDP from the local
; subnet only (the box's datagrams); out, UDP to the broadcast address (the
; ping and restart commands). The port is the fourth number of Pytaj= in
; [Ornitel] of the host's MERLOX.INI, 1338 when there is none or it is 0, as
; the plug-in itself reads it. The setup remembers the port of the rules it
; added beside the uninstaller, which removes them whatever the port. netsh
; is called by its full path, so that no netsh.exe beside the setup runs.

!define FIREWALL_MEMORY "callerid-firewall.ini"

; Runs netsh with ARGS and puts the command and its exit code in the details.
!macro NETSH ARGS
  DetailPrint 'netsh ${ARGS}'
  nsExec::ExecToLog '"$SYSDIR\netsh.exe" ${ARGS}'
  Pop $0
  DetailPrint "$(NetshResult)"
!macroend

!macro DELETE_FIREWALL_RULES UN
; Deletes the two rules for port $R1 (a rule that is not there is no fault).
Function ${UN}DeleteFirewallRules
  !insertmacro NETSH 'advfirewall firewall delete rule name="Caller ID UDP $R1 in"'
  !insertmacro NETSH 'advfirewall firewall delete rule name="Caller ID UDP $R1 broadcast out"'
FunctionEnd
!macroend
!insertmacro DELETE_FIREWALL_RULES ""
!insertmacro DELETE_FIREWALL_RULES "un."

; $R1 := the station's port. Spaces are ignored and leading zeros dropped
; (NSIS would read 01338 as octal); anything but 1 to 65535 gives 1338.
Function StationPort
  ReadINIStr $0 "$INSTDIR\MERLOX.INI" "Ornitel" "Pytaj"
  StrCpy $1 0   ; position in the value
  StrCpy $2 0   ; commas passed
  StrCpy $3 ""  ; digits of the fourth number
  StrCpy $5 1   ; the fourth number is digits only so far
  ${Do}
    StrCpy $4 $0 1 $1
    ${If} $4 == ""
      ${Break}
    ${ElseIf} $4 == ","
      IntOp $2 $2 + 1
    ${ElseIf} $2 == 3
    ${AndIf} $4 != " "
      ${If} $3 == ""
      ${AndIf} $4 == "0"
        ; a leading zero
      ${ElseIf} $4 S< "0"
      ${OrIf} $4 S> "9"
        StrCpy $5 0
      ${Else}
        StrCpy $3 "$3$4"
      ${EndIf}
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}
  StrCpy $R1 1338
  StrLen $4 $3
  ${If} $2 >= 3
  ${AndIf} $5 == 1
  ${AndIf} $4 >= 1
  ${AndIf} $4 <= 5
  ${AndIf} $3 <= 65535
    StrCpy $R1 $3
  ${EndIf}
FunctionEnd

; Asks (a silent install says yes) and adds the two rules for the station's
; port. Rules an earlier install added for another port go first.
Function OfferFirewallRules
  Call StationPort
  MessageBox MB_YESNO|MB_ICONQUESTION "$(FirewallQuestion)" /SD IDYES IDYES add
  Return
  add:
  ReadINIStr $R2 "$INSTDIR\${FIREWALL_MEMORY}" "Firewall" "Port"
  ${If} $R2 != ""
  ${AndIf} $R2 != $R1
    Push $R1
    StrCpy $R1 $R2
    Call DeleteFirewallRules
    Pop $R1
  ${EndIf}
  !insertmacro NETSH 'advfirewall firewall add rule name="Caller ID UDP $R1 in" dir=in action=allow protocol=UDP localport=$R1 remoteip=localsubnet'
  !insertmacro NETSH 'advfirewall firewall add rule name="Caller ID UDP $R1 broadcast out" dir=out action=allow protocol=UDP remoteport=$R1 remoteip=255.255.255.255'
  WriteINIStr "$INSTDIR\${FIREWALL_MEMORY}" "Firewall" "Port" $R1
FunctionEnd

; The uninstaller: the rules of the remembered port, then the memory.
Function un.RemoveFirewallRules
  ReadINIStr $R1 "$INSTDIR\${FIREWALL_MEMORY}" "Firewall" "Port"
  ${If} $R1 != ""
    Call un.DeleteFirewallRules
  ${EndIf}
  Delete "$INSTDIR\${FIREWALL_MEMORY}"
FunctionEnd
