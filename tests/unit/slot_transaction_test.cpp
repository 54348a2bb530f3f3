// The slot file's one transaction: the lock order it keeps, a station
// killed between its writes, and a folder where no lock between stations
// can be had.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "storage/phone_slots.h"
#include "storage_fixture.h"

using SlotTransaction = StorageTest;

namespace {

// The refresh's old order: the view taken under the plug-in's lock. The
// check stops it at once instead of letting a call wait behind a read.
TEST_F(SlotTransaction, LockOrderCheckStopsAViewTakenUnderThePluginsLock) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            LockSharedState();
            SlotView view;
            TakeSlotView(view);
        },
        "lock order: a wait for the plug-in's lock under the plug-in's lock");
    EXPECT_DEATH(
        {
            SharedStateLock lock;
            StationLock stations = LockAcrossStations("LOGS\\TELEFONY\\CLIP.DAT", 0);
            UnlockAcrossStations(stations);
        },
        "lock order: a wait for the stations' lock under the plug-in's lock");
}

// Each changed record goes out whole in one write: a station killed at
// any flush of an update (slot 7 crosses the stream's 4096-byte block,
// and a batch changes several slots) leaves every record old or new.
int g_flushesLeft = 0;
void DieAtFlush(FileCall call) {
    if (call == FileCall::Flush && --g_flushesLeft == 0) _exit(0);
}

TEST_F(SlotTransaction, StationKilledBetweenWritesLeavesEveryRecordWhole) {
    CallRecord old[kSlotCount];
    for (int k = 0; k < kSlotCount; ++k) old[k] = Record("100", std::to_string(200 + k).c_str(), "NIP:1111111111");
    CallRecord calls[] = {Record("700", "207", "NIP:7777777777", "10:00:07"),
                          Record("300", "203", "NIP:3333333333", "10:00:03"),
                          Record("900", "209", "NIP:9999999999", "10:00:09")};
    for (int kill = 1; kill <= 3; ++kill) {
        SCOPED_TRACE(kill);
        WriteSlotFile(old);
        pid_t child = fork();
        if (child == 0) {
            g_flushesLeft = kill;
            HookFileCalls(&DieAtFlush);
            UpdatePhoneSlots(calls, 3, 1000);
            _exit(1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_EQ(WEXITSTATUS(status), 0) << "the child was not killed at flush " << kill;
        std::string file = test::ReadFile(kSlotFile);
        ASSERT_EQ(file.size(), 5620u);
        for (int k = 0; k < kSlotCount; ++k) {
            std::string slot = file.substr(k * 562, 562);
            bool whole = slot == SlotBytes(&old[k], 1);
            for (const CallRecord& call : calls) whole = whole || slot == SlotBytes(&call, 1);
            EXPECT_TRUE(whole) << "slot " << k << " mixes two calls";
        }
    }
}

// A folder whose lock file cannot be locked (a network file system
// without locks): calls are still filed, and the day log says so once.
TEST_F(SlotTransaction, NoLocksAvailableStillFilesAndSaysSoOnce) {
    FailStationLocks(ENOLCK);
    UpdatePhoneSlots(Record("1", "201"));
    UpdatePhoneSlots(Record("2", "202"));
    FailStationLocks(0);
    std::string file = test::ReadFile(kSlotFile);
    ASSERT_EQ(file.size(), 5620u);
    EXPECT_EQ(file.substr(562, 562), SlotBytes(&static_cast<const CallRecord&>(Record("2", "202")), 1));
    int said = 0;
    for (const std::string& message : EventMessages())
        if (message.find("LOGS\\TELEFONY\\CLIP.DAT (kod b") != std::string::npos) ++said;
    EXPECT_EQ(said, 1) << test::ReadFile(kDayLog);
    EXPECT_NE(test::ReadFile(kDayLog).find("(kod b\x92\x91" "du systemu: " + std::to_string(ENOLCK) + ")"),
              std::string::npos);
}

}  // namespace
