// The fault matrix of the file side: calls filed as the listener files them
// (UDPBuildRecord, UDPRecordCall) while one fault at a time is made, by the
// host's stream switches, the platform seam's file switch, a directory that
// cannot be made, a full disk and a read-only one. For each: the message,
// the slots stored before it kept whole, and the next call after the fault
// is gone filed as if nothing had happened. The socket side is in
// socket_fault_matrix_test.cpp.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>

#include "storage_fixture.h"
#include "support/tmpfs_mount.h"
#include "support/udp_helpers.h"
#include "udp/datagram.h"

namespace {

using refhost::StreamService;

const std::string kOpenFailed = "Blad otwarcia pliku telefonow (aktualizacja - zapis)";

class FaultMatrix : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        stored[0] = Record("111", "201", "NIP:1111111111");
        stored[1] = Record("222", "202");
    }

    // A datagram from the box, filed as the listener files it. Every call
    // has a phone of its own, so none is a repeat of the one before.
    void Call(const std::string& target, const std::string& text = "") {
        char datagram[kDatagramCapacity] = {};
        std::snprintf(datagram, sizeof datagram, "6%08d\t%s\t\t\t%s", ++calls, target.c_str(), text.c_str());
        CallRecord record;
        UDPBuildRecord(datagram, record);
        UDPRecordCall(record);
        last = record;
    }

    void UseSlotFile(const char* name) { SetSlotFileName(name); }

    void StoreSlots(const std::string& path) { test::WriteFile(path, SlotBytes(stored)); }

    // The stored slots are still in the file, whole, and the call last
    // filed is in the slot of its target.
    void ExpectStoredSlotsAndLastCall(const std::string& path, int lastSlot) {
        std::string file = test::ReadFile(path);
        ASSERT_EQ(file.size(), 5620u);
        EXPECT_EQ(file.substr(0, 2 * 562), SlotBytes(stored, 2));
        EXPECT_EQ(file.substr(lastSlot * 562, 562), SlotBytes(&last, 1));
    }

    bool Logged(const std::string& message) {
        std::vector<std::string> messages = EventMessages();
        return std::find(messages.begin(), messages.end(), message) != messages.end();
    }

    CallRecord stored[kSlotCount] = {};
    CallRecord last{};
    int calls = 0;
};

struct StreamFault {
    const char* name;
    std::function<void()> make;
    std::string message;
    bool bytesMayHaveReached;   // a failed close may come after the bytes were written
};

}  // namespace

// Each step of the slot update failing in turn, then the same update
// without the fault.
TEST_F(FaultMatrix, EachStepOfTheSlotUpdateFailingKeepsTheSlotsAndTheNextCallLands) {
    const std::string writeFailed = "Blad zapisu pliku LOGS\\TELEFONY\\CLIP.DAT";
    const StreamFault faults[] = {
        {"open", [] { refhost::FailNextStreamCalls(StreamService::Open, 1); }, kOpenFailed, false},
        {"read", [] { FailNextFileCalls(FileCall::Read, 1); }, "Blad odczytu pliku LOGS\\TELEFONY\\CLIP.DAT", false},
        {"seek", [] { FailNextFileCalls(FileCall::Seek, 1); }, writeFailed, false},
        {"write", [] { FailNextFileCalls(FileCall::Write, 1); }, writeFailed, false},
        {"close", [] { FailNextFileCalls(FileCall::Close, 1); }, writeFailed, true},
    };
    for (const StreamFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        StoreSlots(kSlotFile);
        test::WriteFile(kDayLog, "");
        fault.make();
        Call("203");
        EXPECT_TRUE(Logged(fault.message)) << test::ReadFile(kDayLog);
        if (!fault.bytesMayHaveReached) {
            EXPECT_EQ(test::ReadFile(kSlotFile), SlotBytes(stored));
        }

        Call("204");
        EXPECT_TRUE(Logged("Zapisano informacje do pliku LOGS\\TELEFONY\\CLIP.DAT"));
        ExpectStoredSlotsAndLastCall(kSlotFile, fault.bytesMayHaveReached ? 3 : 2);
    }
}

