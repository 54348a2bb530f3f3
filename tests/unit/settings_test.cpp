// The settings through the reference host's INI services: the stored
// forms in MERLOX.INI and Ornitel.ini, the corrections of a load, and what
// a damaged file does.
#include <filesystem>

#include "storage/storage_paths.h"
#include "storage_fixture.h"

using SettingsTest = StorageTest;

static void ResetSettings() { g_settings = {9, 9, 9, 9, "unchanged"}; }

TEST_F(SettingsTest, SaveStoresTheNumbersAsOneTextAndLoadGivesThemBack) {
    g_settings = {1, 4, 2, 1338, "C:\\DANE\\CLIP.DAT"};
    SaveSettings();
    EXPECT_EQ(test::ReadFile("MERLOX.INI"), "[Ornitel]\nPytaj=1,4,2,1338\n");
    EXPECT_EQ(test::ReadFile("Ornitel.ini"), "[Ornitel]\nFilename=C:\\DANE\\CLIP.DAT\n");

    ResetSettings();
    LoadSettings();
    EXPECT_EQ(g_settings.noticeFlag, 1);
    EXPECT_EQ(g_settings.options, 4);
    EXPECT_EQ(g_settings.selectedSlot, 2);
    EXPECT_EQ(g_settings.port, 1338);
    EXPECT_STREQ(g_settings.slotFileName, "C:\\DANE\\CLIP.DAT");
    EXPECT_FALSE(test::FileExists("LOGS"));  // a name of its own makes no directory here
}

TEST_F(SettingsTest, EachNumberLandsInItsFieldAtTheFieldsWidth) {
    test::WriteFile("MERLOX.INI", "[Ornitel]\nPytaj=-1,7,9,70000\n");
    ResetSettings();
    LoadSettings();
    EXPECT_EQ(g_settings.noticeFlag, -1);
    EXPECT_EQ(g_settings.options, 7);
    EXPECT_EQ(g_settings.selectedSlot, 9);
    EXPECT_EQ(g_settings.port, 70000);
}

TEST_F(SettingsTest, PortZeroIsSavedAsZeroAndLoadedAsTheDefault) {
    g_settings = {1, 0, 0, 0, "X.DAT"};
    SaveSettings();
    EXPECT_EQ(test::ReadFile("MERLOX.INI"), "[Ornitel]\nPytaj=1,0,0,0\n");
    LoadSettings();
    EXPECT_EQ(g_settings.port, 1338);
}

TEST_F(SettingsTest, EmptyFileNameBecomesTheDefaultPathWithItsDirectoryMade) {
    g_settings.slotFileName[0] = '\0';
    SaveSettings();
    EXPECT_EQ(test::ReadFile("Ornitel.ini"), "[Ornitel]\nFilename=\n");
    LoadSettings();
    EXPECT_STREQ(g_settings.slotFileName, "LOGS\\TELEFONY\\CLIP.DAT");
    EXPECT_TRUE(std::filesystem::is_directory("LOGS/TELEFONY"));
    SaveSettings();
    EXPECT_EQ(test::ReadFile("Ornitel.ini"), "[Ornitel]\nFilename=LOGS\\TELEFONY\\CLIP.DAT\n");
}

TEST_F(SettingsTest, FirstLoadWithoutFilesKeepsTheInitialNumbers) {
    g_settings = {0, 0, 0, kDefaultPort, ""};
    LoadSettings();
    EXPECT_EQ(g_settings.noticeFlag, 0);
    EXPECT_EQ(g_settings.port, 1338);
    EXPECT_STREQ(g_settings.slotFileName, "LOGS\\TELEFONY\\CLIP.DAT");
    EXPECT_EQ(test::TakeConsole().find("refhost: "), std::string::npos);
}

TEST_F(SettingsTest, OtherSectionsKeysAndCommentsSurviveASave) {
    test::WriteFile("MERLOX.INI", "; host settings\n[Druk]\nPort=LPT1\n\n[ornitel]\nInny=5\npytaj=0,0,0,1\n\n[Baza]\nSciezka=D:\\\n");
    test::WriteFile("Ornitel.ini", "[Ornitel]\nInny=1\n\n[Inna]\nX=2\n");
    g_settings = {1, 6, 3, 2000, "A.DAT"};
    SaveSettings();
    EXPECT_EQ(test::ReadFile("MERLOX.INI"),
              "; host settings\n[Druk]\nPort=LPT1\n\n[ornitel]\nInny=5\nPytaj=1,6,3,2000\n\n[Baza]\nSciezka=D:\\\n");
    EXPECT_EQ(test::ReadFile("Ornitel.ini"), "[Ornitel]\nInny=1\nFilename=A.DAT\n\n[Inna]\nX=2\n");
}

// A hand-edited or damaged value is reported and changes nothing; the
// host never stores part of it.
TEST_F(SettingsTest, DamagedValuesAreReportedAndLeaveTheFieldsAsTheyWere) {
    const char* damaged[] = {
        "Pytaj=1,x,2,1338",     // not a number
        "Pytaj=1,4,2",          // a field short
        "Pytaj=1,4,2,1338,5",   // a field too many
        "Pytaj=40000,4,2,1338", // does not fit 16 bits
        "Pytaj=1;4;2;1338",     // other separators
    };
    for (const char* line : damaged) {
        test::WriteFile("MERLOX.INI", std::string("[Ornitel]\n") + line + "\n");
        g_settings = {5, 6, 7, 8000, "KEEP.DAT"};
        LoadSettings();
        EXPECT_EQ(g_settings.noticeFlag, 5) << line;
        EXPECT_EQ(g_settings.options, 6) << line;
        EXPECT_EQ(g_settings.selectedSlot, 7) << line;
        EXPECT_EQ(g_settings.port, 8000) << line;
        std::string console = test::TakeConsole();
        EXPECT_NE(console.find("refhost: MERLOX.INI: [Ornitel] Pytaj="), std::string::npos) << line;
    }
}

TEST_F(SettingsTest, LinesThatAreNoIniAreReportedAndTheRestIsRead) {
    test::WriteFile("MERLOX.INI", "[Ornitel]\nthis is no setting\nPytaj=1,2,3,4444\n");
    LoadSettings();
    EXPECT_EQ(g_settings.port, 4444);
    EXPECT_NE(test::TakeConsole().find("line 2 is neither a [section] nor a key=value"), std::string::npos);
}

// The reader takes at most 257 characters; a longer stored name arrives cut
// (the console says so) and is then refused by the slot operations.
TEST_F(SettingsTest, OverlongStoredFileNameIsCutToTheReadersWidth) {
    std::string name(300, 'N');
    test::WriteFile("Ornitel.ini", "[Ornitel]\nFilename=" + name + "\n");
    LoadSettings();
    EXPECT_EQ(std::string(g_settings.slotFileName), name.substr(0, 257));
    EXPECT_NE(test::TakeConsole().find("it was cut"), std::string::npos);
}
