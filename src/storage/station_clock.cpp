// The station's clock against the server's, read from the day log's
// modification time (station_clock.h).
#include "storage/station_clock.h"

#include <atomic>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "log/day_log_events.h"
#include "platform/platform.h"
#include "plugin/host_test_switches.h"
#include "storage/day_log.h"
#include "storage/storage_paths.h"
#include "text/mazovia.h"
#include "udp/call_rules.h"

static constexpr int kDaySeconds = 86400;
static constexpr int kUnknown = INT_MIN;

static constexpr auto kClockDiffers = MZ(kClockDiffersEvent);
static constexpr auto kClockAgrees = MZ(kClockAgreesEvent);
static constexpr auto kWarning =
    MZ(u8"Zegar tego stanowiska różni się od zegara serwera o %+d s. Czasy połączeń wpisywane przez to "
       u8"stanowisko są błędne - ustaw zegar komputera.");

static std::atomic<int64_t> g_nextCheck{0};     // monotonic; 0: at the first line
static std::atomic<bool> g_checking{false};
static std::atomic<int> g_difference{kUnknown};  // the last difference found beyond the tolerance
// The day log that was last told the clock differs: each day's log is told
// once. Only the thread that holds g_checking touches it.
static char g_toldIn[kPathCapacity];

int ClockDifferenceSeconds(int stationSecondOfDay, int serverSecondOfDay) {
    int difference = (stationSecondOfDay - serverSecondOfDay) % kDaySeconds;
    if (difference > kDaySeconds / 2) difference -= kDaySeconds;
    if (difference <= -kDaySeconds / 2) difference += kDaySeconds;
    return difference;
}

// The reference host's tests move the office's clock, which the files'
// times then follow.
static void StageServerClockFromHost() {
    long long offset = 0;
    if (HostServerClockOffset(&offset)) StageServerClockOffset(offset);
}

// Only one thread at a time, and only when the time has come.
static bool TakeTurn() {
    int64_t now = MonotonicNanoseconds();
    int64_t due = g_nextCheck.load();
    if (now < due || g_checking.exchange(true)) return false;
    g_nextCheck.store(now + static_cast<int64_t>(kClockCheckMilliseconds) * 1'000'000);
    return true;
}

static void Tell(const char* dayLogPath, int difference, const char* hostTime, int serverSecond) {
    bool told = std::strcmp(g_toldIn, dayLogPath) == 0;
    bool was = g_difference.exchange(difference) != kUnknown;
    if (difference != kUnknown && !told) {
        std::snprintf(g_toldIn, sizeof g_toldIn, "%s", dayLogPath);
        WriteEventLogF(kClockDiffers, difference, hostTime, serverSecond / 3600, serverSecond / 60 % 60,
                       serverSecond % 60);
    } else if (difference == kUnknown && was) {
        g_toldIn[0] = '\0';
        WriteEventLog(kClockAgrees);
    }
}

void CheckStationClock(const char* dayLogPath, const char* hostTime) {
    if (!TakeTurn()) return;
    StageServerClockFromHost();
    int serverSecond = 0;
    if (FileWrittenAtSecondOfDay(dayLogPath, &serverSecond)) {
        int stationSecond = static_cast<int>(TimeDiffSeconds(hostTime, "00:00:00"));
        int difference = ClockDifferenceSeconds(stationSecond, serverSecond);
        bool off = difference > kClockToleranceSeconds || difference < -kClockToleranceSeconds;
        Tell(dayLogPath, off ? difference : kUnknown, hostTime, serverSecond);
    }
    g_checking.store(false);
}

int StationClockAheadSeconds() {
    int difference = g_difference.load();
    return difference == kUnknown ? 0 : difference;
}

bool StationClockWarning(char* text, std::size_t size) {
    int difference = g_difference.load();
    if (size == 0 || difference == kUnknown) return false;
    std::snprintf(text, size, kWarning, difference);
    return true;
}
