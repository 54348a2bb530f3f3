// The slot rules as pure functions: the merge of filed calls (a target's
// own slot, else the first free one; later duplicates cleared; an equal
// record left alone), the conflict rules of the window's edits, and the
// clearing. See slot_changes.h.
#include "storage/slot_changes.h"

#include <cstring>

static void AddEvent(SlotChange& change, SlotEventKind kind, int slot, int call) {
    if (change.eventCount >= kMostSlotEvents) return;
    change.events[change.eventCount++] = {kind, static_cast<int8_t>(slot), static_cast<int16_t>(call)};
}

static bool SameTarget(const CallRecord& a, const CallRecord& b) {
    return std::strncmp(a.target, b.target, sizeof a.target) == 0;
}

bool FileCallIntoSlots(const CallRecord& call, int callIndex, CallRecord* slots, SlotChange& change) {
    bool found = false;
    bool received = false;
    int freeIndex = -1;
    for (int index = 0; index < kSlotCount; ++index) {
        CallRecord& slot = slots[index];
        if (call.target[0] != '\0' && SameTarget(call, slot)) {
            if (found) {
                std::memset(&slot, 0, sizeof slot);
                AddEvent(change, SlotEventKind::Cleared, index, callIndex);
            } else if (std::memcmp(&slot, &call, sizeof slot) != 0) {
                slot = call;
                received = true;
                AddEvent(change, SlotEventKind::Replaced, index, callIndex);
            }
            found = true;
        }
        if (slot.target[0] == '\0' && freeIndex < 0) freeIndex = index;
    }
    if (found) return received;
    if (freeIndex < 0) {
        AddEvent(change, SlotEventKind::NoFreeSlot, -1, callIndex);
        return false;
    }
    slots[freeIndex] = call;
    AddEvent(change, SlotEventKind::Added, freeIndex, callIndex);
    return true;
}

// A call is known by when it came and what the box said of it: the
// window edits only the phone and the target, so a slot whose date, time
// and text are those the row was shown from holds the same call, changed
// at another station; a slot cleared there counts as changed there too.
EditConflict ConflictOf(const CallRecord& now, const CallRecord& shown) {
    if (std::memcmp(&now, &shown, sizeof now) == 0) return EditConflict::None;
    if (now.target[0] == '\0') return EditConflict::EditedElsewhere;
    bool sameCall = std::memcmp(now.date, shown.date, sizeof now.date) == 0 &&
                    std::memcmp(now.time, shown.time, sizeof now.time) == 0 &&
                    std::memcmp(now.text, shown.text, sizeof now.text) == 0;
    return sameCall ? EditConflict::EditedElsewhere : EditConflict::NewCall;
}

// A call heard in time is filed by the ordinary rules, but for a station
// whose clock is off: the same call another station filed keeps its stamp.
static LateCall InTimeVerdict(const CallRecord* slots, const CallRecord& call, int clockAheadSeconds) {
    if (clockAheadSeconds == 0 || call.target[0] == '\0') return LateCall::File;
    for (int index = 0; index < kSlotCount; ++index)
        if (SameTarget(call, slots[index]))
            return KeepsSlotStamp(slots[index], call, clockAheadSeconds) ? LateCall::KeepsSlot : LateCall::File;
    return LateCall::File;
}

static int SlotOfTarget(const CallRecord* slots, const CallRecord& call) {
    for (int index = 0; index < kSlotCount; ++index)
        if (SameTarget(slots[index], call)) return index;
    return -1;
}

// Each call is copied first: the caller may have handed in a slot. Late
// calls are judged against the file as read, all of them before any is
// filed: only then is no older call of the batch written after a newer one.
static bool FileCalls(const CallRecord* read, const SlotOperation& operation, SlotChange& change) {
    int count = operation.count < kMostCallsAtOnce ? operation.count : kMostCallsAtOnce;
    bool received = false;
    for (int i = 0; i < count; ++i) {
        const CallRecord call = operation.calls[i];
        LateCall verdict = operation.hold ? JudgeLateCall(read, operation.calls, count, *operation.hold,
                                                          operation.clockAheadSeconds, i)
                                          : InTimeVerdict(change.slots, call, operation.clockAheadSeconds);
        if (verdict == LateCall::CannotTell) AddEvent(change, SlotEventKind::LateKept, SlotOfTarget(read, call), i);
        if (verdict == LateCall::File) received = FileCallIntoSlots(call, i, change.slots, change) || received;
    }
    return received;
}

// The slots as read, with each edit whose slot still holds the call its
// row was shown from.
static bool SaveEdits(const SlotEdits& edits, SlotChange& change) {
    bool any = false;
    for (int k = 0; k < kSlotCount; ++k) {
        if (!edits.edited[k]) continue;
        EditConflict conflict = ConflictOf(change.slots[k], edits.shownFrom[k]);
        change.conflict[k] = conflict;
        if (conflict != EditConflict::None) {
            AddEvent(change, conflict == EditConflict::NewCall ? SlotEventKind::EditNewCall
                                                               : SlotEventKind::EditedElsewhere,
                     k, -1);
            continue;
        }
        change.slots[k] = edits.wanted[k];
        any = true;
    }
    return any;
}

void ApplySlotChange(const CallRecord* read, const SlotOperation& operation, SlotChange& change) {
    std::memcpy(change.slots, read, sizeof change.slots);
    std::memset(change.conflict, 0, sizeof change.conflict);
    change.eventCount = 0;
    change.write = false;
    switch (operation.kind) {
        case SlotOperationKind::FileCalls: change.write = FileCalls(read, operation, change); break;
        case SlotOperationKind::SaveEdits: change.write = SaveEdits(*operation.edits, change); break;
        case SlotOperationKind::SaveImage:
            std::memcpy(change.slots, operation.calls, sizeof change.slots);
            change.write = true;
            break;
        case SlotOperationKind::Clear:
            std::memset(change.slots, 0, sizeof change.slots);
            change.write = true;
            break;
        case SlotOperationKind::View: break;
    }
}
