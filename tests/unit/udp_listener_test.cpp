// The listener inside this test program, started as the start sequence
// starts it, for what the plug-in in the reference host cannot show: a
// receive error made by the socket seam's switch, and the balance of the
// socket library's start-ups across restarts.
#include "unit/listener_fixture.h"

#include "support/privileged_ports.h"
#include "text/mazovia_utf8.h"
#include "udp/listener_status.h"

namespace {

class Listener : public ListenerTest {
protected:
    void Start() {
        ASSERT_TRUE(StartListener());
        ASSERT_TRUE(WaitForListening(1));
    }
};

}  // namespace

TEST_F(Listener, ReceiveErrorRestartsTheListenerInsteadOfSilencingIt) {
    Start();
    FailNextReceives(1, 10050);   // the network is down
    ASSERT_TRUE(test::SendUdp(port, "601\t201\t\t\tqueued at the error"));
    ASSERT_TRUE(WaitForListening(2)) << test::ReadFile(kDayLog);
    ASSERT_TRUE(test::SendUdp(port, "602\t201\t\t\tafter the error"));
    ASSERT_TRUE(test::WaitUntil([] { return Log().calls.size() >= 2; })) << test::ReadFile(kDayLog);

    test::DayLogLines log = Log();
    EXPECT_TRUE(test::InOrder(log.events, {"recvfrom() error: 10050", "UDPoling() - zakonczenie",
                                           "UDPOn()", "UDPOn() - OK"}));
    // The datagram that the failed receive left queued is filed before the
    // old socket goes.
    EXPECT_EQ(log.calls, (std::vector<std::string>{
                             "01.03.2024\t10:00:00\t601\t201\tqueued at the error\t",
                             "01.03.2024\t10:00:00\t602\t201\tafter the error\t"}));
}

TEST_F(Listener, SocketLibraryIsStartedOnceAndReleasedOnceAcrossRestarts) {
    ASSERT_EQ(SocketStartCount(), 0);
    Start();
    EXPECT_EQ(SocketStartCount(), 1);
    for (int restart = 2; restart <= 3; ++restart) {
        ASSERT_TRUE(test::SendUdp(port, "restart\trestart\trestart\r"));
        ASSERT_TRUE(WaitForListening(restart));
        EXPECT_EQ(SocketStartCount(), 1);
    }
    Stop();
    EXPECT_EQ(SocketStartCount(), 0);
    UDPReleaseSockets();   // a second stop releases nothing more
    EXPECT_EQ(SocketStartCount(), 0);
    EXPECT_EQ(g_frame.threadBlock.state, -1);
    EXPECT_EQ(g_frame.threadBlock.socket, kNoSocket);
}

TEST_F(Listener, StopBeforeTheThreadFirstLooksIsNotMissed) {
    ASSERT_EQ(UDPOn(), 0);
    UDPMarkRunning(g_frame.threadBlock);
    CallHost<Host::StartThread>("UDPPoling", &UDPoling, 0, &g_frame.threadBlock);
    Stop();   // returns only when the thread has ended
    EXPECT_EQ(g_frame.threadBlock.state, -1);
    EXPECT_EQ(SocketStartCount(), 0);
}

// A first port that the system refuses (not merely one in use) is tried
// again every 10 s (100 ms here) instead of ending the listener, and the
// warning that the caller-ID window shows says that no call is heard.
TEST_F(Listener, RefusedFirstPortIsTriedAgainAndTheWarningSaysNoCallIsHeard) {
    if (!test::NetworkIsolated()) GTEST_SKIP() << "no network of the test's own";
    ASSERT_TRUE(test::DropBindCapability());
    port = test::kRefusedPort;
    test::SeedHostSettings(4, port);
    LoadSettings();
    ASSERT_TRUE(StartListener());
    ASSERT_TRUE(test::WaitUntil([] { return test::CountEvent(Log(), "bind() error: 10013") == 1; }));
    char warning[256];
    ASSERT_TRUE(UDPPortWarning(warning, sizeof warning));
    EXPECT_EQ(refhost::MazoviaToUtf8(warning),
              "Stanowisko NIE odbiera połączeń: nie można otworzyć portu UDP 1000 (bind() error: 10013) - "
              "system nie pozwala użyć tego portu (port zastrzeżony). Ponowna próba co 10 sekund.");

    ASSERT_TRUE(test::AllowPrivilegedPorts());
    ASSERT_TRUE(WaitForListening(1)) << test::ReadFile(kDayLog);
    EXPECT_FALSE(UDPPortWarning(warning, sizeof warning));
    EXPECT_STREQ(warning, "");
    ASSERT_TRUE(test::SendUdp(port, "601\t201\t\t\theard at last"));
    ASSERT_TRUE(test::WaitUntil([] { return Log().calls.size() == 1; })) << test::ReadFile(kDayLog);
    EXPECT_EQ(test::CountEvent(Log(), "bind() error: 10013"), 1);
    EXPECT_EQ(test::CountEvent(Log(), "UDPoling() - zakonczenie"), 0);
}

