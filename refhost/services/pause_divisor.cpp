// The test switches the plug-in itself asks for: how many times shorter
// its listener's waits and pauses (25 s after a ping, 5 s after a restart,
// 10 s between bind attempts) should be, and how far the clock of the
// server holding the shared files is ahead of this computer's (the
// office's clock as the host's clock stands, without this station's own
// offset). The host program has no such exports, so there the plug-in
// keeps its full lengths and reads the files' times as they are. The
// benchmarks also lift the rate one sender is allowed, to measure the
// filing path at full speed.
#include "plumbing/host.h"
#include "services/services.h"

extern "C" MERLOX_EXPORT int HOSTVA RefhostPauseDivisor() {
    return refhost::HostOptions().pauseDivisor;
}

extern "C" MERLOX_EXPORT long long HOSTVA RefhostServerClockOffset() { return refhost::ServerClockOffsetSeconds(); }

extern "C" MERLOX_EXPORT int HOSTVA RefhostCheckLockOrder() { return 1; }

extern "C" MERLOX_EXPORT int HOSTVA RefhostSenderRateOff() { return refhost::HostOptions().senderRateOff ? 1 : 0; }
