// Three stations sharing one working folder, as an office keeps its data
// folder on a server share: three reference hosts in three network
// namespaces of one bridge, all with the same slot file and day log. The
// calls are broadcast to all of them; station 1's user has edited two rows
// and presses F5 after one batch of calls was filed and while another is
// on its way. The slot file must end as the calls and the edit say: each
// call whole, the edit of a row whose slot got no call kept, the edit of a
// row whose slot got a call lost to the call. Skipped where namespaces
// cannot be made.
#include <signal.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "storage/call_record.h"
#include "support/child_process.h"
#include "support/free_udp_port.h"
#include "support/network_lab.h"
#include "support/udp_helpers.h"
#include "support/test_support.h"

namespace {

constexpr int kStations = 3;
constexpr int kEditedWithoutCall = 1;  // row 2's slot; row 1's (slot 0) gets calls
// The first batch is filed by every station before F5 and calls at every
// slot but the second; the second, on its way during F5, at slots 5 to 9.
constexpr int kSecondBatchFrom = 5;
using Slots = std::array<CallRecord, 10>;

std::string Target(int slot) { return std::to_string(201 + slot); }

class SharedFolder : public ::testing::Test {
public:
protected:
    void SetUp() override {
        if (!lab.Make(kStations)) GTEST_SKIP() << "SKIPPED: network namespaces cannot be made here";
        std::filesystem::create_directories(office + "/LOGS/TELEFONY");
        port = test::FreeUdpPort();
        test::WriteFile(office + "/MERLOX.INI", "[Ornitel]\nPytaj=1,4,0," + std::to_string(port) + "\n");
        Slots slots{};
        for (int slot = 0; slot < 10; ++slot) {
            std::snprintf(slots[slot].phone, sizeof slots[slot].phone, "10%d", slot);
            std::snprintf(slots[slot].target, sizeof slots[slot].target, "%s", Target(slot).c_str());
            std::snprintf(slots[slot].text, sizeof slots[slot].text, "stary NIP:1111111111");
            std::snprintf(slots[slot].date, sizeof slots[slot].date, "01.03.2024");
            std::snprintf(slots[slot].time, sizeof slots[slot].time, "11:00:00");
        }
        test::WriteFile(office + "/LOGS/TELEFONY/CLIP.DAT",
                        std::string(reinterpret_cast<const char*>(slots.data()), sizeof slots));
    }

    std::unique_ptr<test::ChildProcess> Station(int i, const std::vector<std::string>& more) {
        std::vector<std::string> command = lab.Inside(i);
        for (const std::string& argument :
             std::vector<std::string>{CALLERID_REFHOST_PATH, "--headless", "--show-log", "--dir", office, "--clock",
                                      "2024-03-01 12:00:00", "--station", std::to_string(i)})
            command.push_back(argument);
        command.insert(command.end(), more.begin(), more.end());
        return std::make_unique<test::ChildProcess>(command);
    }

    // A call for each slot from `first` on, but the one edited without a call.
    static std::string Batch(const char* phone, int first, const char* how) {
        std::string lines;
        for (int slot = first; slot < 10; ++slot)
            if (slot != kEditedWithoutCall)
                lines += std::string("call \"") + phone + std::to_string(slot) + "\" \"" + Target(slot) + "\" \"" +
                         phone + std::to_string(slot) + " NIP:222222222" + std::to_string(slot) +
                         "\" to 255.255.255.255 " + how + "\n";
        return lines;
    }

    test::ScratchDirectory scratch;
    test::NetworkLab lab{"shf"};
    std::string office = scratch.path() + "/office";
    int port = 0;
};

// Ten stations for the flood.
class TenStations : public SharedFolder {
protected:
    void SetUp() override {
        if (!lab.Make(kFloodStations)) GTEST_SKIP() << "SKIPPED: network namespaces cannot be made here";
        std::filesystem::create_directories(office + "/LOGS/TELEFONY");
        port = test::FreeUdpPort();
        test::WriteFile(office + "/MERLOX.INI", "[Ornitel]\nPytaj=1,4,0," + std::to_string(port) + "\n");
    }
    static constexpr int kFloodStations = 10;
};

}  // namespace

