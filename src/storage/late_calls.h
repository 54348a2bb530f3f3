// Calls heard late: the datagrams a station reads after it was held up (a
// freeze, a stall) are stamped when they are read, not when they came, so
// they are filed by rules of their own. They go to the file in one
// transaction, and for each target only the batch's last call counts: no
// older call is ever written after a newer one. A call that the slot
// already holds, filed in time by another station, keeps the stamp written
// then. Plain functions of their arguments: no host, file or log calls.
#pragma once

#include <cstdint>

#include "storage/call_record.h"

// What a batch read after a hold knows of the hold. The hold began at the
// latest `heldSeconds` before the stamp of the batch's first call.
// `slotsBefore`, when known, is the file as this station last read or
// wrote it before the hold: a slot that still holds that record was not
// written while the station was held.
struct HoldInfo {
    int heldSeconds;
    const CallRecord* slotsBefore;   // ten records, or nullptr
};

enum class LateCall : uint8_t {
    File,         // filed by the ordinary rules, with the stamp it was read at
    Superseded,   // a later call of the same target follows in the batch
    KeepsSlot,    // the slot holds this call, filed in time: its stamp stays
    CannotTell,   // the slot's call may be this one or newer: it stays (logged)
};

// Stamps of the same call this close before the hold may come from a
// station whose clock is off by less than the minute that is not named;
// any other slot's call within the stamps' own resolution of the hold's
// start may be newer than the late call.
inline constexpr int kSameCallSlackSeconds = 60;
inline constexpr int kStampSlackSeconds = 2;

// The verdict for the batch's call at `at`, slots being the file as read
// in the transaction (ten records). `clockAheadSeconds` is how far this
// station's clock is known to run ahead of the server's (station_clock.h),
// 0 when it agrees: its stamps are compared with the others' after taking
// that off.
LateCall JudgeLateCall(const CallRecord* slots, const CallRecord* calls, int count, const HoldInfo& hold,
                       int clockAheadSeconds, int at);

// A call heard in time by a station whose clock is known to be off: the
// slot keeps its stamp when it holds the same call stamped, by the
// server's clock, at the same moment (another station filed it).
bool KeepsSlotStamp(const CallRecord& slot, const CallRecord& call, int clockAheadSeconds);

// How many seconds the stamp of `record` lies before that of `reference`
// (negative when after). Dates are compared as texts: the day before,
// across midnight, is taken for the adjacent day; any other date counts a
// whole day or more before.
int64_t StampSecondsBefore(const CallRecord& record, const CallRecord& reference);
