// The fault matrix of the socket side, made by the platform seam's socket
// switch: the socket library that cannot be started and the socket that
// cannot be made, at the start and at a listener restart. The start says
// so, starts no listener and leaves a warning for the window, and the next start listens; a restart that
// cannot get a socket tries again until it can, and the station hears
// calls again. (A port taken by another program is in the plug-in's
// listener tests, a receive error in udp_listener_test.cpp.)
#include "unit/listener_fixture.h"
#include "udp/listener_status.h"

namespace {

constexpr int kSystemNotReady = 10091;   // WSASYSNOTREADY
constexpr int kNoMoreSockets = 10024;    // WSAEMFILE

class SocketFaults : public ListenerTest {
protected:
    // A call sent now reaches the day log.
    bool CallLands(const std::string& phone) {
        if (!test::SendUdp(port, phone + "\t201\t\t\t")) return false;
        return test::WaitUntil([&] {
            for (const std::string& call : Log().calls)
                if (call.find("\t" + phone + "\t") != std::string::npos) return true;
            return false;
        });
    }
};

}  // namespace

TEST_F(SocketFaults, SocketLibraryThatCannotStartStopsTheStartAndTheNextStartListens) {
    FailNextSocketCalls(SocketCall::Start, 1, kSystemNotReady);
    EXPECT_FALSE(StartListener());
    EXPECT_EQ(Log().events, (std::vector<std::string>{"UDPOn()", "UDPOn() - Error"}));
    EXPECT_EQ(g_frame.threadBlock.socket, kNoSocket);
    EXPECT_EQ(SocketStartCount(), 0);

    ASSERT_TRUE(StartListener());
    ASSERT_TRUE(WaitForListening(1));
    EXPECT_TRUE(CallLands("600100200"));
}

TEST_F(SocketFaults, SocketThatCannotBeMadeStopsTheStartAndTheNextStartListens) {
    FailNextSocketCalls(SocketCall::Open, 1, kNoMoreSockets);
    EXPECT_FALSE(StartListener());
    EXPECT_EQ(Log().events,
              (std::vector<std::string>{"UDPOn()", "socket() error: 10024", "UDPOn() - Error"}));
    EXPECT_EQ(g_frame.threadBlock.socket, kNoSocket);
    char warning[256];   // what the window shows: no listener runs
    ASSERT_TRUE(UDPPortWarning(warning, sizeof warning));
    EXPECT_NE(std::string(warning).find("gniazda UDP (b\x92\x86" "d 10024)"), std::string::npos) << warning;

    ASSERT_TRUE(StartListener());
    ASSERT_TRUE(WaitForListening(1));
    EXPECT_FALSE(UDPPortWarning(warning, sizeof warning)) << warning;
    EXPECT_TRUE(CallLands("600100200"));
}

// Were the failed socket taken to the next bind, the cycle would end there
// and the station would stay deaf until the host restarted the plug-in.
TEST_F(SocketFaults, RestartThatCannotGetASocketTriesAgainAndListens) {
    ASSERT_TRUE(StartListener());
    ASSERT_TRUE(WaitForListening(1));
    FailNextSocketCalls(SocketCall::Open, 2, kNoMoreSockets);
    ASSERT_TRUE(test::SendUdp(port, "restart\trestart\trestart\r"));
    ASSERT_TRUE(WaitForListening(2)) << test::ReadFile(kDayLog);
    EXPECT_EQ(test::CountEvent(Log(), "socket() error: 10024"), 2);
    EXPECT_TRUE(CallLands("600100201"));
    EXPECT_EQ(SocketStartCount(), 1);
}

TEST_F(SocketFaults, StopWhileARestartWaitsForASocketEndsTheListener) {
    ASSERT_TRUE(StartListener());
    ASSERT_TRUE(WaitForListening(1));
    FailNextSocketCalls(SocketCall::Open, 1000000, kNoMoreSockets);
    ASSERT_TRUE(test::SendUdp(port, "restart\trestart\trestart\r"));
    ASSERT_TRUE(test::WaitUntil([] { return test::CountEvent(Log(), "socket() error: 10024") >= 2; }));
    CallHost<Host::StopThread>(&g_frame.threadBlock, -1);   // returns once the thread has ended
    running = false;
    FailNextSocketCalls(SocketCall::Open, 0, 0);
    EXPECT_EQ(g_frame.threadBlock.state, -1);
}
