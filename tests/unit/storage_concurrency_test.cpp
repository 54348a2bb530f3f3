// The listener thread updating the slots while the user-interface thread
// loads and saves them and the settings: the file, read as another station
// reads it, is always 5620 bytes of whole records, and so is the image a
// load leaves.
#include <atomic>
#include <string>
#include <thread>

#include "storage/day_log.h"
#include "storage/slot_file.h"
#include "storage_fixture.h"

using StorageConcurrency = StorageTest;

// Each call's text names its target and phone, so a slot mixed from two
// calls shows.
static CallRecord Call(int number) {
    std::string target = std::to_string(200 + number % 12);
    std::string phone = std::to_string(number);
    std::string text = "call " + target + " " + phone;
    return StorageTest::Record(phone.c_str(), target.c_str(), text.c_str());
}

static bool IsWholeSlot(const CallRecord& slot) {
    static const CallRecord kFree{};
    if (std::memcmp(&slot, &kFree, sizeof slot) == 0) return true;
    CallRecord expected = Call(std::atoi(slot.phone));
    return std::memcmp(&slot, &expected, sizeof slot) == 0;
}

static bool IsWholeImage(const CallRecord* slots) {
    for (int i = 0; i < kSlotCount; ++i)
        if (!IsWholeSlot(slots[i])) return false;
    return true;
}

// Read under the stations' lock, as another station would see the file.
static bool FileIsWhole() {
    StationLock stations = LockAcrossStations("LOGS\\TELEFONY\\CLIP.DAT", 10000);
    std::string bytes = test::ReadFile(StorageTest::kSlotFile);
    UnlockAcrossStations(stations);
    if (bytes.empty()) return true;  // not created yet
    if (bytes.size() != sizeof(CallRecord) * kSlotCount) return false;
    return IsWholeImage(reinterpret_cast<const CallRecord*>(bytes.data()));
}

TEST_F(StorageConcurrency, UpdatesAgainstLoadsAndSavesKeepTheFileWhole) {
    constexpr int kCalls = 300;
    std::atomic<bool> listening{true};
    std::thread listener([&] {
        for (int number = 0; number < kCalls; ++number) UpdatePhoneSlots(Call(number));
        listening.store(false);
    });

    int rounds = 0, torn = 0;
    do {
        LoadPhoneSlots(false);
        {
            SharedStateLock lock;
            if (!IsWholeImage(g_phoneSlots)) ++torn;
        }
        if (!FileIsWhole()) ++torn;
        SavePhoneSlots();
        LoadSettings();
        SetSlotFileName("");
        SaveSettings();
        ++rounds;
    } while (listening.load());
    listener.join();

    EXPECT_EQ(torn, 0) << "after " << rounds << " rounds";
    EXPECT_EQ(test::ReadFile(kSlotFile).size(), 5620u);
    EXPECT_TRUE(FileIsWhole());
}

// Another thread (the listener, say) holding the lock while this lives.
class LockHolder {
public:
    LockHolder() : thread_([this] { Hold(); }) {
        while (!held_.load()) SleepMilliseconds(1);
    }
    ~LockHolder() {
        release_.store(true);
        thread_.join();
    }

private:
    void Hold() {
        SharedStateLock lock;
        held_.store(true);
        while (!release_.load()) SleepMilliseconds(1);
    }
    std::atomic<bool> held_{false}, release_{false};
    std::thread thread_;
};

// The listener keeps the lock. The user-interface thread's take gives up
// after about 100 ms, and every storage step it uses returns, none of them
// waiting in a take of its own.
TEST_F(StorageConcurrency, UserInterfaceStepsGiveUpWhileTheLockIsHeld) {
    {
        LockHolder listener;
        int64_t start = MonotonicNanoseconds();
        EXPECT_FALSE(TryLockSharedStateFor(100));
        EXPECT_GE(MonotonicNanoseconds() - start, 95'000'000);
        EXPECT_FALSE(LoadPhoneSlots(false));
        EXPECT_FALSE(SetSlotFileName("B.DAT"));
        char path[260];
        EXPECT_NE(PhoneSlotPath(path, sizeof path), 0);
        WriteEventLog("bez blokady");
        SlotEdits edits{};
        edits.edited[0] = true;
        EditOutcome outcome;
        EXPECT_EQ(SavePhoneSlots(edits, outcome), EditSave::Busy);
        EXPECT_NE(std::string(outcome.message).find("zaj\x91ty"), std::string::npos) << outcome.message;
    }
    CheckLockOrder(false);   // the lock itself: the check would stop the second take
    ASSERT_TRUE(TryLockSharedStateFor(100));
    EXPECT_FALSE(TryLockSharedStateFor(0));   // plain: not even its holder takes it again
    UnlockSharedState();
    EXPECT_NE(test::ReadFile(kDayLog).find("bez blokady"), std::string::npos);
}

// The open window's choices stay on top of a restart's re-read until its
// close saves them; a close that finds the lock held saves them all the
// same, and the next re-read takes what was saved.
TEST_F(StorageConcurrency, WindowChoicesOutliveReReadsUntilTheCloseSavesThem) {
    test::WriteFile("MERLOX.INI", "[Ornitel]\nPytaj=1,4,0,1338\n");
    test::WriteFile("Ornitel.ini", "[Ornitel]\nFilename=A.DAT\n");
    {
        SharedStateLock lock;
        SetWindowChoices(kOptionDayLog | kOptionClipboard, 3, 1339, "B.DAT");
    }
    LoadSettings();
    EXPECT_EQ(g_settings.options, kOptionDayLog | kOptionClipboard);
    EXPECT_EQ(g_settings.selectedSlot, 3);
    EXPECT_EQ(g_settings.port, 1339);
    EXPECT_STREQ(g_settings.slotFileName, "B.DAT");

    Settings saved;
    {
        LockHolder listener;
        saved = SaveWindowChoices(kOptionDayLog, 4, 1340, "C.DAT");
    }
    EXPECT_EQ(saved.port, 1340);
    EXPECT_EQ(test::ReadFile("MERLOX.INI"), "[Ornitel]\nPytaj=1,4,4,1340\n");
    EXPECT_EQ(test::ReadFile("Ornitel.ini"), "[Ornitel]\nFilename=C.DAT\n");
    test::WriteFile("MERLOX.INI", "[Ornitel]\nPytaj=1,4,5,1341\n");   // saved again since
    LoadSettings();
    EXPECT_EQ(g_settings.port, 1341);
    EXPECT_STREQ(g_settings.slotFileName, "C.DAT");
}
