// Failures of the slot file's opens, reads, writes, positioning and closes,
// made by the reference host's stream switches and the platform seam's file
// switch: each gives its message and no stored slot is lost.
#include "storage_fixture.h"

#include "storage/clearing.h"
#include "text/mazovia_utf8.h"

using StorageFaults = StorageTest;
using Messages = std::vector<std::string>;
using refhost::StreamService;

static const std::string kOpened = "Otwarto plik telefonow (aktualizacja - zapis)";
static const std::string kWriteFailed = "Blad zapisu pliku LOGS\\TELEFONY\\CLIP.DAT";

class StoredSlots : public StorageFaults {
protected:
    void SetUp() override {
        StorageFaults::SetUp();
        stored[0] = Record("111", "201", "NIP:1111111111");
        stored[1] = Record("222", "202");
        WriteSlotFile(stored);
    }
    std::string StoredBytes() const { return SlotBytes(stored); }
    bool NoTemporaryLeft() const { return !test::FileExists(std::string(kSlotFile) + ".tmp"); }

    CallRecord stored[kSlotCount] = {};
};

TEST_F(StoredSlots, UpdateLeavesAnExistingFileThatCannotBeOpenedAsItIs) {
    refhost::FailNextStreamCalls(StreamService::Open, 1);
    UpdatePhoneSlots(Record("333", "203"));
    EXPECT_EQ(EventMessages(), Messages{"Blad otwarcia pliku telefonow (aktualizacja - zapis)"});
    EXPECT_EQ(test::ReadFile(kSlotFile), StoredBytes());
    EXPECT_EQ(SlotBytes(g_phoneSlots), std::string(5620, '\0'));
}

TEST_F(StorageFaults, UpdateThatCanOpenTheMissingFileNeitherWayStoresNothing) {
    refhost::FailNextStreamCalls(StreamService::Open, 2);
    UpdatePhoneSlots(Record("333", "203"));
    EXPECT_EQ(EventMessages(), Messages{"Blad otwarcia pliku telefonow (aktualizacja - zapis)"});
    EXPECT_FALSE(test::FileExists(kSlotFile));
}

TEST_F(StoredSlots, UpdateWhoseWriteFailsSaysSoAndNotThatItSaved) {
    FailNextFileCalls(FileCall::Write, 1);
    UpdatePhoneSlots(Record("333", "203"));
    EXPECT_EQ(EventMessages(),
              (Messages{kOpened, "Slot nr 2 wpisanie NOWEGO telefonu: 333 - > 203", kWriteFailed}));
    EXPECT_EQ(test::ReadFile(kSlotFile), StoredBytes());
}

TEST_F(StoredSlots, UpdateWhosePositioningFailsSaysSoAndWritesNothing) {
    FailNextFileCalls(FileCall::Seek, 1);
    UpdatePhoneSlots(Record("444", "204"));
    EXPECT_EQ(EventMessages().back(), kWriteFailed);
    EXPECT_EQ(test::ReadFile(kSlotFile), StoredBytes());
}

// The stream is released even so; the bytes may or may not have reached
// the file, and the log must not claim that they did.
TEST_F(StoredSlots, UpdateWhoseCloseFailsSaysSo) {
    FailNextFileCalls(FileCall::Close, 1);
    UpdatePhoneSlots(Record("444", "204"));
    EXPECT_EQ(EventMessages().back(), kWriteFailed);
    EXPECT_EQ(test::ReadFile(kSlotFile).size(), 5620u);
}

// A read error is no short file: writing the half-read image back would
// lose the slots it did not read.
TEST_F(StoredSlots, UpdateWhoseReadFailsWritesNothing) {
    FailNextFileCalls(FileCall::Read, 1);
    UpdatePhoneSlots(Record("333", "203"));
    EXPECT_EQ(EventMessages(), Messages{"Blad odczytu pliku LOGS\\TELEFONY\\CLIP.DAT"});
    EXPECT_EQ(test::ReadFile(kSlotFile), StoredBytes());
}

TEST_F(StoredSlots, LoadOfAFileThatCannotBeOpenedLogsAndAsks) {
    refhost::FailNextStreamCalls(StreamService::Open, 1);
    LoadPhoneSlots(true);
    const std::string message = "Otwarcie pliku do odczytu: LOGS\\TELEFONY\\CLIP.DAT - blad otwarcia";
    EXPECT_EQ(EventMessages(), Messages{message});
    EXPECT_NE(test::TakeConsole().find(message), std::string::npos);
    EXPECT_EQ(SlotBytes(g_phoneSlots), std::string(5620, '\0'));
}

