; Each install has its own entry in Programs and Features, so that a program
; folder on a share and a local one on the same station never orphan each
; other: the entry's key is "callerid-" and a hash of the install folder.
; Entries are found by the folder they name (InstallLocation, compared
; without regard to case or a final "\"), so that a setup run again into
; the folder replaces its entry (an earlier release's "callerid" too), and
; the uninstaller removes its own entry and no other.

!define UNINSTALL_ROOT "Software\Microsoft\Windows\CurrentVersion\Uninstall"

; Drops a final "\" from VAR (but from a drive's root).
!macro NO_FINAL_SLASH VAR
  StrCpy $9 ${VAR} 1 -1
  StrLen $8 ${VAR}
  ${If} $9 == "\"
  ${AndIf} $8 > 3
    StrCpy ${VAR} ${VAR} -1
  ${EndIf}
!macroend

!macro ENTRY_FUNCTIONS UN
; $R7 := the key of the first of this program's entries from number $R6 on
; that names the folder $R8 ($R6 moves past it); empty when none does. An
; empty $R8 takes every entry whose folder still holds the plug-in.
Function ${UN}NextEntry
  StrCpy $R7 ""
  ${Do}
    EnumRegKey $1 SHCTX "${UNINSTALL_ROOT}" $R6
    ${If} $1 == ""
      Return
    ${EndIf}
    IntOp $R6 $R6 + 1
    StrCpy $2 $1 8
    ${If} $2 == "callerid"
      ReadRegStr $3 SHCTX "${UNINSTALL_ROOT}\$1" "InstallLocation"
      !insertmacro NO_FINAL_SLASH $3
      ${If} $R8 == ""
        ${If} ${FileExists} "$3\callerid.dll"
          StrCpy $R7 $1
          Return
        ${EndIf}
      ${ElseIf} $3 == $R8
        StrCpy $R7 $1
        Return
      ${EndIf}
    ${EndIf}
  ${Loop}
FunctionEnd

; Removes every entry that names $INSTDIR.
Function ${UN}DeleteEntries
  StrCpy $R8 $INSTDIR
  !insertmacro NO_FINAL_SLASH $R8
  ${Do}
    StrCpy $R6 0
    Call ${UN}NextEntry
    ${If} $R7 == ""
      Return
    ${EndIf}
    DeleteRegKey SHCTX "${UNINSTALL_ROOT}\$R7"
  ${Loop}
FunctionEnd
!macroend
!insertmacro ENTRY_FUNCTIONS ""
!insertmacro ENTRY_FUNCTIONS "un."

; $R7 := the key of the entry of $INSTDIR: "callerid-" and the folder's
; hash. Whatever entry named the folder before is gone.
Function NewEntryKey
  Call DeleteEntries
  StrCpy $R8 $INSTDIR
  !insertmacro NO_FINAL_SLASH $R8
  StrLen $1 $R8
  IntOp $1 $1 * 2
  System::Call 'shlwapi::HashData(w R8, i r1, *i .r2, i 4) i .r3'
  IntFmt $2 "%08X" $2
  StrCpy $R7 "callerid-$2"
FunctionEnd

; With no folder given: the one folder this program is installed in, if
; there is exactly one. With several, a silent setup names them and
; refuses; an interactive one asks on its folder page.
Function TakeInstalledDirectory
  StrCpy $R8 ""
  StrCpy $R6 0
  StrCpy $R5 ""   ; the folders found, one a line
  StrCpy $R4 0    ; how many
  ${Do}
    Call NextEntry
    ${If} $R7 == ""
      ${Break}
    ${EndIf}
    ReadRegStr $3 SHCTX "${UNINSTALL_ROOT}\$R7" "InstallLocation"
    StrCpy $R5 "$R5$\r$\n  $3"
    StrCpy $4 $3
    IntOp $R4 $R4 + 1
  ${Loop}
  ${If} $R4 == 1
    StrCpy $INSTDIR $4
  ${ElseIf} $R4 > 1
  ${AndIf} ${Silent}
    StrCpy $R0 "$(SilentSeveralInstalls)"
    Call Refuse
  ${EndIf}
FunctionEnd
