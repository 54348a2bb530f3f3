; The uninstaller takes away the two firewall rules the setup added (a
; rule that is not there is no fault).
nsExec::ExecToLog 'netsh advfirewall firewall delete rule name="Caller ID UDP 1338 in"'
Pop $0
nsExec::ExecToLog 'netsh advfirewall firewall delete rule name="Caller ID UDP 1338 broadcast out"'
Pop $0