TEST_F(SharedFolder, F5WhileAllStationsFileCallsLeavesEachCallWholeAndTheEditWhereNoCallCame) {
    std::vector<std::unique_ptr<test::ChildProcess>> others;
    for (int i = 2; i <= kStations; ++i) others.push_back(Station(i, {}));
    for (auto& station : others) ASSERT_TRUE(station->WaitForLine("rozpoczeto nasluch")) << station->output();

    test::WriteFile(scratch.path() + "/f5.script",
                    "call ready\naction\n"
                    "window type 0x410B \"4811\"\n"     // row 1: its slot gets calls
                    "window type 0x4115 \"4822\"\n" +  // row 2: its slot gets none
                        Batch("500", 0, "stations 3") + Batch("600", kSecondBatchFrom, "nowait") +
                        "window key F5\ncall wait stations 3\nwindow key F12\n");
    std::unique_ptr<test::ChildProcess> first = Station(1, {"--script", scratch.path() + "/f5.script"});
    EXPECT_EQ(first->Wait(40000), 0) << first->output();
    for (auto& station : others) {
        station->Signal(SIGTERM);
        EXPECT_EQ(station->Wait(), 0) << station->output();
    }

    std::string bytes = test::ReadFile(office + "/LOGS/TELEFONY/CLIP.DAT");
    ASSERT_EQ(bytes.size(), sizeof(Slots));
    Slots slots;
    std::memcpy(slots.data(), bytes.data(), sizeof slots);
    for (int slot = 0; slot < 10; ++slot) {
        SCOPED_TRACE("slot " + std::to_string(slot));
        EXPECT_STREQ(slots[slot].target, Target(slot).c_str());
        EXPECT_STREQ(slots[slot].date, "01.03.2024");
        if (slot == kEditedWithoutCall) {
            EXPECT_STREQ(slots[slot].phone, "4822");
            EXPECT_STREQ(slots[slot].text, "stary NIP:1111111111");
            EXPECT_STREQ(slots[slot].time, "11:00:00");
        } else {
            std::string phone = (slot < kSecondBatchFrom ? "500" : "600") + std::to_string(slot);
            EXPECT_STREQ(slots[slot].phone, phone.c_str());
            EXPECT_EQ(slots[slot].text, phone + " NIP:222222222" + std::to_string(slot));
            EXPECT_STREQ(slots[slot].time, "12:00:00");
        }
    }
}

// Ten stations on one slot file under a flood of broadcast calls, five for
// each of ten targets, sent without waiting: each station logs every call
// once, and the file ends with each target's last call in the slot its
// first call took.
TEST_F(TenStations, AFloodLeavesEverySlotRightAndEveryCallLoggedOncePerStation) {
    std::vector<std::unique_ptr<test::ChildProcess>> others;
    for (int i = 2; i <= kFloodStations; ++i) others.push_back(Station(i, {}));
    for (auto& station : others) ASSERT_TRUE(station->WaitForLine("rozpoczeto nasluch")) << station->output();
    std::string script = "call ready\n";
    for (int round = 1; round <= 5; ++round)
        for (int slot = 0; slot < 10; ++slot)
            script += "call \"7" + std::to_string(round) + std::to_string(slot) + "\" \"" + Target(slot) + "\" \"flood " +
                      std::to_string(round) + "\" to 255.255.255.255 nowait\n";
    script += "call wait stations 10\n";
    test::WriteFile(scratch.path() + "/flood.script", script);
    std::unique_ptr<test::ChildProcess> first = Station(1, {"--script", scratch.path() + "/flood.script"});
    EXPECT_EQ(first->Wait(50000), 0) << first->output();
    for (auto& station : others) {
        station->Signal(SIGTERM);
        EXPECT_EQ(station->Wait(), 0) << station->output();
        EXPECT_EQ(test::CountOf(station->output(), "]:7"), 50) << station->output();
    }
    std::string bytes = test::ReadFile(office + "/LOGS/TELEFONY/CLIP.DAT");
    ASSERT_EQ(bytes.size(), sizeof(Slots));
    Slots slots;
    std::memcpy(slots.data(), bytes.data(), sizeof slots);
    for (int slot = 0; slot < 10; ++slot) {
        EXPECT_STREQ(slots[slot].target, Target(slot).c_str());
        EXPECT_EQ(std::string(slots[slot].phone), "75" + std::to_string(slot));
    }
}