// The edits are lost, so the user hears of it even with the day log off.
TEST_F(StoredSlots, SaveThatCannotOpenLeavesTheFileAsItIsAndSaysSo) {
    g_phoneSlots[5] = Record("555", "205");
    refhost::FailNextStreamCalls(StreamService::Open, 1);
    SavePhoneSlots();
    EXPECT_EQ(EventMessages(), Messages{"Otwarcie pliku do zapisu: LOGS\\TELEFONY\\CLIP.DAT - blad otwarcia"});
    EXPECT_EQ(test::ReadFile(kSlotFile), StoredBytes());
    EXPECT_NE(test::TakeConsole().find("zmiany nie zostały zapisane"), std::string::npos);
}

// A save writes the slots that changed in place; whatever part of it
// fails, the old slots are written back, nothing is left behind for the
// next save, and the user is told that the edits were not saved.
TEST_F(StoredSlots, SaveWhoseWriteOrPositioningFailsKeepsTheOldSlots) {
    g_phoneSlots[5] = Record("555", "205");
    for (FileCall call : {FileCall::Write, FileCall::Seek}) {
        test::WriteFile(kDayLog, "");
        test::TakeConsole();
        FailNextFileCalls(call, 1);
        SavePhoneSlots();
        EXPECT_EQ(EventMessages(), Messages{kWriteFailed});
        EXPECT_EQ(test::ReadFile(kSlotFile), StoredBytes());
        EXPECT_TRUE(NoTemporaryLeft());
        EXPECT_NE(test::TakeConsole().find("message \"uwaga\":\n  Zapis pliku telefonów: "
                                           "LOGS\\TELEFONY\\CLIP.DAT - nie udał się, zmiany nie "
                                           "zostały zapisane"),
                  std::string::npos);
    }
    SavePhoneSlots();
    EXPECT_EQ(test::ReadFile(kSlotFile), SlotBytes(g_phoneSlots));
    EXPECT_EQ(test::TakeConsole().find("message \"uwaga\""), std::string::npos);
}

// A share's cached "not found" of a file another station has just written
// makes the first open fail and the existence test say no: the create that
// follows finds the file, and the update goes into it instead of emptying it.
TEST_F(StoredSlots, StaleNotFoundNeverEmptiesTheFile) {
    refhost::FailNextStreamCalls(StreamService::Open, 1);
    FailNextFileCalls(FileCall::Exists, 1);
    CallRecord call = Record("333", "203");
    UpdatePhoneSlots(call);
    stored[2] = call;
    EXPECT_EQ(test::ReadFile(kSlotFile), StoredBytes());
}

// F4's clearing is all or nothing. A slot file that cannot be written
// (the zeros written but the close failing: they are put back), and a day
// log that another program holds open (Windows then refuses its rename),
// leave both as they were and say why; with neither, both are cleared.
TEST_F(StoredSlots, ClearingClearsTheDayLogAndTheSlotsOrNeither) {
    const std::string dayLog = "earlier line\n";
    auto failWrite = [] { FailNextFileCalls(FileCall::Write, 1); };
    auto failClose = [] { FailNextFileCalls(FileCall::Close, 1); };
    auto holdDayLog = [] { FailNextFileCalls(FileCall::Rename, 1); };
    const char* reasons[] = {"nie można zapisać pliku telefonów LOGS\\TELEFONY\\CLIP.DAT",
                             "nie można zapisać pliku telefonów LOGS\\TELEFONY\\CLIP.DAT",
                             "plik LOG LOGS\\TELEFONY\\08-12-2026.LOG jest otwarty w innym programie"};
    int step = 0;
    for (auto fail : {+failWrite, +failClose, +holdDayLog}) {
        SCOPED_TRACE(reasons[step]);
        test::WriteFile(kDayLog, dayLog);
        fail();
        char why[kMessageCapacity];
        EXPECT_FALSE(ClearDayLogAndSlots(why, sizeof why));
        EXPECT_EQ(refhost::MazoviaToUtf8(why),
                  std::string("LOG i lista nie zostały wyczyszczone - ") + reasons[step++]);
        EXPECT_EQ(test::ReadFile(kSlotFile), StoredBytes());
        EXPECT_EQ(test::ReadFile(kDayLog), dayLog);
    }
    char why[kMessageCapacity];
    EXPECT_TRUE(ClearDayLogAndSlots(why, sizeof why)) << why;
    EXPECT_EQ(test::ReadFile(kSlotFile), std::string(5620, '\0'));
    EXPECT_FALSE(test::FileExists(kDayLog));
    EXPECT_FALSE(test::FileExists(std::string(kDayLog) + ".del"));
    EXPECT_EQ(SlotBytes(g_phoneSlots), std::string(5620, '\0'));
}
