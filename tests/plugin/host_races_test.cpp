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

    // Opens the window, types row 2's phone, lets `between` happen and
    // presses F5. Leaving the window restarts this station's listener,
    // which files the restart word in a free slot: the slots are read once
    // it listens again.
    void F5After(const std::string& between) {
        refhost::ScriptResult result =
            Script("action\nwindow type 0x4115 \"48999\"\n" + between + "window key F5\nwindow key F12\n");
        ASSERT_TRUE(result.ok) << result.error;
        ASSERT_TRUE(test::WaitUntil([] { return test::CountOf(DayLog(), "rozpoczeto nasluch") >= 2; })) << DayLog();
    }

    static void ExpectSlot(int index, const char* phone, const char* target, const char* text, const char* time) {
        CallRecord slot = ReadSlots()[index];
        SCOPED_TRACE("slot " + std::to_string(index));
        EXPECT_STREQ(slot.phone, phone);
        EXPECT_STREQ(slot.target, target);
        EXPECT_STREQ(slot.text, text);
        EXPECT_STREQ(slot.date, "01.03.2024");
        EXPECT_STREQ(slot.time, time);
    }
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
    // The save's open fails; the user leaves the box open for 10 s while
    // 300 calls arrive, each of which must be filed before the box closes.
    std::string script =
        "action\nwindow type 0x410B \"48123\"\nfail stream open\nwindow key F5\nexpect box \"uwaga\"\n";
    for (int second = 0; second < 10; ++second)
        script += "call \"7" + std::to_string(second) + "{n}\" \"201\" \"NIP:1234567890\" count 30\nbox wait 1000\n";
    script += "box close\nwindow key F12\n";
    refhost::ScriptResult result = RunWatched(script);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(test::CountOf(DayLog(), "\tNIP:1234567890\t"), 300);
}

// F5 right after an update that could not open the slot file, before the
// next timer refresh: the user's only edit is row 2's phone (slot 1).
TEST_F(HostRaces, F5AfterAnUpdateThatFailedWritesOnlyTheEdit) {
    StartWithCalls(kLogOption);
    ASSERT_NO_FATAL_FAILURE(F5After("fail stream open\ncall \"222\" \"201\" \"Druga NIP:2222222222\"\n"));
    ExpectSlot(0, "111", "201", "Pierwsza NIP:1111111111", "11:00:00");
    ExpectSlot(1, "48999", "202", "NIP:5555555555", "11:00:00");
}

TEST_F(HostRaces, ACallLineWithoutTheDayLogSaysItCannotWait) {
    StartWithCalls(0);
    refhost::ScriptResult result = Script("call \"222\" \"201\" \"x\"\n");
    EXPECT_NE(result.error.find("keeps no day log"), std::string::npos) << result.error;
    EXPECT_TRUE(Script("call \"222\" \"201\" \"x\" nowait\n").ok);
}
