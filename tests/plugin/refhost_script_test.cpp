// The refhost program running a script file: it runs once the plug-in has
// started, its result is the program's exit code, and a bad script is
// refused before the plug-in loads.
#include "plugin_fixture.h"
#include "support/network_isolation.h"

namespace {

class RefhostScript : public PluginTest {
protected:
    void SetUp() override {
        std::string why;
        if (!test::IsolateNetwork(why)) GTEST_SKIP() << why;
    }

    test::ProgramResult RunWith(const std::string& script) {
        test::WriteFile(scratch.path() + "/demo.script", script);
        return test::RunProgram(std::string(CALLERID_REFHOST_PATH) + " --headless --pause-divisor 100 --clock \"2024-03-01 12:00:00\" --dir " +
                                scratch.path() + " --script " + scratch.path() + "/demo.script");
    }

    std::string ScriptName() const { return scratch.path() + "/demo.script"; }
};

}  // namespace

TEST_F(RefhostScript, ScriptRunsOnceThePluginHasStartedAndThenStopsIt) {
    test::ProgramResult result = RunWith("action\n"
                                         "expect window 1001\n"
                                         "window wait 4000\n"
                                         "window key F12\n"
                                         "expect closed 0x5001\n");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    std::size_t started = result.output.find("refhost: started");
    std::size_t opened = result.output.find("[Wybierz] window 1001 (0x03E9) opened");
    std::size_t passed = result.output.find("refhost: script " + ScriptName() + " passed");
    std::size_t stopped = result.output.find("refhost: stopped");
    ASSERT_NE(opened, std::string::npos) << result.output;
    EXPECT_LT(started, opened);
    EXPECT_LT(opened, passed);
    EXPECT_LT(passed, stopped);
    EXPECT_NE(stopped, std::string::npos);
}

TEST_F(RefhostScript, FailingScriptIsNamedByLineAndEndsWithExitCode5) {
    test::ProgramResult result = RunWith("search open\nexpect window 1001\n");
    EXPECT_EQ(result.exitCode, 5) << result.output;
    EXPECT_NE(result.output.find(ScriptName() + ":2: expected window 1001 (0x03E9); window 115 (0x0073) is on top"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("refhost: stopped"), std::string::npos);
}

TEST_F(RefhostScript, BadScriptIsRefusedBeforeThePluginLoads) {
    test::ProgramResult result = RunWith("answer maybe\n");
    EXPECT_EQ(result.exitCode, 2) << result.output;
    EXPECT_NE(result.output.find("refhost: " + ScriptName() + ":1: answer takes yes or no"), std::string::npos)
        << result.output;
    EXPECT_EQ(result.output.find("refhost: started"), std::string::npos);
}
