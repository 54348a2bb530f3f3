// Turning a caller-ID datagram into a call record and deciding whether the
// call is recorded.
#include "udp/datagram.h"

#include <cstdio>
#include <cstring>

#include "host/imports.h"
#include "storage/day_log.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "storage/storage_paths.h"

// The previous record the handler saw, recorded or not. It outlives
// listener restarts, so a repeat across a restart is still caught.
static CallRecord g_previousCall;

// Arrivals of one phone closer together than this are one call.
static constexpr int64_t kRepeatSeconds = 20;
static constexpr int kHostDateLength = 8;
static constexpr char kFieldSeparators[] = "\t";
static constexpr char kRingWord[] = "Ring";

static void TakeDatagramField(int field, const char* datagram, char* out, int outSize) {
    CallHost<Host::TakeField>(field, datagram, out, kDatagramCapacity, outSize, kFieldSeparators);
}

void UDPBuildRecord(const char* datagram, CallRecord& record) {
    std::memset(&record, 0, sizeof record);
    CallHost<Host::CurrentTime>(record.time, 0);
    CallHost<Host::TodayDate>(record.date);
    TakeDatagramField(0, datagram, record.phone, sizeof record.phone);
    TakeDatagramField(1, datagram, record.target, sizeof record.target);
    TakeDatagramField(4, datagram, record.text, sizeof record.text);
}

// The decimal number that starts at `position`, ending at the first
// non-digit; a part without digits, or beyond the text's end, counts 0.
static int64_t TimePartAt(const char* time, std::size_t length, std::size_t position) {
    int64_t value = 0;
    for (std::size_t i = position; i < length && time[i] >= '0' && time[i] <= '9'; ++i)
        value = value * 10 + (time[i] - '0');
    return value;
}

// A time field holds at most 8 characters, so the parts stay small.
static int64_t SecondsOfDay(const char* time) {
    std::size_t length = strnlen(time, sizeof CallRecord{}.time);
    return TimePartAt(time, length, 0) * 3600 + TimePartAt(time, length, 3) * 60 +
           TimePartAt(time, length, 6);
}

int64_t TimeDiffSeconds(const char* later, const char* earlier) {
    return SecondsOfDay(later) - SecondsOfDay(earlier);
}

static bool IsRing(const CallRecord& record) { return std::strcmp(record.phone, kRingWord) == 0; }

static bool RepeatsPreviousCall(const CallRecord& record) {
    if (std::strcmp(record.phone, g_previousCall.phone) != 0) return false;
    int64_t seconds = TimeDiffSeconds(record.time, g_previousCall.time);
    return seconds > -kRepeatSeconds && seconds < kRepeatSeconds;
}

static void AppendCallLine(const CallRecord& record) {
    if (!IsDayLogOn()) return;
    char line[sizeof(CallRecord) + 8];
    std::snprintf(line, sizeof line, "%s\t%s\t%s\t%s\t%s\t", record.date, record.time,
                  record.phone, record.target, record.text);
    char path[kPathCapacity];
    DayLogPath(path, sizeof path);
    CallHost<Host::AppendLine>(path, line);
}

static void RecordCall(CallRecord& record) {
    if (strnlen(record.date, sizeof record.date) == kHostDateLength)
        CallHost<Host::DisplayDate>(record.date, record.date);
    record.date[sizeof record.date - 1] = '\0';
    AppendCallLine(record);
    UpdatePhoneSlots(record);
}

void UDPRecordCall(CallRecord& record) {
    if (!IsRing(record) && !RepeatsPreviousCall(record)) RecordCall(record);
    std::memcpy(&g_previousCall, &record, sizeof record);
}