// A restart onto a port that another program holds: the warning names the
// port waited for and the one still heard.
TEST_F(Listener, WarningNamesThePortWaitedForAndThePortStillHeard) {
    ASSERT_TRUE(StartListener());
    ASSERT_TRUE(WaitForListening(1));
    int newPort = test::FreeUdpPort();
    test::BoundPort busy(newPort);
    test::SeedHostSettings(4, newPort);
    UDPRequestRestart();
    ASSERT_TRUE(test::WaitUntil([] { return test::CountEvent(Log(), "bind() error: 10048") == 1; }));
    char warning[256];
    ASSERT_TRUE(UDPPortWarning(warning, sizeof warning));
    EXPECT_EQ(refhost::MazoviaToUtf8(warning),
              "Nie można otworzyć portu UDP " + std::to_string(newPort) +
                  " (bind() error: 10048) - port zajmuje inny program. Połączenia są nadal odbierane na porcie " +
                  std::to_string(port) + "; ponowna próba co 10 sekund.");
}

// The port bound for exclusive use: Windows answers the listener's bind
// "address in use" while any other program holds the port, and "access
// denied" for a port the system keeps. Each refusal, staged by the
// socket seam's switch, is tried again every 10 s (100 ms here) with the
// warning saying why, and the station hears calls once the port is had.
TEST_F(Listener, PortRefusedAtTheBindIsTriedAgainUntilItIsHad) {
    FailNextSocketCalls(SocketCall::Bind, 1000000, kSocketAddressInUse);   // until the test says
    ASSERT_TRUE(StartListener());
    ASSERT_TRUE(test::WaitUntil([] { return test::CountEvent(Log(), "bind() error: 10048") == 1; }));
    char warning[256];
    ASSERT_TRUE(UDPPortWarning(warning, sizeof warning));
    EXPECT_NE(refhost::MazoviaToUtf8(warning).find("(bind() error: 10048) - port zajmuje inny program. Ponowna"),
              std::string::npos) << refhost::MazoviaToUtf8(warning);
    FailNextSocketCalls(SocketCall::Bind, 2, kSocketAccessDenied);
    ASSERT_TRUE(WaitForListening(1)) << test::ReadFile(kDayLog);
    EXPECT_FALSE(UDPPortWarning(warning, sizeof warning)) << warning;
    ASSERT_TRUE(test::SendUdp(port, "601\t201\t\t\theard at last"));
    ASSERT_TRUE(test::WaitUntil([] { return Log().calls.size() == 1; })) << test::ReadFile(kDayLog);
    EXPECT_EQ(test::CountEvent(Log(), "bind() error: 10013"), 1);
    EXPECT_EQ(test::CountEvent(Log(), "UDPoling() - zakonczenie"), 0);
}

// The queue holds 64 datagrams of the longest size while the listener is
// busy elsewhere: 131072 bytes asked, which Linux reports doubled; the
// system's default (208 KiB here, a few KiB on Windows) is not enough.
TEST_F(Listener, ReceiveQueueIsEnlargedAndTheSizeGivenIsLogged) {
    Start();
    int bytes = UDPReceiveBufferBytes();   // as the system reported it for the listener's socket
    EXPECT_GE(bytes, 2 * 131072);
    EXPECT_EQ(test::CountEvent(Log(), "UDPOn() - SO_RCVBUF " + std::to_string(bytes)), 1);
}
