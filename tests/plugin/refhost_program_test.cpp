// The refhost program as a person or a service manager runs it.
#include <signal.h>

#include <filesystem>

#include "plugin_fixture.h"
#include "support/child_process.h"

using RefhostProgram = PluginTest;

TEST_F(RefhostProgram, HeadlessRunStopsCleanlyOnSigterm) {
    test::ChildProcess refhost({CALLERID_REFHOST_PATH, "--headless", "--dir", scratch.path()});
    ASSERT_TRUE(refhost.WaitForLine("refhost: started")) << refhost.output();
    refhost.Signal(SIGTERM);
    EXPECT_EQ(refhost.Wait(), 0) << refhost.output();
    EXPECT_NE(refhost.output().find("Wyłączanie obsługi UDP dla Clip Varnobox"), std::string::npos);
    EXPECT_NE(refhost.output().find("refhost: stopped"), std::string::npos);
}

TEST_F(RefhostProgram, CtrlCStopsItToo) {
    test::ChildProcess refhost({CALLERID_REFHOST_PATH, "--headless"});
    ASSERT_TRUE(refhost.WaitForLine("refhost: started")) << refhost.output();
    refhost.Signal(SIGINT);
    EXPECT_EQ(refhost.Wait(), 0) << refhost.output();
    EXPECT_NE(refhost.output().find("refhost: stopped"), std::string::npos);
}

TEST_F(RefhostProgram, FaultSwitchShowsTheStopMessageInReadablePolish) {
    test::ChildProcess refhost({CALLERID_REFHOST_PATH, "--headless", "--lack-ordinal", "52130"});
    EXPECT_EQ(refhost.Wait(), 4);
    EXPECT_NE(refhost.output().find("message box \"STOP!!!\":\n"
                                    "  Wtyczka \"Caller ID Tabele/Kontrahenci/Ctrl-F/Ctrl-G(szukanie w "
                                    "rubryce NIP)\" potrzebuje zaimportować\n"
                                    "  funkcję o numerze 52130 z modułu głównego,"),
              std::string::npos)
        << refhost.output();
    EXPECT_NE(refhost.output().find("refhost: the plug-in refused to start"), std::string::npos);
}

TEST_F(RefhostProgram, BadCommandLineIsExplained) {
    test::ChildProcess unknown({CALLERID_REFHOST_PATH, "--bogus"});
    EXPECT_EQ(unknown.Wait(), 2);
    EXPECT_NE(unknown.output().find("refhost: unknown option --bogus"), std::string::npos);
    test::ChildProcess noNumber({CALLERID_REFHOST_PATH, "--table-size", "big"});
    EXPECT_EQ(noNumber.Wait(), 2);
    EXPECT_NE(noNumber.output().find("--table-size needs a number"), std::string::npos);
    test::ChildProcess noPlugin({CALLERID_REFHOST_PATH, "--headless", "--plugin", "/nonexistent.so"});
    EXPECT_EQ(noPlugin.Wait(), 3);
    EXPECT_NE(noPlugin.output().find("cannot load the plug-in /nonexistent.so"), std::string::npos);
}

TEST_F(RefhostProgram, RelativePathsMeanWhatTheyMeantWhereItWasStarted) {
    std::filesystem::create_directories(scratch.path() + "/office");
    std::filesystem::create_directories(scratch.path() + "/scripts");
    test::WriteFile(scratch.path() + "/scripts/hello.script", "print \"hello from the script\"\n");
    std::string plugin = std::filesystem::relative(CALLERID_PLUGIN_PATH, scratch.path()).string();
    ASSERT_EQ(plugin.rfind("..", 0), 0u) << plugin;  // a path that climbs out of the start directory
    test::ProgramResult result = test::RunProgram("env -C '" + scratch.path() + "' " + CALLERID_REFHOST_PATH +
                                                  " --headless --dir office --plugin '" + plugin +
                                                  "' --script scripts/hello.script");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("hello from the script"), std::string::npos) << result.output;
}
