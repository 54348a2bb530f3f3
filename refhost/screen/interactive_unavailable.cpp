// Builds without a terminal library have no screens: the host runs
// headless or scripted there.
#include <cstdio>

#include "screen/interactive.h"

namespace refhost {

bool InteractiveAvailable() { return false; }

int RunInteractive(PluginSession&, const std::function<bool()>&) {
    std::fputs("refhost: this build has no interactive mode; use --headless or --script\n", stderr);
    return 2;
}

}  // namespace refhost
