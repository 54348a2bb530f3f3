// The phone-slot file through the reference host's stream services: how an
// update files a call, loading and saving the image, and the path rule.
#include <filesystem>

#include "storage_fixture.h"

using PhoneSlots = StorageTest;
using Messages = std::vector<std::string>;

static const std::string kOpened = "Otwarto plik telefonow (aktualizacja - zapis)";
static const std::string kSaved = "Zapisano informacje do pliku LOGS\\TELEFONY\\CLIP.DAT";

TEST_F(PhoneSlots, FirstUpdateCreatesTheFileWithTheCallInSlotZero) {
    CallRecord call = Record("600100200", "201", "NIP:1234567890 Firma");
    UpdatePhoneSlots(call);
    std::string file = test::ReadFile(kSlotFile);
    ASSERT_EQ(file.size(), 5620u);
    EXPECT_EQ(file.substr(0, 562), SlotBytes(&call, 1));
    EXPECT_EQ(file.substr(562), std::string(9 * 562, '\0'));
    EXPECT_EQ(EventMessages(),
              (Messages{kOpened, "Slot nr 0 wpisanie NOWEGO telefonu: 600100200 - > 201", kSaved}));
}

TEST_F(PhoneSlots, LaterCallForTheSameTargetReplacesItsSlot) {
    UpdatePhoneSlots(Record("600100200", "201"));
    CallRecord later = Record("600999999", "201", "", "10:05:00");
    UpdatePhoneSlots(later);
    EXPECT_EQ(test::ReadFile(kSlotFile).substr(0, 562), SlotBytes(&later, 1));
    EXPECT_EQ(EventMessages().at(4), "Slot nr 0 wpisanie telefonu: 600999999 - > 201");
    EXPECT_EQ(EventMessages().at(5), kSaved);
}

TEST_F(PhoneSlots, IdenticalCallWritesNeitherASlotLineNorTheFile) {
    CallRecord call = Record("600100200", "201");
    UpdatePhoneSlots(call);
    // A write of the file would take this fault; an update that writes
    // nothing leaves it pending.
    FailNextFileCalls(FileCall::Write, 1);
    UpdatePhoneSlots(call);
    EXPECT_TRUE(TakeFileFault(FileCall::Write)) << "the slot file was written";
    EXPECT_EQ(EventMessages().size(), 4u);
    EXPECT_EQ(EventMessages().back(), kOpened);
}

TEST_F(PhoneSlots, LaterDuplicateOfATargetIsClearedInTheImage) {
    CallRecord slots[kSlotCount] = {};
    slots[0] = Record("1", "201");
    slots[3] = Record("2", "201");
    slots[5] = Record("3", "305");
    WriteSlotFile(slots);
    CallRecord call = Record("4", "201", "", "11:00:00");
    UpdatePhoneSlots(call);
    EXPECT_EQ(EventMessages(), (Messages{kOpened, "Slot nr 0 wpisanie telefonu: 4 - > 201",
                                         "Slot nr 3 zostal wyczyszczony", kSaved}));
    CallRecord expected[kSlotCount] = {};
    expected[0] = call;
    expected[5] = slots[5];
    EXPECT_EQ(test::ReadFile(kSlotFile), SlotBytes(expected));
}

TEST_F(PhoneSlots, ClearingADuplicateAloneDoesNotWriteTheFile) {
    CallRecord slots[kSlotCount] = {};
    slots[0] = Record("1", "201");
    slots[3] = Record("2", "201");
    WriteSlotFile(slots);
    UpdatePhoneSlots(slots[0]);
    EXPECT_EQ(EventMessages(), (Messages{kOpened, "Slot nr 3 zostal wyczyszczony"}));
    EXPECT_EQ(test::ReadFile(kSlotFile), SlotBytes(slots));
    EXPECT_EQ(SlotBytes(&g_phoneSlots[3], 1), std::string(562, '\0'));
}

TEST_F(PhoneSlots, NewTargetTakesTheFirstFreeSlotBetweenTakenOnes) {
    CallRecord slots[kSlotCount] = {};
    slots[0] = Record("1", "100");
    slots[1] = Record("2", "101");
    slots[3] = Record("3", "103");
    WriteSlotFile(slots);
    CallRecord call = Record("9", "777");
    UpdatePhoneSlots(call);
    EXPECT_EQ(EventMessages().at(1), "Slot nr 2 wpisanie NOWEGO telefonu: 9 - > 777");
    EXPECT_EQ(test::ReadFile(kSlotFile).substr(2 * 562, 562), SlotBytes(&call, 1));
}

TEST_F(PhoneSlots, WithAllTenSlotsTakenANewTargetIsOnlyLogged) {
    CallRecord slots[kSlotCount] = {};
    for (int i = 0; i < kSlotCount; ++i) slots[i] = Record("1", std::to_string(300 + i).c_str());
    WriteSlotFile(slots);
    UpdatePhoneSlots(Record("600", "999"));
    EXPECT_EQ(EventMessages(),
              (Messages{kOpened, "Brak wolnych slot\xA2w na wpisanie telefonu: 600 - > 999"}));
    EXPECT_EQ(test::ReadFile(kSlotFile), SlotBytes(slots));
}

