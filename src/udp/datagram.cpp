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
#include "udp/call_rules.h"
#include "udp/waiting_calls.h"

// What the rules remember for a caller that knows no sender.
static SenderRecall g_senderless;

static constexpr int kHostDateLength = 8;
static constexpr char kFieldSeparators[] = "\t";

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

static void AppendCallLine(const CallRecord& record) {
    if (!IsDayLogOn()) return;
    char line[sizeof(CallRecord) + 8];
    std::snprintf(line, sizeof line, "%s\t%s\t%s\t%s\t%s\t", record.date, record.time,
                  record.phone, record.target, record.text);
    char path[kPathCapacity];
    DayLogPath(path, sizeof path);
    CallHost<Host::AppendLine>(path, line);
}

bool UDPFileCall(CallRecord& record) {
    if (strnlen(record.date, sizeof record.date) == kHostDateLength)
        CallHost<Host::DisplayDate>(record.date, record.date);
    record.date[sizeof record.date - 1] = '\0';
    AppendCallLine(record);
    return FileOrQueueCall(record);
}

bool UDPRecordCall(CallRecord& record) {
    // The drop of a record equal to the last one is the listener's alone.
    g_senderless.anyBuilt = false;
    DatagramVerdict verdict = JudgeDatagram(record, SenderPermit::Calls, g_senderless);
    bool filed = true;
    if (verdict == DatagramVerdict::Call) filed = UDPFileCall(record);
    RememberDatagram(g_senderless, record, verdict);
    return filed;
}
