// The tool's exit codes, one table for every command (docs/callerid-tool.md).
#pragma once

enum ExitCode {
    kDone = 0,            // done; for doctor: no PROBLEM
    kProblemsFound = 1,   // doctor found at least one PROBLEM
    kBadUsage = 2,        // unknown command or option, a bad argument
    kUnreadable = 3,      // a file or folder cannot be read, or is not what the command expects
    kNetworkFailed = 4,   // a socket cannot be opened, bound or sent on
    kFirewallUnchanged = 5,  // firewall: not an administrator, or netsh did not add or remove a rule
};
