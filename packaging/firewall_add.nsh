; Offered after the files are copied: the caller-ID box's datagrams in on
; UDP 1338 from the local subnet only, and the ping and restart commands out
; to the broadcast address. A silent install adds them. A failing netsh
; leaves the installation as it is and says so in the details.
MessageBox MB_YESNO|MB_ICONQUESTION "Add the Windows firewall rules for the caller-ID plug-in?$\r$\n$\r$\nIn: UDP port 1338 from the local subnet only.$\r$\nOut: UDP port 1338 to the broadcast address 255.255.255.255." /SD IDYES IDNO callerid_no_rules
  nsExec::ExecToLog 'netsh advfirewall firewall add rule name="Caller ID UDP 1338 in" dir=in action=allow protocol=UDP localport=1338 remoteip=localsubnet'
  Pop $0
  DetailPrint "firewall rule in: $0"
  nsExec::ExecToLog 'netsh advfirewall firewall add rule name="Caller ID UDP 1338 broadcast out" dir=out action=allow protocol=UDP remoteport=1338 remoteip=255.255.255.255'
  Pop $0
  DetailPrint "firewall rule out: $0"
callerid_no_rules:
