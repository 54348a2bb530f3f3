// This station's clock against the office's. The stations stamp calls and
// lines with the host's clock, each its own; the one clock they all share
// is the server's, which sets the time of every file written to the shared
// folder. Right after a line is appended to the day log, the file's time
// is the server's "now": a station whose clock differs from it by more
// than a minute says so once in the day log, and the caller-ID window
// tells the user. Stamps stay the host's.
#pragma once

#include <cstddef>

inline constexpr int kClockToleranceSeconds = 60;
// The clock is looked at with the first line and then at most this often.
inline constexpr int kClockCheckMilliseconds = 10 * 60 * 1000;

// Seconds by which the station's time of day is ahead of the server's
// (negative: behind), taken the short way round midnight. Times in
// seconds from midnight.
int ClockDifferenceSeconds(int stationSecondOfDay, int serverSecondOfDay);

// After a line stamped with the host's `hostTime` ("hh:mm:ss") was
// appended to the day log at `dayLogPath`.
void CheckStationClock(const char* dayLogPath, const char* hostTime);

// How far this station's clock was last found ahead of the server's, when
// by more than the tolerance; 0 otherwise.
int StationClockAheadSeconds();

// For the caller-ID window: the text that tells the user this station's
// clock is off; false while it agrees or has not been compared.
bool StationClockWarning(char* text, std::size_t size);
