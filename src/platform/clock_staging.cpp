// Test switches for the clocks, the same on every system: a monotonic
// clock moved forward as a freeze would move it, and a server whose clock
// differs from this computer's. Both are inert until a test sets them.
#include <atomic>

#include "platform/platform.h"

static std::atomic<int64_t> g_monotonicShift{0};
static std::atomic<int64_t> g_serverClockOffset{0};

void ShiftMonotonicClock(int64_t nanoseconds) { g_monotonicShift.fetch_add(nanoseconds); }

int64_t MonotonicClockShift() { return g_monotonicShift.load(std::memory_order_relaxed); }

void StageServerClockOffset(int64_t seconds) { g_serverClockOffset.store(seconds); }

int64_t StagedServerClockOffset() { return g_serverClockOffset.load(); }
