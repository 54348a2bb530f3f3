// The rules for calls read after the station was held up: the batch's last
// call of a target counts, the slot's in-time stamp of the same call stays,
// and a slot's call that may be newer is never overwritten.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "storage/late_calls.h"
#include "support/call_records.h"

namespace {

CallRecord Call(const char* phone, const char* target, const char* time, const char* date = "01.03.2024") {
    return test::MakeCallRecord(phone, target, (std::string(phone) + " NIP:1234567890").c_str(), time, date);
}

// A hold of 30 s that ended at 10:00:30, when the batch was read.
std::vector<LateCall> Judge(const std::vector<CallRecord>& slotCalls, const std::vector<CallRecord>& batch,
                            const CallRecord* before = nullptr) {
    CallRecord slots[10] = {};
    for (std::size_t i = 0; i < slotCalls.size(); ++i) slots[i] = slotCalls[i];
    std::vector<LateCall> verdicts;
    for (std::size_t at = 0; at < batch.size(); ++at)
        verdicts.push_back(JudgeLateCall(slots, batch.data(), static_cast<int>(batch.size()), {30, before}, 0,
                                         static_cast<int>(at)));
    return verdicts;
}

using V = std::vector<LateCall>;

}  // namespace

TEST(LateCalls, TheSameCallFiledInTimeKeepsItsStampAndOnlyTheLastCallOfATargetCounts) {
    // Another station filed 222 at 10:00:05 and 333 at 10:00:20 while this one was held.
    EXPECT_EQ(Judge({Call("222", "201", "10:00:05")}, {Call("222", "201", "10:00:30")}), V{LateCall::KeepsSlot});
    EXPECT_EQ(Judge({Call("333", "202", "10:00:20")}, {Call("301", "202", "10:00:30"), Call("333", "202", "10:00:30")}),
              (V{LateCall::Superseded, LateCall::KeepsSlot}));
    // Across midnight: filed at 23:59:50, read after a hold at 00:00:10.
    EXPECT_EQ(Judge({Call("222", "201", "23:59:50", "29.02.2024")}, {Call("222", "201", "00:00:10")}),
              V{LateCall::KeepsSlot});
}

TEST(LateCalls, ACallerWhoCallsAgainLaterGetsTheNewCallAndANearOneIsKeptAsItCannotBeTold) {
    // The same caller an hour before the hold: this is a new call.
    EXPECT_EQ(Judge({Call("222", "201", "09:00:00")}, {Call("222", "201", "10:00:30")}), V{LateCall::File});
    EXPECT_EQ(Judge({Call("222", "201", "10:00:00", "29.02.2024")}, {Call("222", "201", "10:00:30")}),
              V{LateCall::File});
    // 30 s before the hold began: a station whose clock is a little off
    // may have filed this very call then.
    EXPECT_EQ(Judge({Call("222", "201", "09:59:30")}, {Call("222", "201", "10:00:30")}), V{LateCall::CannotTell});
}

TEST(LateCalls, AnotherCallInTheSlotIsOverwrittenOnlyWhenItIsOlderThanTheHold) {
    EXPECT_EQ(Judge({Call("999", "201", "09:50:00")}, {Call("222", "201", "10:00:30")}), V{LateCall::File});
    // Written while this station was held: it may be the newer call.
    EXPECT_EQ(Judge({Call("999", "201", "10:00:10")}, {Call("222", "201", "10:00:30")}), V{LateCall::CannotTell});
    // The same slot, seen by this station before the hold: older for certain.
    CallRecord before[10] = {Call("999", "201", "10:00:10")};
    EXPECT_EQ(Judge({Call("999", "201", "10:00:10")}, {Call("222", "201", "10:00:30")}, before), V{LateCall::File});
    // A target without a slot is filed as always.
    EXPECT_EQ(Judge({Call("999", "201", "10:00:10")}, {Call("222", "209", "10:00:30")}), V{LateCall::File});
}

TEST(LateCalls, AStationWhoseClockIsOffKeepsTheOthersStampOfTheSameCallOnly) {
    // An hour fast: the others filed the call at 10:00:00, it hears it at 11:00:00.
    EXPECT_TRUE(KeepsSlotStamp(Call("222", "201", "10:00:00"), Call("222", "201", "11:00:01"), 3600));
    EXPECT_FALSE(KeepsSlotStamp(Call("222", "201", "10:00:00"), Call("222", "201", "11:00:01"), 0));
    EXPECT_FALSE(KeepsSlotStamp(Call("222", "201", "10:00:00"), Call("222", "201", "11:10:00"), 3600));
    EXPECT_FALSE(KeepsSlotStamp(Call("999", "201", "10:00:00"), Call("222", "201", "11:00:00"), 3600));
    // Late as well: the hold and the clock both come off the stamp.
    CallRecord slots[10] = {Call("222", "201", "10:00:05")};
    CallRecord batch[1] = {Call("222", "201", "11:00:30")};
    EXPECT_EQ(JudgeLateCall(slots, batch, 1, {30, nullptr}, 3600, 0), LateCall::KeepsSlot);
}
