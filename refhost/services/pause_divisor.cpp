// The one test switch the plug-in itself asks for: how many times shorter
// its listener's waits and pauses (25 s after a ping, 5 s after a restart,
// 10 s between bind attempts) should be. The host program has no such
// export, so there the plug-in keeps its full lengths.
#include "plumbing/host.h"
#include "services/services.h"

extern "C" MERLOX_EXPORT int HOSTVA RefhostPauseDivisor() {
    return refhost::HostOptions().pauseDivisor;
}
