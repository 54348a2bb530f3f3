// The first start's notice while the listener restarts: another station's
// restart makes the listener re-read the settings on its thread just as the
// user-interface thread shows the notice and saves the flag the host set.
// The flag must reach the settings and the file, and (under ThreadSanitizer)
// the two threads must never touch the settings unguarded.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "host/imports.h"
#include "plugin/frame.h"
#include "plumbing/host.h"
#include "storage/settings.h"
#include "support/test_support.h"
#include "support/udp_helpers.h"
#include "udp/listener.h"

namespace {

class NoticeAgainstRestarts : public ::testing::Test {
protected:
    void SetUp() override {
        refhost::FixClock({2024, 3, 1, 10, 0, 0});
        refhost::HostOptions().pauseDivisor = 1000;
        port = test::FreeUdpPort();
        test::WriteFile("MERLOX.INI", "[Ornitel]\nPytaj=0,4,0," + std::to_string(port) + "\n");
        LoadSettings();
    }

    test::ScratchDirectory scratch;
    int port = 0;
};

}  // namespace

TEST_F(NoticeAgainstRestarts, FlagTheHostSetReachesTheSettingsWhileTheListenerReReadsThem) {
    ASSERT_EQ(UDPOn(), 0);
    UDPMarkRunning(g_frame.threadBlock);
    CallHost<Host::StartThread>("UDPPoling", &UDPoling, 0, &g_frame.threadBlock);
    std::atomic<bool> sending{true};
    std::thread station([&] {
        while (sending.load()) test::SendUdp(port, "restart\trestart\trestart\r");
    });
    // Let restarts be under way before the notice comes.
    test::WaitUntil([] { return test::CountOf(test::ReadFile("LOGS/TELEFONY/01-03-2024.LOG"), "UDPOn() - OK") >= 3; });

    ShowNotice();

    sending.store(false);
    station.join();
    CallHost<Host::StopThread>(&g_frame.threadBlock, -1);
    UDPReleaseSockets();
    EXPECT_EQ(g_settings.noticeFlag, 1);
    EXPECT_EQ(test::ReadFile("MERLOX.INI").rfind("[Ornitel]\nPytaj=1,", 0), 0u) << test::ReadFile("MERLOX.INI");
}
