// The host's clock. Tests fix it or move it; otherwise it follows the wall
// clock's local time. Moments are counted as seconds on a civil scale
// without time zones, so that moving the clock across midnight or a month's
// end is plain arithmetic.
#include <atomic>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>

#include "plumbing/host.h"
#include "plumbing/system.h"

namespace refhost {

static std::atomic<bool> g_clockFixed{false};
static std::atomic<long long> g_fixedSeconds{0};
static std::atomic<long long> g_offsetSeconds{0};
// This station's clock against the office's: the server that holds the
// shared files keeps the office's time (ServerClockOffsetSeconds).
static std::atomic<long long> g_stationOffsetSeconds{0};

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's method).
static long long DaysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

static void CivilFromDays(long long days, int& year, int& month, int& day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

static long long SecondsOf(const CivilTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

static CivilTime CivilTimeOf(long long seconds) {
    long long days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    long long rest = seconds - days * 86400;
    CivilTime t{};
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

// Each thread converts into its own record. The reentrant conversion also
// reads the time zone once, where std::localtime looks at the zone file
// again on every call, which the plug-in makes several times per call line.
static long long WallClockSeconds() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!LocalTimeOf(now, local)) return 0;
    return SecondsOf({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec});
}

static long long OfficeSeconds() {
    long long base = g_clockFixed.load() ? g_fixedSeconds.load() : WallClockSeconds();
    return base + g_offsetSeconds.load();
}

CivilTime HostNow() { return CivilTimeOf(OfficeSeconds() + g_stationOffsetSeconds.load()); }

long long ServerClockOffsetSeconds() { return OfficeSeconds() - WallClockSeconds(); }

void FixClock(const CivilTime& when) {
    g_fixedSeconds.store(SecondsOf(when));
    g_offsetSeconds.store(0);
    g_clockFixed.store(true);
}

static bool IsValidMoment(const CivilTime& t) {
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
        t.minute > 59 || t.second < 0 || t.second > 59 || t.year < 1 || t.year > 9999)
        return false;
    CivilTime normal = CivilTimeOf(SecondsOf(t));
    return normal.day == t.day && normal.month == t.month;  // no 31 April
}

bool ParseCivilTime(std::string_view text, CivilTime& when) {
    std::string copy(text);
    CivilTime t{};
    char rest = 0;
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour,
                    &t.minute, &t.second, &rest) != 6 ||
        !IsValidMoment(t))
        return false;
    when = t;
    return true;
}

void SetClockOffset(long long seconds) { g_stationOffsetSeconds.store(seconds); }

void AdvanceClock(long long seconds) { g_offsetSeconds.fetch_add(seconds); }

void RunWallClock() {
    g_clockFixed.store(false);
    g_offsetSeconds.store(0);
    g_stationOffsetSeconds.store(0);
}

}  // namespace refhost
