; The Windows firewall rules for the station's port: in, UDP from the local
; subnet only (the box's datagrams); out, UDP to the broadcast address (the
; ping and restart commands). The port is the fourth number of Pytaj= in
; [Ornitel] of the host's MERLOX.INI as the plug-in binds it (see
; StationPort). The rule names are those `callerid firewall`
; uses, so that the setup, the uninstaller and the tool manage the same
; rules. netsh is called by its full path, so that no netsh.exe beside the
; setup runs.
;
; The setup remembers beside the uninstaller each rule that netsh added (In=
; and Out= in [Firewall], with its port); the uninstaller removes those
; whatever their port. A rule the uninstaller could not remove (netsh could
; not be started, or failed on a rule that is there) is named, as the
; setup names one it could not add, its memory stays, and the run ends
; with exit code 3: the files are removed, a rule is not. A rule netsh did not add is shown (a box, or in a
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

; Deletes the rule NAME; one that is still there afterwards (netsh could
; not be started, or failed on a rule that exists: netsh fails alike for a
; rule that is not there, which asking for it tells apart) joins the list
; in $R5 with why.
!macro DELETE_FIREWALL_RULE NAME
  !insertmacro NETSH 'advfirewall firewall delete rule name="${NAME}"'
  ${If} $0 != 0
    StrCpy $R3 $8
    StrCpy $R4 $1
    ${If} $0 != "error"
      !insertmacro NETSH 'advfirewall firewall show rule name="${NAME}"'
    ${EndIf}
    ${If} $0 == 0
    ${OrIf} $0 == "error"
      ${If} $R4 != ""
        StrCpy $R4 ": $R4"
      ${EndIf}
      StrCpy $R5 '$R5$\r$\n"${NAME}": $R3$R4'
    ${EndIf}
  ${EndIf}
!macroend

!macro DELETE_FIREWALL_RULES UN
; Deletes the two rules for port $R1; those it could not delete join $R5.
Function ${UN}DeleteFirewallRules
  Push $R3
  Push $R4
  !insertmacro DELETE_FIREWALL_RULE "${RULE_IN}"
  !insertmacro DELETE_FIREWALL_RULE "${RULE_OUT}"
  Pop $R4
  Pop $R3
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

; $R1 := the station's port, as the plug-in binds it (src/udp/port_rule.h,
; which the callerid tool shares): the low 16 bits of the fourth number of
; Pytaj=, 1338 where they are 0 or there is no number. Spaces are ignored
; and leading zeros dropped (NSIS would read 01338 as octal). $R9 := the
; number as written when it is outside 1 to 65535, else empty.
Function StationPort
  ReadINIStr $0 "$INSTDIR\MERLOX.INI" "Ornitel" "Pytaj"
  StrCpy $1 0   ; position in the value
  StrCpy $2 0   ; commas passed
  StrCpy $3 ""  ; digits of the fourth number
  StrCpy $5 1   ; the fourth number is digits only so far
  StrCpy $6 ""  ; its sign
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
      ${ElseIf} $4 == "-"
      ${AndIf} $3 == ""
      ${AndIf} $6 == ""
        StrCpy $6 "-"
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
  StrCpy $R9 ""
  StrLen $4 $3
  ${If} $2 >= 3
  ${AndIf} $5 == 1
  ${AndIf} $4 >= 1
  ${AndIf} $4 <= 10
    StrCpy $7 "$6$3"
    IntOp $R1 0 + $7
    ${If} $4 > 5
    ${OrIf} $6 == "-"
    ${OrIf} $R1 > 65535
      StrCpy $R9 $7
    ${EndIf}
    IntOp $R1 $R1 & 0xFFFF
    ${If} $R1 == 0
      StrCpy $R1 1338
    ${EndIf}
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
  ${If} $R9 != ""
    StrCpy $R0 "$(PortOutOfRange)"
    Call Complain
  ${EndIf}
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
; release's memory of both rules), then the memory; a rule not removed is
; named, and its memory kept, for callerid firewall remove or a next run.
Function un.RemoveFirewallRules
  StrCpy $R1 ""
  StrCpy $R5 ""
  Call un.DeleteRememberedRules
  ${If} $R5 == ""
    Delete "$INSTDIR\${FIREWALL_MEMORY}"
    Return
  ${EndIf}
  StrCpy $R0 "$(FirewallNotRemoved)"
  Call un.Complain
  SetErrorLevel 3
FunctionEnd
