// The listener's waits and pauses. Long pauses are slept in slices of at
// most 100 ms, looking at the state between them, so that a stop during
// the 25 s pause after a ping or between bind attempts ends the listener
// promptly instead of after the pause.
#include "udp/listener_pauses.h"

#include <atomic>

#include "platform/platform.h"
#include "plugin/host_test_switches.h"

static constexpr int kPauseSliceMilliseconds = 100;

bool IsStopRequested(UDPControl& control) {
    return std::atomic_ref<int32_t>(control.state).load() <= 0;
}

int ListenerMilliseconds(int milliseconds) {
    int scaled = milliseconds / HostPauseDivisor();
    return scaled > 0 ? scaled : 1;
}

int64_t DeadlineAfter(int milliseconds) {
    return MonotonicNanoseconds() + static_cast<int64_t>(ListenerMilliseconds(milliseconds)) * 1000000;
}

int MillisecondsUntil(int64_t deadline) {
    int64_t left = deadline - MonotonicNanoseconds();
    return left > 0 ? static_cast<int>((left + 999999) / 1000000) : 0;
}

bool PauseUntil(UDPControl& control, int64_t deadline) {
    for (int left = MillisecondsUntil(deadline); left > 0; left = MillisecondsUntil(deadline)) {
        if (IsStopRequested(control)) return false;
        SleepMilliseconds(left < kPauseSliceMilliseconds ? left : kPauseSliceMilliseconds);
    }
    return !IsStopRequested(control);
}
