// The rules by which the listener and the call handler judge a datagram's
// first field and time: rings, repeats of one phone, control words. Plain
// functions of their arguments, shared with the callerid tool's listen.
#pragma once

#include <cstdint>

inline constexpr int kPingPauseMilliseconds = 25000;
inline constexpr int kRestartPauseMilliseconds = 5000;

// Seconds from the time of day `earlier` to `later` (both "hh:mm:ss");
// dates take no part, so there is no wrap at midnight.
int64_t TimeDiffSeconds(const char* later, const char* earlier);

// A ring notice is never recorded.
bool IsRingPhone(const char* phone);

// Whether a call of `phone` at `time` repeats the previous call of the
// same phone, at most 19 seconds away either way.
bool RepeatsPhone(const char* phone, const char* time, const char* previousPhone,
                  const char* previousTime);

// The listener's pause in milliseconds after a control word ("ping",
// "PING", "restart", matched exactly) in the first field; 0 for any other.
int ControlWordPauseMilliseconds(const char* phone);
