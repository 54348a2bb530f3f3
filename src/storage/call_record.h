// The call record: one caller-ID call as the plug-in files it. A phone slot
// is a byte-for-byte copy of one; the phone-slot file is ten of them.
#pragma once

#include <cstddef>

struct CallRecord {
    char text[500];    // datagram field 4, free text holding "NIP:..."
    char phone[21];    // datagram field 0, the caller's number
    char target[21];   // datagram field 1; slots are matched on it
    char date[11];     // date of reception
    char time[9];      // time of reception, hh:mm:ss
};

static_assert(sizeof(CallRecord) == 562);
static_assert(offsetof(CallRecord, phone) == 500);
static_assert(offsetof(CallRecord, target) == 521);
static_assert(offsetof(CallRecord, date) == 542);
static_assert(offsetof(CallRecord, time) == 553);

// The phone-slot file: ten records in slot order, slot i at 562 * i.
inline constexpr int kSlotCount = 10;
inline constexpr int kSlotFileSize = kSlotCount * static_cast<int>(sizeof(CallRecord));
static_assert(kSlotFileSize == 5620);