// An empty target matches no slot: it lands in the first free slot, which
// stays free and is taken by the next new target.
TEST_F(PhoneSlots, CallWithoutTargetFillsAFreeSlotThatStaysFree) {
    UpdatePhoneSlots(Record("500", ""));
    EXPECT_STREQ(g_phoneSlots[0].phone, "500");
    UpdatePhoneSlots(Record("600", "201"));
    EXPECT_STREQ(g_phoneSlots[0].phone, "600");
    EXPECT_STREQ(g_phoneSlots[0].target, "201");
}

TEST_F(PhoneSlots, ShortFileLoadsWithFreeSlotsAndGrowsAtTheNextUpdate) {
    CallRecord slots[2] = {Record("1", "100"), Record("2", "101")};
    test::WriteFile(kSlotFile, SlotBytes(slots, 2).substr(0, 1000));
    LoadPhoneSlots(true);
    EXPECT_STREQ(g_phoneSlots[0].target, "100");
    EXPECT_EQ(std::string(g_phoneSlots[1].text, 438), std::string(slots[1].text, 438));
    EXPECT_EQ(SlotBytes(&g_phoneSlots[1], 9).substr(438), std::string(9 * 562 - 438, '\0'));

    UpdatePhoneSlots(Record("3", "102"));
    EXPECT_EQ(std::filesystem::file_size(kSlotFile), 5620u);
    EXPECT_EQ(EventMessages().at(1), "Slot nr 1 wpisanie NOWEGO telefonu: 3 - > 102");
}

TEST_F(PhoneSlots, LoadOfAMissingFileLogsAndAsksOnlyWhenMessagesAreWanted) {
    g_phoneSlots[4] = Record("1", "100");
    LoadPhoneSlots(false);
    EXPECT_EQ(SlotBytes(g_phoneSlots), std::string(5620, '\0'));
    EXPECT_EQ(test::TakeConsole().find("message \"uwaga\""), std::string::npos);
    LoadPhoneSlots(true);
    EXPECT_NE(test::TakeConsole().find("LOGS\\TELEFONY\\CLIP.DAT - brak pliku"), std::string::npos);
    EXPECT_EQ(EventMessages(), (Messages{"Otwarcie pliku do odczytu: LOGS\\TELEFONY\\CLIP.DAT - brak pliku",
                                         "Otwarcie pliku do odczytu: LOGS\\TELEFONY\\CLIP.DAT - brak pliku"}));
}

TEST_F(PhoneSlots, SaveWritesTheImageAndLoadReadsItBack) {
    g_phoneSlots[7] = Record("48600", "210", "NIP:5250001009");
    SavePhoneSlots();
    EXPECT_EQ(test::ReadFile(kSlotFile), SlotBytes(g_phoneSlots));
    EXPECT_FALSE(test::FileExists(std::string(kSlotFile) + ".tmp"));
    CallRecord saved = g_phoneSlots[7];
    std::memset(g_phoneSlots, 0, sizeof g_phoneSlots);
    LoadPhoneSlots(true);
    EXPECT_EQ(SlotBytes(&g_phoneSlots[7], 1), SlotBytes(&saved, 1));
    EXPECT_FALSE(test::FileExists(kDayLog));  // nothing to report
}

TEST_F(PhoneSlots, OwnSlotFileNameIsUsedAndItsDirectoriesAreMade) {
    SetSlotFileName("DANE\\ROK 2026\\SLOTY.DAT");
    char path[260];
    EXPECT_EQ(PhoneSlotPath(path, sizeof path), 0);
    EXPECT_STREQ(path, "DANE\\ROK 2026\\SLOTY.DAT");
    EXPECT_TRUE(std::filesystem::is_directory("DANE/ROK 2026"));
    UpdatePhoneSlots(Record("1", "201"));
    EXPECT_EQ(std::filesystem::file_size("DANE/ROK 2026/SLOTY.DAT"), 5620u);
}

// 255 characters work; a longer name is refused rather than cut, so the
// slots never land in a file of a shorter name.
TEST_F(PhoneSlots, FileNameOf255CharactersWorksAndLongerOnesAreRefused) {
    std::string name = "D\\" + std::string(253, 'n');
    SetSlotFileName(name.c_str());
    UpdatePhoneSlots(Record("1", "201"));
    EXPECT_EQ(std::filesystem::file_size("D/" + std::string(253, 'n')), 5620u);

    std::string longer = "E\\" + std::string(254, 'n');
    SetSlotFileName(longer.c_str());
    char path[260] = "old";
    EXPECT_NE(PhoneSlotPath(path, sizeof path), 0);
    EXPECT_STREQ(path, "");
    UpdatePhoneSlots(Record("1", "202"));
    SavePhoneSlots();
    LoadPhoneSlots(false);
    EXPECT_FALSE(test::FileExists("E"));
    std::vector<std::string> messages = EventMessages();
    ASSERT_GE(messages.size(), 4u);
    EXPECT_EQ(messages.back(), "Nazwa pliku telefonow za dluga: 256 znakow (najwyzej 255)");
}

TEST_F(PhoneSlots, PathIsRefusedWhenTheCallersBufferIsTooSmall) {
    char path[10];
    EXPECT_NE(PhoneSlotPath(path, sizeof path), 0);
    SetSlotFileName("A.DAT");
    EXPECT_EQ(PhoneSlotPath(path, sizeof path), 0);
    EXPECT_STREQ(path, "A.DAT");
}
