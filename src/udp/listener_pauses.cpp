// The listener's waits and pauses. Long pauses are slept in slices of at
// most 100 ms, looking at the state between them, so that a stop during
// the 25 s pause after a ping or between bind attempts ends the listener
// promptly instead of after the pause.
#include "udp/listener_pauses.h"

#include <atomic>

#include "plugin/frame.h"

// The reference host exports this by name; the host program does not, and
// the listener then keeps its times whole.
static constexpr char kPauseDivisorExport[] = "RefhostPauseDivisor";
static constexpr int kPauseSliceMilliseconds = 100;

bool IsStopRequested(UDPControl& control) {
    return std::atomic_ref<int32_t>(control.state).load() <= 0;
}

// The export is looked up once, at the first wait (the host module is
// known from the library's attach on), not at every wait.
static int PauseDivisor() {
    using Divisor = int(HOSTVA*)();
    static const Divisor divisor = reinterpret_cast<Divisor>(FindModuleSymbol(g_frame.hostModule, kPauseDivisorExport));
    int value = divisor ? divisor() : 1;
    return value > 1 ? value : 1;
}

int ListenerMilliseconds(int milliseconds) {
    int scaled = milliseconds / PauseDivisor();
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
