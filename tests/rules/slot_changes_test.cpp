// The slot rules alone: the merge of filed calls, the edits' conflicts and
// the clearing, on records in memory. No host, no file, no lock.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "storage/slot_changes.h"
#include "support/call_records.h"

namespace {

CallRecord Record(const char* phone, const char* target, const char* time = "10:00:00", const char* text = "") {
    return test::MakeCallRecord(phone, target, text, time);
}

bool Same(const CallRecord& a, const CallRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool Free(const CallRecord& slot) { return Same(slot, CallRecord{}); }

struct Slots {
    CallRecord read[kSlotCount] = {};
    std::unique_ptr<SlotChange> change = std::make_unique<SlotChange>();

    SlotChange& File(const CallRecord* calls, int count) {
        SlotOperation operation;
        operation.kind = SlotOperationKind::FileCalls;
        operation.calls = calls;
        operation.count = count;
        ApplySlotChange(read, operation, *change);
        return *change;
    }
    SlotChange& Run(SlotOperationKind kind, const SlotEdits* edits = nullptr, const CallRecord* image = nullptr) {
        SlotOperation operation;
        operation.kind = kind;
        operation.edits = edits;
        operation.calls = image;
        ApplySlotChange(read, operation, *change);
        return *change;
    }
};

void ExpectEvent(const SlotChange& change, int at, SlotEventKind kind, int slot, int call) {
    ASSERT_LT(at, change.eventCount);
    EXPECT_EQ(change.events[at].kind, kind) << "event " << at;
    EXPECT_EQ(change.events[at].slot, slot) << "event " << at;
    EXPECT_EQ(change.events[at].call, call) << "event " << at;
}

TEST(SlotChanges, NewTargetTakesTheFirstFreeSlotAndItsOwnSlotAfterwards) {
    Slots slots;
    slots.read[0] = Record("1", "200");
    slots.read[1] = Record("2", "201");
    slots.read[3] = Record("3", "203");
    CallRecord calls[] = {Record("5", "205"), Record("6", "205", "10:00:05")};
    SlotChange& change = slots.File(calls, 2);
    EXPECT_TRUE(change.write);
    EXPECT_TRUE(Same(change.slots[2], calls[1]));
    ASSERT_EQ(change.eventCount, 2);
    ExpectEvent(change, 0, SlotEventKind::Added, 2, 0);
    ExpectEvent(change, 1, SlotEventKind::Replaced, 2, 1);
    EXPECT_TRUE(Same(change.slots[3], slots.read[3]));
}

TEST(SlotChanges, EqualCallNeitherWritesNorNamesASlot) {
    Slots slots;
    slots.read[4] = Record("1", "201");
    CallRecord call = slots.read[4];
    SlotChange& change = slots.File(&call, 1);
    EXPECT_FALSE(change.write);
    EXPECT_EQ(change.eventCount, 0);
}

TEST(SlotChanges, LaterSlotsOfTheTargetAreClearedButDoNotMakeAWriteAlone) {
    Slots slots;
    slots.read[0] = Record("1", "201");
    slots.read[3] = Record("2", "201");
    slots.read[6] = Record("3", "201");
    CallRecord same = slots.read[0];
    SlotChange& change = slots.File(&same, 1);
    EXPECT_FALSE(change.write);
    EXPECT_TRUE(Free(change.slots[3]));
    EXPECT_TRUE(Free(change.slots[6]));
    ASSERT_EQ(change.eventCount, 2);
    ExpectEvent(change, 0, SlotEventKind::Cleared, 3, 0);
    ExpectEvent(change, 1, SlotEventKind::Cleared, 6, 0);
    CallRecord newer = Record("9", "201", "10:00:09");
    EXPECT_TRUE(slots.File(&newer, 1).write);
    ExpectEvent(*slots.change, 0, SlotEventKind::Replaced, 0, 0);
}

TEST(SlotChanges, TenOtherTargetsLeaveTheCallOutAndEmptyTargetsShareTheFirstFreeSlot) {
    Slots slots;
    for (int k = 0; k < kSlotCount; ++k) {
        char target[8];
        std::snprintf(target, sizeof target, "%d", 300 + k);
        slots.read[k] = Record("1", target);
    }
    CallRecord stranger = Record("7", "999");
    SlotChange& full = slots.File(&stranger, 1);
    EXPECT_FALSE(full.write);
    ExpectEvent(full, 0, SlotEventKind::NoFreeSlot, -1, 0);
    EXPECT_EQ(std::memcmp(full.slots, slots.read, sizeof slots.read), 0);

    Slots empty;
    CallRecord calls[] = {Record("5", ""), Record("6", "201")};
    SlotChange& change = empty.File(calls, 2);
    ExpectEvent(change, 0, SlotEventKind::Added, 0, 0);
    ExpectEvent(change, 1, SlotEventKind::Added, 0, 1);
    EXPECT_TRUE(Same(change.slots[0], calls[1]));
}

TEST(SlotChanges, AFullQueueIsFiledInOrderWithinTheEventList) {
    Slots slots;
    static CallRecord calls[kMostCallsAtOnce + 3];
    for (int i = 0; i < kMostCallsAtOnce + 3; ++i) {
        char phone[12];
        std::snprintf(phone, sizeof phone, "%d", i);
        calls[i] = Record(phone, i % 2 ? "201" : "202");
    }
    SlotChange& change = slots.File(calls, kMostCallsAtOnce + 3);
    EXPECT_EQ(change.eventCount, kMostCallsAtOnce);
    EXPECT_TRUE(Same(change.slots[0], calls[kMostCallsAtOnce - 2]));
    EXPECT_TRUE(Same(change.slots[1], calls[kMostCallsAtOnce - 1]));
}

TEST(SlotChanges, EditsGoWhereTheirCallStillStandsAndNameTheOthers) {
    Slots slots;
    slots.read[0] = Record("1", "201");
    slots.read[1] = Record("2", "202");
    slots.read[2] = Record("3", "203");
    SlotEdits edits{};
    for (int k = 0; k < 4; ++k) {
        edits.edited[k] = true;
        edits.shownFrom[k] = slots.read[k];
        edits.wanted[k] = slots.read[k];
        std::snprintf(edits.wanted[k].phone, sizeof edits.wanted[k].phone, "%s", "777");
    }
    edits.shownFrom[1] = Record("2", "202", "09:59:00");   // a newer call came since
    edits.shownFrom[2] = Record("8", "203");               // same call, phone changed elsewhere
    edits.shownFrom[3] = Record("4", "204");               // cleared elsewhere
    SlotChange& change = slots.Run(SlotOperationKind::SaveEdits, &edits);
    EXPECT_TRUE(change.write);
    EXPECT_TRUE(Same(change.slots[0], edits.wanted[0]));
    EXPECT_TRUE(Same(change.slots[1], slots.read[1]));
    EXPECT_EQ(change.conflict[0], EditConflict::None);
    EXPECT_EQ(change.conflict[1], EditConflict::NewCall);
    EXPECT_EQ(change.conflict[2], EditConflict::EditedElsewhere);
    EXPECT_EQ(change.conflict[3], EditConflict::EditedElsewhere);
    ASSERT_EQ(change.eventCount, 3);
    ExpectEvent(change, 0, SlotEventKind::EditNewCall, 1, -1);
    ExpectEvent(change, 2, SlotEventKind::EditedElsewhere, 3, -1);

    edits.edited[0] = false;
    EXPECT_FALSE(slots.Run(SlotOperationKind::SaveEdits, &edits).write);
}

TEST(SlotChanges, ClearImageAndViewDoWhatTheySay) {
    Slots slots;
    slots.read[5] = Record("1", "201");
    SlotChange& cleared = slots.Run(SlotOperationKind::Clear);
    EXPECT_TRUE(cleared.write);
    EXPECT_TRUE(Free(cleared.slots[5]));
    CallRecord image[kSlotCount] = {};
    image[7] = Record("2", "207");
    SlotChange& saved = slots.Run(SlotOperationKind::SaveImage, nullptr, image);
    EXPECT_TRUE(saved.write);
    EXPECT_EQ(std::memcmp(saved.slots, image, sizeof image), 0);
    SlotChange& viewed = slots.Run(SlotOperationKind::View);
    EXPECT_FALSE(viewed.write);
    EXPECT_EQ(std::memcmp(viewed.slots, slots.read, sizeof slots.read), 0);
    EXPECT_EQ(viewed.eventCount, 0);
}

}  // namespace