// The caller-ID window's load and save, with the same faults: the load
// says so and shows nothing, the save keeps the old file.
TEST_F(FaultMatrix, LoadAndSaveThatCannotOpenKeepTheFileAndWorkAfterwards) {
    StoreSlots(kSlotFile);
    refhost::FailNextStreamCalls(StreamService::Open, 1);
    LoadPhoneSlots(false);
    EXPECT_TRUE(Logged("Otwarcie pliku do odczytu: LOGS\\TELEFONY\\CLIP.DAT - blad otwarcia"));
    EXPECT_EQ(SlotBytes(g_phoneSlots), std::string(5620, '\0'));
    refhost::FailNextStreamCalls(StreamService::Open, 1);
    SavePhoneSlots();
    EXPECT_TRUE(Logged("Otwarcie pliku do zapisu: LOGS\\TELEFONY\\CLIP.DAT - blad otwarcia"));
    EXPECT_EQ(test::ReadFile(kSlotFile), SlotBytes(stored));

    LoadPhoneSlots(false);
    EXPECT_EQ(SlotBytes(g_phoneSlots), SlotBytes(stored));
    g_phoneSlots[4] = Record("555", "205");
    SavePhoneSlots();
    EXPECT_EQ(test::ReadFile(kSlotFile), SlotBytes(g_phoneSlots));
}

// A directory that cannot be made: a plain file stands where it should be.
TEST_F(FaultMatrix, SlotDirectoryThatCannotBeMadeIsReportedAndMadeOnceItCanBe) {
    UseSlotFile("SLOTS\\CLIP.DAT");
    test::WriteFile("SLOTS", "not a directory");
    Call("201");
    EXPECT_TRUE(Logged(kOpenFailed));
    EXPECT_NE(test::TakeConsole().find("refhost: cannot make the directory SLOTS"), std::string::npos);

    std::filesystem::remove("SLOTS");
    Call("201");
    std::string file = test::ReadFile("SLOTS/CLIP.DAT");
    ASSERT_EQ(file.size(), 5620u);
    EXPECT_EQ(file.substr(0, 562), SlotBytes(&last, 1));
}

// Without its directory the day log loses its lines, and says so on the
// host's console; the slots are filed all the same.
TEST_F(FaultMatrix, DayLogDirectoryThatCannotBeMadeLosesOnlyLogLines) {
    UseSlotFile("SLOTS\\CLIP.DAT");
    test::WriteFile("LOGS", "not a directory");
    Call("201");
    EXPECT_NE(test::TakeConsole().find("refhost: cannot append to LOGS/TELEFONY/08-12-2026.LOG"), std::string::npos);
    EXPECT_EQ(test::ReadFile("SLOTS/CLIP.DAT").substr(0, 562), SlotBytes(&last, 1));

    std::filesystem::remove("LOGS");
    Call("202");
    std::vector<std::string> calls = test::SplitDayLog(test::ReadFile(kDayLog)).calls;
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NE(calls[0].find("\t202\t"), std::string::npos);
}

class FullDisk : public FaultMatrix {
protected:
    void SetUp() override {
        FaultMatrix::SetUp();
        std::string why;
        if (!disk.Mount(scratch.path() + "/FULL", 64, why)) GTEST_SKIP() << "SKIPPED: " << why;
        UseSlotFile("FULL\\CLIP.DAT");
    }
    test::TmpfsMount disk;
};

