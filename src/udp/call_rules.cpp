// Rings, repeats and control words, judged on the first field and the time
// of reception alone.
#include "udp/call_rules.h"

#include <cstring>

#include "net/sender_list.h"
#include "storage/call_record.h"

// Arrivals of one phone closer together than this are one call.
static constexpr int64_t kRepeatSeconds = 20;
static constexpr char kRingWord[] = "Ring";

// The decimal number that starts at `position`, ending at the first
// non-digit; a part without digits, or beyond the text's end, counts 0.
static int64_t TimePartAt(const char* time, std::size_t length, std::size_t position) {
    int64_t value = 0;
    for (std::size_t i = position; i < length && time[i] >= '0' && time[i] <= '9'; ++i)
        value = value * 10 + (time[i] - '0');
    return value;
}

// A time field holds "hh:mm:ss" and its NUL; no text is read further.
static int64_t SecondsOfDay(const char* time) {
    std::size_t length = strnlen(time, sizeof CallRecord{}.time);
    return TimePartAt(time, length, 0) * 3600 + TimePartAt(time, length, 3) * 60 +
           TimePartAt(time, length, 6);
}

int64_t TimeDiffSeconds(const char* later, const char* earlier) {
    return SecondsOfDay(later) - SecondsOfDay(earlier);
}

bool IsRingPhone(const char* phone) { return std::strcmp(phone, kRingWord) == 0; }

bool RepeatsPhone(const char* phone, const char* time, const char* previousPhone,
                  const char* previousTime) {
    if (std::strcmp(phone, previousPhone) != 0) return false;
    int64_t seconds = TimeDiffSeconds(time, previousTime);
    return seconds > -kRepeatSeconds && seconds < kRepeatSeconds;
}

int ControlWordPauseMilliseconds(const char* phone) {
    if (std::strcmp(phone, "ping") == 0 || std::strcmp(phone, "PING") == 0)
        return kPingPauseMilliseconds;
    if (std::strcmp(phone, "restart") == 0) return kRestartPauseMilliseconds;
    return 0;
}

DatagramVerdict JudgeDatagram(const CallRecord& record, SenderPermit permit, const SenderRecall& recall) {
    if (permit == SenderPermit::Refused) return DatagramVerdict::Refused;
    if (ControlWordPauseMilliseconds(record.phone) != 0) return DatagramVerdict::ControlWord;
    if (permit != SenderPermit::Calls) return DatagramVerdict::Refused;
    // A filed record carries its display date and so never equals a fresh one.
    if (recall.anyBuilt && !recall.builtRecorded && std::memcmp(&record, &recall.built, sizeof record) == 0)
        return DatagramVerdict::SameAgain;
    if (IsRingPhone(record.phone)) return DatagramVerdict::Ring;
    if (RepeatsPhone(record.phone, record.time, recall.handledPhone, recall.handledTime))
        return DatagramVerdict::Repeat;
    return DatagramVerdict::Call;
}

static void CopyField(char* out, std::size_t size, const char* text) {
    std::size_t length = strnlen(text, size - 1);
    std::memcpy(out, text, length);
    std::memset(out + length, 0, size - length);
}

void RememberDatagram(SenderRecall& recall, const CallRecord& record, DatagramVerdict verdict) {
    if (verdict == DatagramVerdict::Refused || verdict == DatagramVerdict::ControlWord) return;
    recall.anyBuilt = true;
    if (verdict == DatagramVerdict::SameAgain) return;
    std::memcpy(&recall.built, &record, sizeof record);
    recall.builtRecorded = verdict == DatagramVerdict::Call;
    CopyField(recall.handledPhone, sizeof recall.handledPhone, record.phone);
    CopyField(recall.handledTime, sizeof recall.handledTime, record.time);
}

SenderPermit PermitOf(const SenderList& allowed, const SenderList& local, uint32_t address) {
    bool listSet = allowed.anywhere || allowed.count > 0;
    if (listSet && SenderListAllows(allowed, address)) return SenderPermit::Calls;
    if (!SenderListAllows(local, address)) return SenderPermit::Refused;
    return listSet ? SenderPermit::ControlWords : SenderPermit::Calls;
}
