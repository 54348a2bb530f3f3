// Stations sharing one slot file. This test program is one station, whose
// read-to-write span a hook holds open (a frozen station, a slow share);
// the other is the test itself holding the lock file, or a reference host
// of its own filing calls into the same folder.
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "storage_fixture.h"
#include "support/child_process.h"
#include "support/free_udp_port.h"
#include "support/udp_helpers.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr char kLockFile[] = "LOGS/TELEFONY/CLIP.DAT.lck";

// Another station's hold of the lock file, as long as the object lives.
class OtherStationHold {
public:
    OtherStationHold() {
        std::filesystem::create_directories("LOGS/TELEFONY");
        descriptor_ = open(kLockFile, O_RDWR | O_CREAT, 0644);
        EXPECT_EQ(flock(descriptor_, LOCK_EX), 0);
    }
    ~OtherStationHold() { close(descriptor_); }

private:
    int descriptor_;
};

// Holds this station between its read of the slot file and its write, at
// the write's first positioning, until Release().
class HeldBetweenReadAndWrite {
public:
    HeldBetweenReadAndWrite() {
        instance_ = this;
        HookFileCalls(&Hook);
    }
    ~HeldBetweenReadAndWrite() {
        Release();
        HookFileCalls(nullptr);
        instance_ = nullptr;
    }
    bool WaitUntilHeld() {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return held_; });
    }
    void Release() {
        std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    static void Hook(FileCall call) {
        if (call != FileCall::Seek || !instance_) return;
        std::unique_lock<std::mutex> lock(instance_->mutex_);
        instance_->held_ = true;
        instance_->changed_.notify_all();
        instance_->changed_.wait(lock, [] { return instance_->released_; });
    }

    static inline HeldBetweenReadAndWrite* instance_ = nullptr;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool released_ = false;
};

class SharedSlotFile : public StorageTest {
protected:
    const CallRecord* FileSlots() {
        file = test::ReadFile(kSlotFile);
        return file.size() == 5620 ? reinterpret_cast<const CallRecord*>(file.data()) : nullptr;
    }
    static std::string Target(const CallRecord& slot) { return std::string(slot.target, strnlen(slot.target, 20)); }

    // A reference host of its own in this folder, listening on a free port.
    void StartOtherStation() {
        otherPort = test::FreeUdpPort();
        test::WriteFile("MERLOX.INI", "[Ornitel]\nPytaj=1,4,0," + std::to_string(otherPort) + "\n");
        other = std::make_unique<test::ChildProcess>(std::vector<std::string>{
            CALLERID_REFHOST_PATH, "--headless", "--show-log", "--dir", scratch.path(), "--station", "2"});
        ASSERT_TRUE(other->WaitForLine("rozpoczeto nasluch")) << other->output();
    }

    std::string file;
    int otherPort = 0;
    std::unique_ptr<test::ChildProcess> other;
};

// Another station holds the lock: nothing is written, the user-interface
// steps answer at once and truthfully, and the window still loads.
TEST_F(SharedSlotFile, WhileAnotherStationHoldsTheFileNothingIsWrittenAndTheWindowAnswers) {
    CallRecord stored[kSlotCount] = {Record("111", "201")};
    WriteSlotFile(stored);
    OtherStationHold hold;
    EXPECT_EQ(UpdatePhoneSlots(stored + 1, 1, 0), CallsFiled::Busy);
    SlotEdits edits{};
    edits.edited[0] = true;
    edits.shownFrom[0] = stored[0];
    edits.wanted[0] = Record("999", "201");
    EditOutcome outcome;
    auto before = Clock::now();
    EXPECT_EQ(SavePhoneSlots(edits, outcome), EditSave::Busy);
    EXPECT_LT(Clock::now() - before, std::chrono::milliseconds(1000));
    EXPECT_NE(std::string(outcome.message).find("inne stanowisko"), std::string::npos) << outcome.message;
    SlotView view;
    EXPECT_TRUE(TakeSlotView(view));
    EXPECT_EQ(SlotBytes(view.slots, 1), SlotBytes(stored, 1));
    EXPECT_EQ(test::ReadFile(kSlotFile), SlotBytes(stored));
}

// This station is held between its read and its write (frozen, or each
// positioning on a slow share taking seconds) while the other station
// files calls for three other targets: the other waits, and when this one
// goes on and lets go, the file holds every call. Once for a call this
// station files, once for an edit it saves with F5.
TEST_F(SharedSlotFile, AStationHeldBetweenReadAndWriteLosesNoOtherStationsCall) {
    CallRecord stored[kSlotCount] = {Record("100", "201")};
    for (bool save : {false, true}) {
        WriteSlotFile(stored);
        StartOtherStation();
        HeldBetweenReadAndWrite held;
        const CallRecord mine = Record("111", "201", "", "10:01:00");
        std::thread station([&] {
            if (!save) return UpdatePhoneSlots(mine);
            SlotEdits edits{};
            edits.edited[0] = true;
            edits.shownFrom[0] = stored[0];
            edits.wanted[0] = mine;
            EditOutcome outcome;
            EXPECT_EQ(SavePhoneSlots(edits, outcome), EditSave::Saved) << outcome.message;
        });
        ASSERT_TRUE(held.WaitUntilHeld());
        for (int k = 2; k <= 4; ++k)
            ASSERT_TRUE(test::SendUdp(otherPort, "60" + std::to_string(k) + "\t20" + std::to_string(k) + "\t\t\tcall"));
        EXPECT_TRUE(other->WaitForLine("czeka na wpisanie")) << other->output();
        held.Release();
        station.join();
        ASSERT_TRUE(test::WaitUntil([&] {
            const CallRecord* slots = FileSlots();
            return slots && Target(slots[3]) == "204";
        })) << other->output();
        const CallRecord* slots = FileSlots();
        EXPECT_EQ(SlotBytes(slots, 1), SlotBytes(&mine, 1)) << (save ? "F5" : "update");
        EXPECT_EQ(Target(slots[1]) + Target(slots[2]) + Target(slots[3]), "202203204");
        other->Signal(SIGTERM);
        EXPECT_EQ(other->Wait(), 0);
        test::WriteFile(kDayLog, "");
    }
}

// A lock file made by another user, readable only, still gives the lock:
// a station of a second user waits for the first instead of writing.
TEST_F(SharedSlotFile, AStationOfAnotherUserWaitsForTheLock) {
    if (geteuid() != 0) GTEST_SKIP() << "SKIPPED: needs root to play a second user";
    OtherStationHold hold;
    chmod(kLockFile, 0644);
    chmod(".", 0777);
    chmod("LOGS", 0777);
    chmod("LOGS/TELEFONY", 0777);
    pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
        StationLock lock = LockAcrossStations("LOGS\\TELEFONY\\CLIP.DAT", 50);
        _exit(lock.turn == StationTurn::Busy ? 0 : lock.turn == StationTurn::HeldHereOnly ? 1 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no lock at all, 2: the lock although another holds it";
}

}  // namespace
