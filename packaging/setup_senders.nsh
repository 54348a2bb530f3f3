; The caller-ID box's address: asked on a page of its own after the host's
; folder (in a silent run given as /BOX=ADDRESS), written to Nadawcy= in
; [Ornitel] of Ornitel.ini by the installed callerid tool, which reads an
; address, range or subnet exactly as the plug-in does, and given to the
; firewall's inbound rule with the local subnet (whose stations send the
; restarts). Left empty, nothing is written: the plug-in then takes calls
; from the local subnets, and the rule keeps to the local subnet.

!include nsDialogs.nsh
!include FileFunc.nsh

Var BoxAddress
Var BoxAddressField
; netsh's remoteip for the inbound rule.
Var BoxRemoteIp

LangString BoxAddressTitle ${LANG_ENGLISH} "Caller-ID box"
LangString BoxAddressTitle ${LANG_POLISH} "Centralka (identyfikacja numeru)"
LangString BoxAddressSubtitle ${LANG_ENGLISH} "Where the calls come from"
LangString BoxAddressSubtitle ${LANG_POLISH} "Skąd przychodzą połączenia"
LangString BoxAddressText ${LANG_ENGLISH} "The IPv4 address of the office's caller-ID box (for example 192.168.1.20; a range a.b.c.d-e.f.g.h or a subnet a.b.c.d/n will do). Only it may then send calls; the stations of the local subnet may still send ping and restart.$\r$\n$\r$\nLeave it empty to take calls from the local subnet, as before. It can be changed later with: callerid senders add ADDRESS"
LangString BoxAddressText ${LANG_POLISH} "Adres IPv4 centralki biura (na przykład 192.168.1.20; może być też zakres a.b.c.d-e.f.g.h albo podsieć a.b.c.d/n). Tylko ona będzie mogła wysyłać połączenia; stanowiska podsieci lokalnej nadal mogą wysyłać ping i restart.$\r$\n$\r$\nPozostaw puste, by przyjmować połączenia z podsieci lokalnej, jak dotąd. Można to zmienić później poleceniem: callerid senders add ADRES"
LangString BoxAddressRefused ${LANG_ENGLISH} "The box's address was not written, and the firewall rule keeps to the local subnet:"
LangString BoxAddressRefused ${LANG_POLISH} "Adresu centralki nie zapisano, a reguła zapory obejmuje tylko podsieć lokalną:"

; .onInit: the address a silent run was given.
Function TakeGivenBoxAddress
  StrCpy $BoxAddress ""
  StrCpy $BoxRemoteIp "localsubnet"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/BOX=" $1
  ${IfNot} ${Errors}
    StrCpy $BoxAddress $1
  ${EndIf}
FunctionEnd

Function BoxAddressPage
  !insertmacro MUI_HEADER_TEXT "$(BoxAddressTitle)" "$(BoxAddressSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 72u "$(BoxAddressText)"
  Pop $0
  ${NSD_CreateText} 0 78u 50% 12u "$BoxAddress"
  Pop $BoxAddressField
  nsDialogs::Show
FunctionEnd

Function BoxAddressLeave
  ${NSD_GetText} $BoxAddressField $BoxAddress
FunctionEnd

; Before the firewall step: the address into Nadawcy; an address the tool
; refuses is named (a box, or a line and exit code 3 in a silent run) and
; the rule keeps to the local subnet.
Function WriteBoxAddress
  StrCpy $BoxRemoteIp "localsubnet"
  ${If} $BoxAddress == ""
    Return
  ${EndIf}
  DetailPrint 'callerid senders add "$BoxAddress"'
  nsExec::ExecToStack '"$INSTDIR\callerid.exe" senders add "$BoxAddress" --dir "$INSTDIR"'
  Pop $0
  Pop $1
  DetailPrint "$1"
  ${If} $0 == 0
    StrCpy $BoxRemoteIp "$BoxAddress,localsubnet"
  ${Else}
    StrCpy $R0 "$(BoxAddressRefused)$\r$\n$1"
    Call Complain
    SetErrorLevel 3
  ${EndIf}
FunctionEnd
