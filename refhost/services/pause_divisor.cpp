// The test switches the plug-in itself asks for: how many times shorter
// its listener's waits and pauses (25 s after a ping, 5 s after a restart,
// 10 s between bind attempts) should be, and whether it checks its lock
// order (aborting at a wait for the stations' lock or file work under its
// own lock). The host program has no such exports, so there the plug-in
// keeps its full lengths and no check.
#include "plumbing/host.h"
#include "services/services.h"

extern "C" MERLOX_EXPORT int HOSTVA RefhostPauseDivisor() {
    return refhost::HostOptions().pauseDivisor;
}

extern "C" MERLOX_EXPORT int HOSTVA RefhostCheckLockOrder() { return 1; }
