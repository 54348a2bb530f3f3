// The listener's waits and pauses, in slices short enough that a stop is
// seen within 100 ms whatever the listener is doing.
#pragma once

#include <cstdint>

#include "udp/call_rules.h"
#include "udp/listener.h"

inline constexpr int kReceiveWaitMilliseconds = 100;
inline constexpr int kBindRetryMilliseconds = 10000;

// True once the host's stop has brought the state to 0 or below.
bool IsStopRequested(UDPControl& control);
// A listener time as it is to be waited: the reference host can divide
// the listener's times for its tests.
int ListenerMilliseconds(int milliseconds);
// The moment (monotonic nanoseconds) a listener time from now.
int64_t DeadlineAfter(int milliseconds);
// Milliseconds left until the deadline, never below 0.
int MillisecondsUntil(int64_t deadline);
// Sleeps until the deadline, unless a stop comes; true when the pause ran
// to its end.
bool PauseUntil(UDPControl& control, int64_t deadline);
