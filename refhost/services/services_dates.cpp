// The date and time services. The host's own date form is 8 characters
// "YYYYMMDD"; its display form is 10 characters "DD.MM.YYYY", separators
// at positions 2 and 5; times are "HH:MM:SS". All of them read the host's
// clock (clock.cpp).
#include <cstdio>
#include <cstring>
#include <string>

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "services/services.h"

using namespace refhost;

namespace {

bool IsDigits(const char* text, int count) {
    for (int i = 0; i < count; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

int NumberAt(const char* text, int position, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) value = value * 10 + (text[position + i] - '0');
    return value;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool IsValidDate(int year, int month, int day) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1) return false;
    int last = kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    return day <= last;
}

// A host date "YYYYMMDD": exactly eight digits naming a real day.
bool ParseHostDate(const char* text, int& year, int& month, int& day) {
    if (!text || std::strlen(text) != 8 || !IsDigits(text, 8)) return false;
    year = NumberAt(text, 0, 4);
    month = NumberAt(text, 4, 2);
    day = NumberAt(text, 6, 2);
    return IsValidDate(year, month, day);
}

// "HH:MM:SS" as seconds of the day; -1 when the text is no such time.
int SecondsOfDay(const char* text) {
    if (!text || std::strlen(text) != 8 || text[2] != ':' || text[5] != ':') return -1;
    if (!IsDigits(text, 2) || !IsDigits(text + 3, 2) || !IsDigits(text + 6, 2)) return -1;
    int hours = NumberAt(text, 0, 2), minutes = NumberAt(text, 3, 2), seconds = NumberAt(text, 6, 2);
    if (hours > 23 || minutes > 59 || seconds > 59) return -1;
    return hours * 3600 + minutes * 60 + seconds;
}

// Formats into a roomy buffer, then copies at most `size` bytes with the
// NUL: the host's texts have fixed lengths, the plug-in's buffers no more.
void PutText(char* out, std::size_t size, const char* format, int a, int b, int c) {
    char text[48];
    std::snprintf(text, sizeof text, format, a, b, c);
    std::size_t length = strnlen(text, size - 1);
    std::memcpy(out, text, length);
    out[length] = '\0';
}

}  // namespace

extern "C" {

// Today in the host's form: 8 characters and a NUL.
int HOSTAPI ordinal_30204(char* date) {
    HostLockScope held(30204);
    CivilTime now = HostNow();
    PutText(date, 9, "%04d%02d%02d", now.year % 10000, now.month, now.day);
    Trace(30204, "-> \"%s\"", date);
    return 0;
}

// The time of day, "HH:MM:SS": the plug-in asks with the form values 0 and
// 1, and both give this text.
int HOSTAPI ordinal_30308(char* time, int form) {
    HostLockScope held(30308);
    CivilTime now = HostNow();
    PutText(time, 9, "%02d:%02d:%02d", now.hour, now.minute, now.second);
    Trace(30308, "%d -> \"%s\"", form, time);
    return 0;
}

// The display form of a host date. The plug-in may pass one buffer as both
// output and input. A text that is no host date gives an empty text.
int HOSTAPI ordinal_32008(char* out, const char* date) {
    HostLockScope held(32008);
    int year = 0, month = 0, day = 0;
    bool readable = ParseHostDate(date, year, month, day);
    std::string given = date ? date : "";
    if (readable)
        PutText(out, 11, "%02d.%02d.%04d", day, month, year);
    else
        out[0] = '\0';
    Trace(32008, "%s\"%s\" -> \"%s\"", out == date ? "in place " : "", given.c_str(), out);
    return readable ? 0 : -1;
}

// 0 exactly when the date (display form, or the host's own form) is the
// same day as today (host form); 1 otherwise, also when either is unreadable.
int HOSTAPI ordinal_30908(const char* today, const char* date) {
    HostLockScope held(30908);
    int year = 0, month = 0, day = 0;
    int result = 1;
    if (ParseHostDate(today, year, month, day) && date) {
        char display[16];
        PutText(display, sizeof display, "%02d.%02d.%04d", day, month, year);
        if (std::strcmp(date, display) == 0 || std::strcmp(date, today) == 0) result = 0;
    }
    Trace(30908, "\"%s\", \"%s\" -> %d", today ? today : "", date ? date : "", result);
    return result;
}

// Seconds from the time `then` to the time `now`, both "HH:MM:SS" of the
// same day; negative when `then` is later, and -1 when either is no time.
int HOSTAPI ordinal_30909(const char* now, const char* then) {
    HostLockScope held(30909);
    int nowSeconds = SecondsOfDay(now), thenSeconds = SecondsOfDay(then);
    int result = (nowSeconds < 0 || thenSeconds < 0) ? -1 : nowSeconds - thenSeconds;
    Trace(30909, "\"%s\", \"%s\" -> %d", now ? now : "", then ? then : "", result);
    return result;
}

}  // extern "C"
