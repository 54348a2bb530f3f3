// The caller-ID window and the listener at the same time: the window's
// timer refreshes take the user's options, slot and port into the settings
// while calls arrive and the listener reads those settings for every line
// it logs, and the user pings while restarts make the listener re-read
// them. Every call must land and the window must go on showing the slots;
// under ThreadSanitizer the two threads must never meet unguarded.
#include "window_fixture.h"

#include <atomic>
#include <thread>

#include "support/udp_helpers.h"

namespace {

using WindowAgainstListener = PluginWindowTest;

}  // namespace

TEST_F(WindowAgainstListener, RefreshesAndPingsWhileCallsAndRestartsArrive) {
    Start(kLogOption, 0);
    ASSERT_TRUE(test::WaitUntil([] {
        return test::ReadFile(kDayLog).find("rozpoczeto nasluch na UDP UDP 1338") != std::string::npos;
    }));
    std::atomic<bool> calling{true};
    std::atomic<int> sent{0};
    std::thread box([&] {
        while (calling.load()) {
            int number = sent.fetch_add(1);
            std::string datagram = number % 25 == 24 ? "restart\trestart\trestart\r"
                                                     : "6001" + std::to_string(number) + "\t20" +
                                                           std::to_string(number % 5) + "\t\t\tNIP:1234567890";
            test::SendUdp(1338, datagram);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    std::string script = "action\n";
    for (int tick = 0; tick < 200; ++tick) script += "window tick\n";
    script += "answer yes\nwindow key Ctrl-P\nwindow tick\nwindow key F12\n";
    refhost::ScriptResult result = Script(script);
    calling.store(false);
    box.join();
    ASSERT_TRUE(result.ok) << result.error;

    // The listener still answers after all that.
    ASSERT_TRUE(test::WaitUntil([] {
        return test::ReadFile(kDayLog).find("rozpoczeto nasluch") != std::string::npos;
    }));
    std::string last = "700100200\t209\t\t\tostatni";
    ASSERT_TRUE(test::WaitUntil([&] {
        test::SendUdp(1338, last);
        return test::ReadFile(kDayLog).find("\t700100200\t209\tostatni\t") != std::string::npos;
    }));
    EXPECT_GT(sent.load(), 0);
}
