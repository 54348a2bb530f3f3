// POSIX systems have no Windows firewall: `callerid firewall` says so and
// changes nothing.
#include "system/firewall.h"

bool HasWindowsFirewall() { return false; }

bool RunsElevated() { return false; }

long RunNetsh(const std::string&, std::string& output) {
    output.clear();
    return -1;
}
