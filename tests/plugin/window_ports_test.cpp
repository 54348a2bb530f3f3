// The caller-ID window and the listener's port: a port typed in the window
// reaches this station's own listener, and a port the listener cannot bind
// is shown to the user when the window opens.
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
                           "(bind() error: 10013). Ponowna próba co 10 sekund.\n"),
              std::string::npos)
        << console;
}

