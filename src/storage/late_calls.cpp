// The rules for calls heard after a hold (late_calls.h).
#include "storage/late_calls.h"

#include <cstring>

#include "udp/call_rules.h"

static constexpr int64_t kDaySeconds = 86400;

static bool SameField(const char* a, const char* b, std::size_t size) { return std::strncmp(a, b, size) == 0; }

static bool SameTarget(const CallRecord& a, const CallRecord& b) {
    return SameField(a.target, b.target, sizeof a.target);
}

// The same call: one phone, one target, one text; the stamps may differ.
static bool SameCall(const CallRecord& a, const CallRecord& b) {
    return SameTarget(a, b) && SameField(a.phone, b.phone, sizeof a.phone) &&
           SameField(a.text, b.text, sizeof a.text);
}

int64_t StampSecondsBefore(const CallRecord& record, const CallRecord& reference) {
    char later[sizeof reference.time + 1] = {};
    char earlier[sizeof record.time + 1] = {};
    std::memcpy(later, reference.time, sizeof reference.time);
    std::memcpy(earlier, record.time, sizeof record.time);
    int64_t seconds = TimeDiffSeconds(later, earlier);
    // A time of day later than the reference's on another date is the
    // evening before, across midnight; an earlier one is a day or more before.
    return SameField(record.date, reference.date, sizeof record.date) ? seconds : seconds + kDaySeconds;
}

static int SlotOfTarget(const CallRecord* slots, const CallRecord& call) {
    for (int index = 0; index < kSlotCount; ++index)
        if (SameTarget(slots[index], call)) return index;
    return -1;
}

static bool LaterCallOfTarget(const CallRecord* calls, int count, int at) {
    for (int later = at + 1; later < count; ++later)
        if (SameTarget(calls[later], calls[at])) return true;
    return false;
}

// The verdict for the batch's last call of a target whose slot holds `slot`.
static LateCall JudgeAgainstSlot(const CallRecord& call, const CallRecord& slot, const CallRecord* slotBefore,
                                 const CallRecord& first, int heldSeconds, int clockAheadSeconds) {
    const int64_t beforeHold = StampSecondsBefore(slot, first) - clockAheadSeconds - heldSeconds;
    if (SameCall(call, slot)) {
        if (beforeHold <= kStampSlackSeconds) return LateCall::KeepsSlot;
        return beforeHold > kSameCallSlackSeconds ? LateCall::File : LateCall::CannotTell;
    }
    // A slot that this station saw before the hold holds an older call
    // than any it read after it.
    if (slotBefore && std::memcmp(slotBefore, &slot, sizeof slot) == 0) return LateCall::File;
    return beforeHold > kStampSlackSeconds ? LateCall::File : LateCall::CannotTell;
}

LateCall JudgeLateCall(const CallRecord* slots, const CallRecord* calls, int count, const HoldInfo& hold,
                       int clockAheadSeconds, int at) {
    const CallRecord& call = calls[at];
    if (call.target[0] == '\0') return LateCall::File;
    if (LaterCallOfTarget(calls, count, at)) return LateCall::Superseded;
    int index = SlotOfTarget(slots, call);
    if (index < 0) return LateCall::File;
    const CallRecord* before = hold.slotsBefore ? &hold.slotsBefore[index] : nullptr;
    return JudgeAgainstSlot(call, slots[index], before, calls[0], hold.heldSeconds, clockAheadSeconds);
}

bool KeepsSlotStamp(const CallRecord& slot, const CallRecord& call, int clockAheadSeconds) {
    if (clockAheadSeconds == 0 || !SameCall(slot, call)) return false;
    int64_t apart = StampSecondsBefore(slot, call) - clockAheadSeconds;
    return apart >= -kStampSlackSeconds && apart <= kStampSlackSeconds;
}
