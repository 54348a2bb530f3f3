// Races at the seams between the host's thread and the listener, staged by
// the script: a call arrives at a known moment ("call" waits until the
// listener has filed it), a message box stays open while calls arrive, and
// a host that holds a lock of its own while it calls the plug-in (the
// --host-lock switch) presses keys exactly while the listener waits for it.
#include "window_fixture.h"

#include <cstdlib>
#include <future>
#include <iostream>
#include <thread>

#include "plumbing/host_lock.h"
#include "support/udp_helpers.h"

namespace {

class HostRaces : public PluginWindowTest {
protected:
    static constexpr int kBothOptions = kLogOption | kSuggestOption | kClipboardOption;

    void StartWithCalls(int options) {
        Slots slots{};
        slots[0] = Slot("111", "201", "Pierwsza NIP:1111111111");
        slots[1] = Slot("600100201", "202", "NIP:5555555555");
        Start(options, 0, &slots);
    }

    // Runs the script on a thread of its own. A script that has not ended
    // in time froze the host: the step it hung at is reported and the
    // process ends, since its threads can no longer be joined.
    refhost::ScriptResult RunWatched(const std::string& text) {
        std::promise<refhost::ScriptResult> done;
        std::future<refhost::ScriptResult> result = done.get_future();
        std::thread runner([&] { done.set_value(Script(text)); });
        if (result.wait_for(std::chrono::seconds(40)) != std::future_status::ready) {
            std::string step = "(no step began)";
            for (const std::string& line : refhost::TakeConsoleLines())
                if (line.rfind("test:", 0) == 0 && line.find("> ") != std::string::npos) step = line;
            std::cerr << "the host froze at " << step << " (" << refhost::HostLockWaiters()
                      << " thread(s) waiting for the host's lock)" << std::endl;
            std::_Exit(1);
        }
        runner.join();
        return result.get();
    }

    static std::string DayLog() { return test::ReadFile(kDayLog); }
};

// A call is sent, and the host takes its lock just as the listener, filing
// it, opens the slot file (52534) under the plug-in's lock; the listener
// then waits for the host inside that service, and the next step calls
// into the plug-in with the host's lock held.
std::string StagedCall(const std::string& phone) {
    return "host trap 52534\ncall \"" + phone + "\" \"201\" \"NIP:2222222222\" nowait\nhost lock\n";
}
const std::string kRelease = "host unlock\ncall wait\n";

}  // namespace

TEST_F(HostRaces, WindowUnderTheHostsLockWhileCallsArriveFreezesNothing) {
    host().hostLock = true;
    StartWithCalls(kLogOption);
    refhost::ScriptResult result = RunWatched(std::string("action\n") +
                                              "call \"301\" \"203\" \"NIP:3333333333\"\n"   // filed while the window waits
                                              + StagedCall("991") + "window tick\n" + kRelease   // a timer refresh
                                              + StagedCall("992") + "window type 0x4115 \"48999\"\nwindow key F5\n" + kRelease +
                                              "window key F12\n");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(test::CountOf(DayLog(), "\t201\tNIP:2222222222\t"), 2) << DayLog();
}

TEST_F(HostRaces, HooksUnderTheHostsLockWhileCallsArriveFreezeNothing) {
    host().hostLock = true;
    StartWithCalls(kBothOptions);
    refhost::ScriptResult result = RunWatched(StagedCall("991") + "table key Ctrl-F column 7\n" + kRelease +
                                              StagedCall("992") + "search open\n" + kRelease + "search key F1\n" +
                                              StagedCall("993") + "search key ESC\n" + kRelease);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(test::CountOf(DayLog(), "\t201\tNIP:2222222222\t"), 3) << DayLog();
}

TEST_F(HostRaces, CallsAreFiledWhileTheSaveFailureBoxIsOpen) {
    StartWithCalls(kLogOption);
    // The save's write fails; the user leaves the box open for 10 s while
    // 300 calls arrive, each of which must be filed before the box closes.
    refhost::FailNextStreamCalls(refhost::StreamService::Write, 1);
    std::string script = "action\nwindow type 0x410B \"48123\"\nwindow key F5\nexpect box \"uwaga\"\n";
    for (int second = 0; second < 10; ++second)
        script += "call \"7" + std::to_string(second) + "{n}\" \"201\" \"NIP:1234567890\" count 30\nbox wait 1000\n";
    script += "box close\nwindow key F12\n";
    refhost::ScriptResult result = RunWatched(script);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(test::CountOf(DayLog(), "\tNIP:1234567890\t"), 300);
}

TEST_F(HostRaces, F5AfterACallForAShownSlotKeepsTheCallWhole) {
    StartWithCalls(kLogOption);
    // Row 1 shows 111's call for 201; 222's call for 201 is filed before F5,
    // which saves the user's only edit, row 2's phone.
    refhost::ScriptResult result = Script("action\nwindow type 0x4115 \"48999\"\n"
                                          "call \"222\" \"201\" \"Druga NIP:2222222222\"\n"
                                          "window key F5\nwindow key F12\n");
    ASSERT_TRUE(result.ok) << result.error;
    Slots slots = ReadSlots();
    EXPECT_STREQ(slots[0].phone, "222");
    EXPECT_STREQ(slots[0].target, "201");
    EXPECT_STREQ(slots[0].text, "Druga NIP:2222222222");
    EXPECT_STREQ(slots[1].phone, "48999");
    EXPECT_STREQ(slots[1].text, "NIP:5555555555");
}

TEST_F(HostRaces, ACallLineWithoutTheDayLogSaysItCannotWait) {
    StartWithCalls(0);
    refhost::ScriptResult result = Script("call \"222\" \"201\" \"x\"\n");
    EXPECT_NE(result.error.find("keeps no day log"), std::string::npos) << result.error;
    EXPECT_TRUE(Script("call \"222\" \"201\" \"x\" nowait\n").ok);
}
