// The notice across runs of the refhost program: the first run shows it and
// saves the settings, so a second run in the same directory does not.
#include <filesystem>

#include "plugin_fixture.h"

using NoticePersistence = PluginTest;

static test::ProgramResult RunRefhostOnce(const std::string& dir) {
    return test::RunProgram(std::string(CALLERID_REFHOST_PATH) + " --headless --run-for 0 --dir " + dir);
}

TEST_F(NoticePersistence, NoticeIsShownOnceAndTheFlagIsKeptInTheHostsSettings) {
    test::ProgramResult first = RunRefhostOnce(scratch.path());
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_NE(first.output.find("notice \"Caller ID"), std::string::npos) << first.output;
    EXPECT_EQ(test::ReadFile("MERLOX.INI"), "[Ornitel]\nPytaj=1,0,0,1338\n");
    EXPECT_EQ(test::ReadFile("Ornitel.ini"), "[Ornitel]\nFilename=LOGS\\TELEFONY\\CLIP.DAT\n");
    EXPECT_TRUE(std::filesystem::is_directory("LOGS/TELEFONY"));

    test::ProgramResult second = RunRefhostOnce(scratch.path());
    ASSERT_EQ(second.exitCode, 0) << second.output;
    EXPECT_EQ(second.output.find("notice \""), std::string::npos) << second.output;
}
