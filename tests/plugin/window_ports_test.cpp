// The caller-ID window's choices and the listener's port: a port typed in
// the window reaches this station's own listener, a port the listener
// cannot bind is shown to the user when the window opens, and what the
// user typed (a slot file name, a port saved while the listener held the
// lock) stays as typed until it is in force.
#include "window_fixture.h"

#include "support/privileged_ports.h"

namespace {

using WindowPorts = PluginWindowTest;

}  // namespace

// The window's restart broadcast goes to the new port, where this station
// does not listen yet: the window asks its own listener directly.
TEST_F(WindowPorts, PortTypedInTheWindowIsHeardByThisStationAfterThePause) {
    Slots slots{};
    Start(kLogOption, 0, &slots);
    refhost::ScriptResult result = Script("action\n"
                                          "window key P\n"
                                          "window type 0x4184 \"1339\"\n"
                                          "window key F12\n");
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_TRUE(WaitUntilListening(kLogOption, 1339)) << test::ReadFile(kDayLog);
    ASSERT_TRUE(test::SendUdp(1339, "601\t201\t\t\ton the new port"));
    ASSERT_TRUE(test::WaitUntil([] { return test::ReadFile(kDayLog).find("\t601\t201\ton the new port\t") != std::string::npos; }))
        << test::ReadFile(kDayLog);
    EXPECT_FALSE(test::UdpPortBound(1338));
}

TEST_F(WindowPorts, WindowOpensWithAWarningWhenThePortIsRefused) {
    ASSERT_TRUE(test::DropBindCapability());
    test::WriteFile("MERLOX.INI", "[Ornitel]\nPytaj=1,4,0," + std::to_string(test::kRefusedPort) + "\n");
    Load();
    ASSERT_EQ(session.Start(), 0);
    started = true;
    ASSERT_TRUE(test::WaitUntil([] { return test::ReadFile(kDayLog).find("bind() error: 10013") != std::string::npos; }));
    test::TakeConsole();
    refhost::ScriptResult result = Script("action\nwindow key F12\n");
    ASSERT_TRUE(result.ok) << result.error;
    std::string console = test::TakeConsole();
    EXPECT_NE(console.find("message \"uwaga\":\n  Stanowisko NIE odbiera połączeń: nie można otworzyć portu UDP 1000 "
                           "(bind() error: 10013) - system nie pozwala użyć tego portu (port zastrzeżony). "
                           "Ponowna próba co 10 sekund.\n"),
              std::string::npos)
        << console;
}

// The name typed into the field is not loaded or filed into while the
// window is open (a name half typed would be): the rows still come from
// the file in use, and the close saves the name typed.
TEST_F(WindowPorts, TypedSlotFileNameSurvivesTheRefreshesAndIsTheOneSaved) {
    Slots slots{};
    slots[0] = Slot("111", "201", "Pierwsza");
    test::WriteFile("Ornitel.ini", "[Ornitel]\nFilename=LOGS\\TELEFONY\\CLIP.DAT\n");
    Start(kLogOption, 0, &slots);
    refhost::ScriptResult result = Script("action\n"
                                          "window type 0x4185 \"LOGS\\\\TELEFONY\\\\B.DAT\"\n"
                                          "window tick\nwindow tick\n"
                                          "expect input 0x4185 \"LOGS\\\\TELEFONY\\\\B.DAT\"\n"
                                          "expect input 0x410B \"111\"\n"
                                          "expect file \"LOGS\\\\TELEFONY\\\\B.DAT\" missing\n"
                                          "window key F12\n");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_NE(test::ReadFile("Ornitel.ini").find("Filename=LOGS\\TELEFONY\\B.DAT"), std::string::npos)
        << test::ReadFile("Ornitel.ini");
}

// The close finds the plug-in's lock held by the listener, which is filing
// a call while the host holds a lock of its own, and saves the port typed
// without it. The window is opened again at once, before the listener's
// restart has re-read what was saved (its pause is 5 s here): it shows the
// port saved, and its own close saves that port again.
TEST_F(WindowPorts, PortSavedByABusyCloseSurvivesAnImmediateReopen) {
    host().hostLock = true;
    host().pauseDivisor = 1;
    Slots slots{};
    Start(kLogOption, 0, &slots);
    refhost::ScriptResult result = Script("action\n"
                                          "window type 0x4184 \"1339\"\n"
                                          "host trap 52534\n"
                                          "call \"222\" \"201\" \"x\" nowait\n"
                                          "host lock\n"
                                          "window key F12\n"
                                          "host unlock\n"
                                          "call wait\n"
                                          "action\n"
                                          "expect file \"LOGS\\\\TELEFONY\\\\01-03-2024.LOG\" lacks \"zakonczenie\"\n"
                                          "expect input 0x4184 \"1339\"\n"
                                          "window key F12\n");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_NE(test::ReadFile("MERLOX.INI").find("Pytaj=1,4,0,1339"), std::string::npos) << test::ReadFile("MERLOX.INI");
    ASSERT_TRUE(WaitUntilListening(kLogOption, 1339)) << test::ReadFile(kDayLog);
}
