// The station's Windows firewall, changed through the system's own netsh.
// One file per system: firewall_win32.cpp runs netsh from the system
// folder; firewall_posix.cpp has no Windows firewall to change.
#pragma once

#include <string>

// Whether this system has the Windows firewall that `callerid firewall`
// changes.
bool HasWindowsFirewall();

// Whether this process runs elevated (an administrator's command prompt):
// netsh changes the firewall for no one else.
bool RunsElevated();

// Runs netsh with arguments (the command line after "netsh ") and waits.
// Its exit code, or -1 when it could not be started; output: what it
// printed, or why it could not start, as UTF-8 without the final line ends.
long RunNetsh(const std::string& arguments, std::string& output);
