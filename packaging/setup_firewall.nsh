; The Windows firewall rules for the station's port: in, UDP from the local
; subnet only (the box's datagrams); out, UDP to the broadcast address (the
; ping and restart commands). The port is the fourth number of Pytaj= in
; [Ornitel] of the host's MERLOX.INI, 1338 when there is none or it is 0, as
; the plug-in itself reads it. The rule names are those `callerid firewall`
; uses, so that the setup, the uninstaller and the tool manage the same
; rules. netsh is called by its full path, so that no netsh.exe beside the
; setup runs.
;
; The setup remembers beside the uninstaller each rule that netsh added (In=
; and Out= in [Firewall], with its port); the uninstaller removes those
; whatever their port. A rule netsh did not add is shown (a box, or in a
; silent run a line on the console and exit code 3) and not remembered; the
; files stay installed.

!define FIREWALL_MEMORY "callerid-firewall.ini"
!define RULE_IN "Caller ID UDP $R1 in"
!define RULE_OUT "Caller ID UDP $R1 broadcast out"

; Runs netsh with ARGS and waits: $0 := its exit code ("error" when it could
; not start), $1 := what it printed, its last line ends trimmed, $8 := how
; it ended, in words. The command, how it ended and the output go in the
; details.
!macro NETSH ARGS
  DetailPrint 'netsh ${ARGS}'
  nsExec::ExecToStack /OEM '"$SYSDIR\netsh.exe" ${ARGS}'
  Pop $0
  Pop $1
  !insertmacro TRIM_LINE_ENDS $1
  StrCpy $8 "$(NetshResult)"
  ${If} $0 == "error"
    StrCpy $8 "$(NetshNotStarted)"
  ${EndIf}
  DetailPrint "$8"
  ${If} $1 != ""
    DetailPrint "$1"
  ${EndIf}
!macroend

; Drops the line ends (and spaces) from the end of VAR.
!macro TRIM_LINE_ENDS VAR
  ${Do}
    StrCpy $9 ${VAR} 1 -1
    ${If} $9 != "$\r"
    ${AndIf} $9 != "$\n"
    ${AndIf} $9 != " "
      ${Break}
    ${EndIf}
    StrCpy ${VAR} ${VAR} -1
  ${Loop}
!macroend

!macro DELETE_FIREWALL_RULES UN
; Deletes the two rules for port $R1. netsh fails alike for a rule that is
; not there and for one it cannot delete, so no failure is reported here.
Function ${UN}DeleteFirewallRules
  !insertmacro NETSH 'advfirewall firewall delete rule name="${RULE_IN}"'
  !insertmacro NETSH 'advfirewall firewall delete rule name="${RULE_OUT}"'
FunctionEnd

; Deletes the rules of every port remembered (In=, Out=, and Port=, an
; earlier release's memory of both rules) once, but those of port $R1.
Function ${UN}DeleteRememberedRules
  ReadINIStr $R2 "$INSTDIR\${FIREWALL_MEMORY}" "Firewall" "In"
  ReadINIStr $R3 "$INSTDIR\${FIREWALL_MEMORY}" "Firewall" "Out"
  ReadINIStr $R4 "$INSTDIR\${FIREWALL_MEMORY}" "Firewall" "Port"
  StrCpy $R6 $R1
  ${If} $R2 != ""
  ${AndIf} $R2 != $R6
    StrCpy $R1 $R2
    Call ${UN}DeleteFirewallRules
  ${EndIf}
  ${If} $R3 != ""
  ${AndIf} $R3 != $R6
  ${AndIf} $R3 != $R2
    StrCpy $R1 $R3
    Call ${UN}DeleteFirewallRules
  ${EndIf}
  ${If} $R4 != ""
  ${AndIf} $R4 != $R6
  ${AndIf} $R4 != $R2
  ${AndIf} $R4 != $R3
    StrCpy $R1 $R4
    Call ${UN}DeleteFirewallRules
  ${EndIf}
  StrCpy $R1 $R6
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

; Adds the rule NAME (netsh's add rule with RULE after the name) and
; remembers its port under KEY; a rule not added joins the list in $R5.
!macro ADD_FIREWALL_RULE NAME RULE KEY
  !insertmacro NETSH 'advfirewall firewall add rule name="${NAME}" ${RULE}'
  ${If} $0 == 0
    WriteINIStr "$INSTDIR\${FIREWALL_MEMORY}" "Firewall" ${KEY} $R1
  ${Else}
    ${If} $1 != ""
      StrCpy $1 ": $1"
    ${EndIf}
    StrCpy $R5 '$R5$\r$\n"${NAME}": $8$1'
  ${EndIf}
!macroend

; Asks (a silent install says yes) and adds the two rules for the station's
; port. Rules an earlier install added, for this port or another, go first,
; so that a setup run again replaces its rules rather than adding copies.
Function OfferFirewallRules
  Call StationPort
  MessageBox MB_YESNO|MB_ICONQUESTION "$(FirewallQuestion)" /SD IDYES IDYES add
  Return
  add:
  Call DeleteRememberedRules
  Call DeleteFirewallRules
  DeleteINISec "$INSTDIR\${FIREWALL_MEMORY}" "Firewall"
  StrCpy $R5 ""
  !insertmacro ADD_FIREWALL_RULE "${RULE_IN}" \
    "dir=in action=allow protocol=UDP localport=$R1 remoteip=$BoxRemoteIp" In
  !insertmacro ADD_FIREWALL_RULE "${RULE_OUT}" \
    "dir=out action=allow protocol=UDP remoteport=$R1 remoteip=255.255.255.255" Out
  ${If} $R5 != ""
    StrCpy $R0 "$(FirewallFailed)"
    Call Complain
    SetErrorLevel 3
  ${EndIf}
FunctionEnd

; The uninstaller: the rules of every remembered port (Port= is an earlier
; release's memory of both rules), then the memory.
Function un.RemoveFirewallRules
  StrCpy $R1 ""
  Call un.DeleteRememberedRules
  Delete "$INSTDIR\${FIREWALL_MEMORY}"
FunctionEnd
