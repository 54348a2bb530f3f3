// The caller-ID window and the listener at the same time: the window's
// timer refreshes take the user's options, slot and port into the settings
// while calls arrive and the listener reads those settings for every line
// it logs, and the user pings while restarts make the listener re-read
// them. Every call must land in the day log and the slots, and the
// listener must listen again after each restart;
// under ThreadSanitizer the two threads must never meet unguarded.
#include "window_fixture.h"

#include "support/udp_helpers.h"

namespace {

using WindowAgainstListener = PluginWindowTest;

}  // namespace

TEST_F(WindowAgainstListener, RefreshesAndPingsWhileCallsAndRestartsArrive) {
    Start(kLogOption, 0);
    // A burst of distinct calls, queued before the window opens: the
    // listener files them while the window's timer refreshes run; the
    // user's ping and the restart of leaving the window queue behind them.
    constexpr int kCalls = 50;
    for (int number = 0; number < kCalls; ++number)
        ASSERT_TRUE(test::SendUdp(1338, "6001" + std::to_string(number) + "\t20" + std::to_string(number % 5) +
                                            "\t\t\tNIP:1234567890"));
    std::string script = "action\n";
    for (int tick = 0; tick < 2000; ++tick) script += "window tick\n";
    script += "answer yes\nwindow key Ctrl-P\nwindow tick\nwindow key F12\n";
    refhost::ScriptResult result = Script(script);
    ASSERT_TRUE(result.ok) << result.error;

    // The ping comes back to this station, the listener listens again after
    // it, and a last call lands (sent again while a restart still pauses it).
    ASSERT_TRUE(test::WaitUntil([] {
        std::string log = test::ReadFile(kDayLog);
        return test::CountOf(log, "]:ping\tping\tping") == 1 &&
               test::CountOf(log, "rozpoczeto nasluch na UDP UDP 1338") >= 2;
    })) << test::ReadFile(kDayLog);
    ASSERT_TRUE(test::WaitUntil([] {
        test::SendUdp(1338, "700100200\t209\t\t\tostatni");
        return test::ReadFile(kDayLog).find("\t700100200\t209\tostatni\t") != std::string::npos;
    }));

    // Every call landed in the day log, and each target's slot holds its
    // last call.
    std::string log = test::ReadFile(kDayLog);
    for (int number = 0; number < kCalls; ++number) {
        std::string line = "\t6001" + std::to_string(number) + "\t20" + std::to_string(number % 5) + "\tNIP:1234567890\t";
        EXPECT_EQ(test::CountOf(log, line), 1) << number;
    }
    Slots slots = ReadSlots();
    for (int target = 0; target < 5; ++target) {
        std::string phone = "6001" + std::to_string(kCalls - 5 + target);
        EXPECT_STREQ(slots[target].phone, phone.c_str()) << target;
    }
}
