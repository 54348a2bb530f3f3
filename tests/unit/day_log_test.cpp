// The day log through the reference host's date, station, user and append
// services: its name, the layout of an event line, the log option, and
// lines that stay whole.
#include <filesystem>
#include <thread>

#include "storage/day_log.h"
#include "storage_fixture.h"

using DayLogTest = StorageTest;

static std::string ComputerName() {
    char name[15];
    GetComputerNameText(name, sizeof name);
    return name;
}

TEST_F(DayLogTest, PathHasDashesAtPositionsTwoAndFiveAndTheDirectoryIsMade) {
    char path[260];
    DayLogPath(path, sizeof path);
    EXPECT_STREQ(path, "LOGS\\TELEFONY\\08-12-2026.LOG");
    EXPECT_TRUE(std::filesystem::is_directory("LOGS/TELEFONY"));

    refhost::FixClock({2027, 1, 31, 23, 59, 59});
    DayLogPath(path, sizeof path);
    EXPECT_STREQ(path, "LOGS\\TELEFONY\\31-01-2027.LOG");
}

TEST_F(DayLogTest, EventLineHasDateTimeComputerStationUserAndMessage) {
    refhost::HostOptions().station = 7;
    refhost::HostOptions().user = "Łucja";
    WriteEventLog("UDPOn() - OK");
    EXPECT_EQ(test::ReadFile(kDayLog),
              "08.12.2026 10:00:00 " + ComputerName() + ":s=7:u=\x9C" "ucja UDPOn() - OK\n");
}

TEST_F(DayLogTest, LogOptionOffWritesNothingAndMakesNoDirectory) {
    g_settings.options = kOptionSuggestNip | kOptionClipboard;
    WriteEventLog("UDPOn() - OK");
    EXPECT_FALSE(test::FileExists("LOGS"));
}

TEST_F(DayLogTest, LinesGoToTheFileOfTheirDay) {
    refhost::FixClock({2026, 12, 8, 23, 59, 59});
    WriteEventLog("first");
    refhost::AdvanceClock(1);
    WriteEventLog("second");
    EXPECT_EQ(EventMessages(), std::vector<std::string>{"first"});
    EXPECT_NE(test::ReadFile("LOGS/TELEFONY/09-12-2026.LOG").find("09.12.2026 00:00:00 "), std::string::npos);
}

// A message longer than the line's buffer is cut, and the line stays one line.
TEST_F(DayLogTest, OverlongMessageIsCutAndLineBreaksBecomeBlanks) {
    std::string message = "a\r\nb" + std::string(3000, 'm');
    WriteEventLog(message.c_str());
    std::string log = test::ReadFile(kDayLog);
    EXPECT_EQ(log.size(), 1023u + 1u);  // the line's buffer less its NUL, then the line end
    EXPECT_EQ(log.find('\n'), log.size() - 1);
    EXPECT_NE(log.find(" a  b"), std::string::npos);
}

TEST_F(DayLogTest, ComputerNameIsAlwaysTerminatedAndCut) {
    char full[256];
    GetComputerNameText(full, sizeof full);
    char name[4];
    std::memset(name, 'x', sizeof name);
    GetComputerNameText(name, 3);
    EXPECT_EQ(std::strlen(name), std::min<std::size_t>(2, std::strlen(full)));
    EXPECT_EQ(std::string(full).substr(0, std::strlen(name)), name);
    EXPECT_EQ(name[3], 'x');
}

TEST_F(DayLogTest, TwoThreadsAppendingKeepEveryLineWhole) {
    auto append = [](char tag) {
        std::string line = std::string(200, tag);
        for (int i = 0; i < 200; ++i) WriteEventLog(line.c_str());
    };
    std::thread first(append, 'A'), second(append, 'B');
    first.join();
    second.join();
    std::vector<std::string> messages = EventMessages();
    ASSERT_EQ(messages.size(), 400u);
    for (const std::string& message : messages)
        EXPECT_TRUE(message == std::string(200, 'A') || message == std::string(200, 'B')) << message;
}
