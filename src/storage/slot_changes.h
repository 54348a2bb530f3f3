// What an operation does to the ten phone slots, decided from the slots as
// read under the stations' lock and nothing else: no file, no lock, no log,
// no host. The transaction (slot_transaction.cpp) reads the file, asks
// ApplySlotChange for the records to write, writes them and then writes
// the day log's lines for the events it got back.
#pragma once

#include <cstdint>

#include "storage/call_record.h"
#include "storage/late_calls.h"

// Most calls filed in one transaction: the listener's queue of calls that
// wait for another station's hold.
inline constexpr int kMostCallsAtOnce = 512;

// The window's edits for F5: for each edited slot, the record its row was
// shown from and the record it should now hold (the same call with the
// user's phone and target).
struct SlotEdits {
    bool edited[kSlotCount];
    CallRecord shownFrom[kSlotCount];
    CallRecord wanted[kSlotCount];
};

// Why an edited slot was not saved: since its row was shown, the slot
// received another call (its date, time or text differ), or another
// station changed the same call (its phone or target, or cleared it).
enum class EditConflict : uint8_t { None, NewCall, EditedElsewhere };

enum class SlotOperationKind : uint8_t {
    FileCalls,   // the listener's calls, merged in the order given
    SaveEdits,   // F5: the window's edits, where no conflict stands
    SaveImage,   // F5 of old: the image handed in wins over the file
    Clear,       // F4's slot part: ten free slots
    View,        // the window's refresh and the search: read only
};

struct SlotOperation {
    SlotOperationKind kind = SlotOperationKind::View;
    const CallRecord* calls = nullptr;   // FileCalls: count records; SaveImage: ten
    int count = 0;
    const SlotEdits* edits = nullptr;    // SaveEdits
    // FileCalls: calls read after the listener was held up are filed by the
    // rules for late calls (late_calls.h); a station whose clock is known to
    // run ahead of the server's by so many seconds leaves another station's
    // stamp of the same call.
    const HoldInfo* hold = nullptr;
    int clockAheadSeconds = 0;
};

// One thing that happened to a slot, for the day log. slot counts from 0;
// call is the index of the filed call the event names (FileCalls), -1
// for the others.
enum class SlotEventKind : uint8_t {
    Cleared,          // a later slot of the same target was freed
    Replaced,         // the target's slot received the call
    Added,            // a free slot received a new target's call
    NoFreeSlot,       // ten other targets: the call was not stored (slot -1)
    EditNewCall,      // an edit not saved: the slot holds another call now
    EditedElsewhere,  // an edit not saved: another station changed the call
    LateKept,         // a call heard late: the slot's call may be as new, it stays
};
struct SlotEvent {
    SlotEventKind kind;
    int8_t slot;
    int16_t call;
};

// Every call can name one slot and a batch can clear at most the nine
// duplicates a file may hold; an edit names one slot each.
inline constexpr int kMostSlotEvents = kMostCallsAtOnce + kSlotCount;

struct SlotChange {
    CallRecord slots[kSlotCount];   // what the file is to hold afterwards
    bool write;                     // false: the file is left as it was read
    EditConflict conflict[kSlotCount];
    int eventCount;
    SlotEvent events[kMostSlotEvents];
};

// The change an operation makes to the slots read. A batch longer than
// kMostCallsAtOnce files its first kMostCallsAtOnce calls.
void ApplySlotChange(const CallRecord* read, const SlotOperation& operation, SlotChange& change);

// The rules themselves, for the tests and for anyone who needs one alone.
// Files one call into slots: in its target's slot, else in the first free
// one; later slots of the same target are cleared. True when a slot
// received the call.
bool FileCallIntoSlots(const CallRecord& call, int callIndex, CallRecord* slots, SlotChange& change);
// Why an edit whose row was shown from `shown` cannot go over `now`.
EditConflict ConflictOf(const CallRecord& now, const CallRecord& shown);