// On a full disk a slot file that exists is still rewritten in place (it
// needs no new space); a new one cannot be written, which is said, and is
// written whole once there is room again.
TEST_F(FullDisk, SlotFileOnAFullDiskIsKeptAndWrittenOnceThereIsRoom) {
    disk.Fill();
    Call("201");
    EXPECT_TRUE(Logged("Blad zapisu pliku FULL\\CLIP.DAT")) << test::ReadFile(kDayLog);
    disk.Free();
    Call("202");
    std::string file = test::ReadFile("FULL/CLIP.DAT");
    ASSERT_EQ(file.size(), 5620u);
    EXPECT_EQ(file.substr(0, 562), SlotBytes(&last, 1));

    StoreSlots("FULL/CLIP.DAT");
    disk.Fill();
    Call("203");
    ExpectStoredSlotsAndLastCall("FULL/CLIP.DAT", 2);

    // The window's save writes in place as well: it needs no room either.
    LoadPhoneSlots(false);
    g_phoneSlots[5] = Record("555", "205");
    SavePhoneSlots();
    EXPECT_EQ(test::ReadFile("FULL/CLIP.DAT"), SlotBytes(g_phoneSlots));
}

// A day log on a full disk loses lines while it is full, but never keeps
// a piece of one: the line after the disk has room again starts a line of
// its own.
TEST_F(FullDisk, DayLogOnAFullDiskLosesWholeLinesOnly) {
    std::filesystem::create_directories("FULL/TELEFONY");
    std::filesystem::remove_all("LOGS");
    std::filesystem::create_symlink(scratch.path() + "/FULL", "LOGS");
    test::WriteFile(kDayLog, "");
    Call("201", std::string(400, 'a'));
    disk.Fill();
    for (int i = 0; i < 40; ++i) Call(std::to_string(202 + i % 8), std::string(300, 'b'));
    disk.Free();
    Call("299", "po zwolnieniu miejsca");

    std::istringstream lines(test::ReadFile(kDayLog));
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_EQ(line.rfind("08.12.2026", 0), 0u) << "line " << count << " is a piece: " << line.substr(0, 60);
        EXPECT_EQ(test::CountOf(line, "08.12.2026"), 1) << "line " << count << " holds a piece of another";
    }
    EXPECT_NE(test::ReadFile(kDayLog).find("\t299\tpo zwolnieniu miejsca\t"), std::string::npos);
}

class ReadOnlyDirectory : public FaultMatrix {
protected:
    void SetUp() override {
        FaultMatrix::SetUp();
        UseSlotFile("RO\\CLIP.DAT");
        StoreSlots("RO/CLIP.DAT");
        std::string why;
        // Root writes through any file mode; only a read-only mount stops it.
        if (geteuid() == 0) {
            if (!disk.Mount(scratch.path() + "/RO", 64, why)) GTEST_SKIP() << "SKIPPED: " << why;
            StoreSlots("RO/CLIP.DAT");
        }
    }
    void MakeReadOnly() {
        if (geteuid() == 0) {
            ASSERT_TRUE(disk.MakeReadOnly());
        } else {
            chmod("RO/CLIP.DAT", 0444);
            chmod("RO", 0555);
        }
    }
    void MakeWritable() {
        if (geteuid() == 0) {
            ASSERT_TRUE(disk.MakeWritable());
        } else {
            chmod("RO", 0755);
            chmod("RO/CLIP.DAT", 0644);
        }
    }
    test::TmpfsMount disk;
};

TEST_F(ReadOnlyDirectory, SlotsOnAReadOnlyDiskAreKeptAndUpdatedOnceItIsWritable) {
    MakeReadOnly();
    Call("203");
    EXPECT_TRUE(Logged(kOpenFailed));
    EXPECT_EQ(test::ReadFile("RO/CLIP.DAT"), SlotBytes(stored));
    LoadPhoneSlots(false);
    SavePhoneSlots();
    EXPECT_TRUE(Logged("Otwarcie pliku do zapisu: RO\\CLIP.DAT - blad otwarcia"));
    EXPECT_EQ(test::ReadFile("RO/CLIP.DAT"), SlotBytes(stored));

    MakeWritable();
    Call("204");
    ExpectStoredSlotsAndLastCall("RO/CLIP.DAT", 2);
}
