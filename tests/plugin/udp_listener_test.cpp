// The plug-in's UDP listener in the reference host, fed real datagrams over
// loopback on a free port. The host's clock stands still unless a test
// moves it, and the listener's pauses are 100 times shorter.
#include <chrono>
#include <functional>

#include "plugin_fixture.h"
#include "storage/call_record.h"
#include "support/privileged_ports.h"
#include "support/udp_helpers.h"

namespace {

constexpr char kDayLog[] = "LOGS/TELEFONY/01-03-2024.LOG";
constexpr char kSlotFile[] = "LOGS/TELEFONY/CLIP.DAT";
constexpr int kLogOption = 4;

class UdpListener : public PluginTest {
protected:
    void SetUp() override {
        refhost::FixClock({2024, 3, 1, 10, 0, 0});
        host().pauseDivisor = 100;
        port = test::FreeUdpPort();
    }

    void TearDown() override {
        if (started) session.Stop();
    }

    void Start(long long settingsPort = -1) {
        test::SeedHostSettings(kLogOption, settingsPort < 0 ? port : settingsPort);
        Load();
        ASSERT_EQ(session.Start(), 0);
        started = true;
    }

    void StartListening() {
        Start();
        ASSERT_TRUE(WaitForEvent(Listening(port))) << test::ReadFile(kDayLog);
    }

    static std::string Listening(long long onPort) {
        return "UDPoling() - rozpoczeto nasluch na UDP UDP " + std::to_string(onPort);
    }

    static test::DayLogLines Log() { return test::SplitDayLog(test::ReadFile(kDayLog)); }

    static bool WaitForEvent(const std::string& message, int count = 1, int limit = 10000) {
        return test::WaitUntil([&] { return test::CountEvent(Log(), message) >= count; }, limit);
    }

    // Sends one datagram and waits until the listener has finished with it
    // ("Zapis" or "Bez zapisu" follows every datagram it files).
    void Deliver(std::string_view datagram, int toPort = 0) {
        int filed = Filed();
        ASSERT_TRUE(test::SendUdp(toPort ? toPort : port, datagram));
        ASSERT_TRUE(test::WaitUntil([&] { return Filed() > filed; })) << test::ReadFile(kDayLog);
    }

    static int Filed() {
        test::DayLogLines lines = Log();
        return test::CountEvent(lines, "Zapis") + test::CountEvent(lines, "Bez zapisu");
    }

    static const CallRecord& Slot(const std::string& file, int index) {
        return reinterpret_cast<const CallRecord*>(file.data())[index];
    }

    // A restart onto a port that cannot be bound yet: the old socket goes on
    // filing, the day log says why once (though retries come every 100 ms
    // here, and the control word came before), and the station moves as soon
    // as the port can be had, leaving the old one free.
    void ExpectRestartWaitsOnTheOldPort(int newPort, const std::string& bindError, const std::function<void()>& free) {
        test::SeedHostSettings(kLogOption, newPort);
        Deliver("restart\trestart\trestart\r");
        ASSERT_TRUE(WaitForEvent(bindError)) << test::ReadFile(kDayLog);
        Deliver("601\t201\t\t\ton the old port while waiting");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        free();
        ASSERT_TRUE(WaitForEvent(Listening(newPort))) << test::ReadFile(kDayLog);
        Deliver("602\t201\t\t\ton the new port", newPort);
        EXPECT_FALSE(test::UdpPortBound(port));

        test::DayLogLines log = Log();
        EXPECT_EQ(test::CountEvent(log, bindError), 1) << test::ReadFile(kDayLog);
        EXPECT_EQ(log.calls, (std::vector<std::string>{"01.03.2024\t10:00:00\t601\t201\ton the old port while waiting\t",
                                                       "01.03.2024\t10:00:00\t602\t201\ton the new port\t"}));
    }

    int port = 0;
    bool started = false;
};

}  // namespace

TEST_F(UdpListener, CallLandsInTheSlotOfItsTargetAndInTheDayLog) {
    StartListening();
    Deliver("600100200\t201\t\t\tFirma NIP:1234567890");
    refhost::AdvanceClock(60);
    Deliver("600300400\t202\t\t\tInna");
    refhost::AdvanceClock(60);
    Deliver("600500600\t201\t\t\tNowy NIP:9876543210");

    std::string slots = test::ReadFile(kSlotFile);
    ASSERT_EQ(slots.size(), 5620u);
    EXPECT_STREQ(Slot(slots, 0).phone, "600500600");
    EXPECT_STREQ(Slot(slots, 0).text, "Nowy NIP:9876543210");
    EXPECT_STREQ(Slot(slots, 0).time, "10:02:00");
    EXPECT_STREQ(Slot(slots, 0).date, "01.03.2024");
    EXPECT_STREQ(Slot(slots, 1).target, "202");
    EXPECT_EQ(slots.substr(2 * 562), std::string(8 * 562, '\0'));

    test::DayLogLines log = Log();
    EXPECT_EQ(log.calls, (std::vector<std::string>{
                             "01.03.2024\t10:00:00\t600100200\t201\tFirma NIP:1234567890\t",
                             "01.03.2024\t10:01:00\t600300400\t202\tInna\t",
                             "01.03.2024\t10:02:00\t600500600\t201\tNowy NIP:9876543210\t"}));
    EXPECT_EQ(test::CountEvent(log, "R[127.0.0.1]:600100200\t201\t\t\tFirma NIP:1234567890"), 1);
    EXPECT_EQ(test::CountEvent(log, "Slot nr 0 wpisanie telefonu: 600500600 - > 201"), 1);
}

TEST_F(UdpListener, RingsAndRepeatsWithin19SecondsAreDropped) {
    StartListening();
    Deliver("600\t201\t\t\tfirst");
    refhost::AdvanceClock(19);
    Deliver("600\t201\t\t\trepeat");
    refhost::AdvanceClock(20);
    Deliver("600\t201\t\t\tsecond");
    refhost::AdvanceClock(1);
    Deliver("Ring\t201\t\t\t");
    refhost::AdvanceClock(1);
    Deliver("600\t201\t\t\tafter the ring");

    std::vector<std::string> calls = Log().calls;
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_NE(calls[0].find("\tfirst\t"), std::string::npos);
    EXPECT_NE(calls[1].find("\tsecond\t"), std::string::npos);
    EXPECT_NE(calls[2].find("\tafter the ring\t"), std::string::npos);
}

TEST_F(UdpListener, IdenticalRecordsAreNotHandedOn) {
    StartListening();
    Deliver("Ring\t201\t\tx\t");
    Deliver("Ring\t201\t\ty\t");   // fields 2 and 3 do not count
    test::DayLogLines log = Log();
    EXPECT_EQ(test::CountEvent(log, "Zapis"), 0);
    EXPECT_EQ(test::CountEvent(log, "Bez zapisu"), 2);

    // A recorded call holds the display date, so its twin differs from it
    // and is dropped as a repeat instead.
    Deliver("600\t201\t\t\t");
    Deliver("600\t201\t\t\t");
    log = Log();
    EXPECT_EQ(test::CountEvent(log, "Zapis"), 1);
    EXPECT_EQ(test::CountEvent(log, "Bez zapisu"), 3);
    EXPECT_EQ(log.calls.size(), 1u);
}

TEST_F(UdpListener, ControlWordsAreNoCallsAndRestartTheListenerWithReReadSettings) {
    StartListening();
    int newPort = test::FreeUdpPort();
    test::SeedHostSettings(kLogOption, newPort);

    Deliver("Ping\tPing\tPing\r");   // not a control word: case counts
    EXPECT_EQ(test::CountEvent(Log(), "UDPoling() - zakonczenie"), 0);

    Deliver("ping\tping\tping\r");
    ASSERT_TRUE(WaitForEvent(Listening(newPort))) << test::ReadFile(kDayLog);
    test::DayLogLines log = Log();
    EXPECT_EQ(log.calls.back(), "01.03.2024\t10:00:00\tPing\tPing\t\t");
    EXPECT_EQ(test::CountEvent(log, "Slot nr 1 wpisanie NOWEGO telefonu: ping - > ping"), 0);
    EXPECT_TRUE(test::InOrder(
        log.events, {"R[127.0.0.1]:ping\tping\tping ",   // the plug-in writes the \r as a blank
                     "Bez zapisu", "UDPoling() - zakonczenie", "UDPOn()", "UDPOn() - OK",
                     "UDPoling() - oczekiwanie na zwolnienie portu UDP " + std::to_string(newPort),
                     Listening(newPort)}))
        << test::ReadFile(kDayLog);

    Deliver("600\t201\t\t\tthrough the new port", newPort);
    EXPECT_EQ(Log().calls.back(), "01.03.2024\t10:00:00\t600\t201\tthrough the new port\t");

    Deliver("restart\trestart\trestart\r", newPort);
    ASSERT_TRUE(WaitForEvent(Listening(newPort), 2));
    Deliver("PING\tPING\tPING\r", newPort);
    ASSERT_TRUE(WaitForEvent(Listening(newPort), 3));
    EXPECT_EQ(test::CountEvent(Log(), "UDPoling() - zakonczenie"), 3);
    // Only the calls reached the slots: no control word took one.
    std::string slots = test::ReadFile(kSlotFile);
    EXPECT_STREQ(Slot(slots, 0).target, "Ping");
    EXPECT_STREQ(Slot(slots, 1).target, "201");
    EXPECT_EQ(slots.substr(2 * 562), std::string(8 * 562, '\0'));
}

TEST_F(UdpListener, PortInUseIsRetriedAndLoggedOnce) {
    test::BoundPort other(port);
    ASSERT_TRUE(other.bound());
    Start();
    ASSERT_TRUE(WaitForEvent("bind() error: 10048"));
    // A few 100 ms retries (10 s in the host program) pass unlogged.
    std::this_thread::sleep_for(std::chrono::milliseconds(350));
    other.Release();
    ASSERT_TRUE(WaitForEvent(Listening(port)));
    Deliver("600\t201\t\t\t");
    EXPECT_EQ(Log().calls.size(), 1u);
    EXPECT_EQ(test::CountEvent(Log(), "bind() error: 10048"), 1) << test::ReadFile(kDayLog);
}

TEST_F(UdpListener, RestartOntoATakenPortFilesOnTheOldPortUntilTheNewIsFree) {
    StartListening();
    int newPort = test::FreeUdpPort();
    test::BoundPort busy(newPort);
    ASSERT_TRUE(busy.bound());
    ExpectRestartWaitsOnTheOldPort(newPort, "bind() error: 10048", [&] { busy.Release(); });
}

TEST_F(UdpListener, RestartOntoARefusedPortFilesOnTheOldPortUntilItIsAllowed) {
    if (!test::NetworkIsolated()) GTEST_SKIP() << "no network of the test's own";
    ASSERT_TRUE(test::DropBindCapability());
    StartListening();
    ExpectRestartWaitsOnTheOldPort(test::kRefusedPort, "bind() error: 10013",
                                   [] { ASSERT_TRUE(test::AllowPrivilegedPorts()); });
}

TEST_F(UdpListener, PortAboveSixteenBitsBindsItsLowBitsAndIsLoggedWhole) {
    long long wide = 65536LL * 3 + port;
    Start(wide);
    ASSERT_TRUE(WaitForEvent(Listening(wide))) << test::ReadFile(kDayLog);
    Deliver("600\t201\t\t\t");
    EXPECT_EQ(Log().calls.size(), 1u);
}

TEST_F(UdpListener, OversizeAndEmptyDatagramsAreSurvived) {
    StartListening();
    ASSERT_TRUE(test::SendUdp(port, std::string(1024, 'x')));
    ASSERT_TRUE(test::SendUdp(port, std::string(5000, 'y')));
    ASSERT_TRUE(test::SendUdp(port, ""));
    ASSERT_TRUE(WaitForEvent("recvfrom() error: 10040", 2));
    Deliver(std::string(1023, 'z'));   // the longest that fits is taken whole
    Deliver("600\t201\t\t\tstill listening");

    test::DayLogLines log = Log();
    EXPECT_EQ(log.calls.back(), "01.03.2024\t10:00:00\t600\t201\tstill listening\t");
    EXPECT_EQ(test::CountEvent(log, "UDPoling() - zakonczenie"), 0);
    EXPECT_EQ(test::CountEvent(log, "Zapis"), 2);   // the empty datagram was not filed
    bool longOneLogged = false;
    for (const std::string& event : log.events) longOneLogged |= event.rfind("R[127.0.0.1]:zzzz", 0) == 0;
    EXPECT_TRUE(longOneLogged);
}

TEST_F(UdpListener, IdleListenerSaysItIsAlive) {
    StartListening();
    EXPECT_TRUE(WaitForEvent("I'm alive - pooling loop 10 sek"));
}

// With the host program's full pauses (25 s, 10 s), a stop must still be
// seen within the listener's 100 ms.
TEST_F(UdpListener, StopDuringThePauseAfterAPingReturnsPromptly) {
    host().pauseDivisor = 1;
    StartListening();
    Deliver("ping\tping\tping\r");
    auto before = std::chrono::steady_clock::now();
    session.Stop();
    started = false;
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    EXPECT_EQ(test::CountEvent(Log(), Listening(port)), 1);
    EXPECT_EQ(test::CountEvent(Log(), "UDPOn()"), 1);   // no restart after the stop
}

TEST_F(UdpListener, StopWhileWaitingForABusyPortReturnsPromptly) {
    host().pauseDivisor = 1;
    test::BoundPort other(port);
    Start();
    ASSERT_TRUE(WaitForEvent("bind() error: 10048"));
    auto before = std::chrono::steady_clock::now();
    session.Stop();
    started = false;
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    EXPECT_EQ(test::CountEvent(Log(), "UDPoling() - zakonczenie"), 1);
}

namespace {

// The position of the first event with this text at or after from, or -1.
int EventAt(const test::DayLogLines& log, const std::string& text, int from = 0) {
    for (int i = from; i < static_cast<int>(log.events.size()); ++i)
        if (log.events[i] == text) return i;
    return -1;
}

}  // namespace

// Distinct calls at a steady rate while two restarts and a ping arrive
// (pauses ten times shorter: 0.5 s and 2.5 s): every call is filed once,
// and every target's slot holds its latest call.
TEST_F(UdpListener, NoCallIsLostThroughRestartsAndAPing) {
    host().pauseDivisor = 10;
    StartListening();
    constexpr int kCalls = 300;   // 50 a second for 6 s
    constexpr int kTargets = 5;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(20 * i));
        if (i == 50 || i == 100) {
            ASSERT_TRUE(test::SendUdp(port, "restart\trestart\trestart\r"));
        }
        if (i == 150) {
            ASSERT_TRUE(test::SendUdp(port, "ping\tping\tping\r"));
        }
        std::string call = std::to_string(700000 + i) + "\tT" + std::to_string(i % kTargets) + "\t\t\tcall";
        ASSERT_TRUE(test::SendUdp(port, call));
    }
    // The ping and the two restarts are no calls.
    ASSERT_TRUE(test::WaitUntil([&] { return Log().calls.size() >= kCalls; }, 15000))
        << Log().calls.size();
    ASSERT_TRUE(WaitForEvent(Listening(port), 4)) << test::ReadFile(kDayLog);

    test::DayLogLines log = Log();
    for (int i = 0; i < kCalls; ++i) {
        std::string phone = "\t" + std::to_string(700000 + i) + "\t";
        int lines = 0;
        for (const std::string& call : log.calls) lines += call.find(phone) != std::string::npos;
        EXPECT_EQ(lines, 1) << "call " << i;
    }
    std::string slots = test::ReadFile(kSlotFile);
    ASSERT_EQ(slots.size(), 5620u);
    for (int target = 0; target < kTargets; ++target) {
        bool found = false;
        for (int slot = 0; slot < 10; ++slot) {
            if (std::string(Slot(slots, slot).target) != "T" + std::to_string(target)) continue;
            found = true;
            EXPECT_EQ(std::string(Slot(slots, slot).phone), std::to_string(700000 + kCalls - kTargets + target));
        }
        EXPECT_TRUE(found) << "target T" << target;
    }
}

// A call that comes during a pause is filed as it arrives, before the
// pause's cycle ends, not at the restart (pauses ten times shorter: a call
// 1 s into the restart's 5 s, and 3 s into the ping's 25 s).
TEST_F(UdpListener, CallsDuringAPauseAreFiledBeforeTheCycleEnds) {
    host().pauseDivisor = 10;
    StartListening();
    ASSERT_TRUE(test::SendUdp(port, "restart\trestart\trestart\r"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(test::SendUdp(port, "701\t201\t\t\tin the restart's pause"));
    ASSERT_TRUE(WaitForEvent(Listening(port), 2)) << test::ReadFile(kDayLog);
    ASSERT_TRUE(test::SendUdp(port, "ping\tping\tping\r"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(test::SendUdp(port, "702\t202\t\t\tin the ping's pause"));
    ASSERT_TRUE(WaitForEvent(Listening(port), 3)) << test::ReadFile(kDayLog);

    test::DayLogLines log = Log();
    int first = EventAt(log, "R[127.0.0.1]:701\t201\t\t\tin the restart's pause");
    int firstEnd = EventAt(log, "UDPoling() - zakonczenie");
    int second = EventAt(log, "R[127.0.0.1]:702\t202\t\t\tin the ping's pause");
    int secondEnd = EventAt(log, "UDPoling() - zakonczenie", firstEnd + 1);
    ASSERT_GE(first, 0) << test::ReadFile(kDayLog);
    ASSERT_GE(second, 0) << test::ReadFile(kDayLog);
    EXPECT_LT(first, firstEnd);
    EXPECT_GT(second, firstEnd);
    EXPECT_LT(second, secondEnd);
    EXPECT_LT(EventAt(log, "Zapis", first), firstEnd);
    EXPECT_EQ(log.calls.size(), 2u);   // 701 and 702; the control words are no calls
}

// A control word within a pause moves no deadline: a stream
// of them every 100 ms, against a restart pause of 500 ms, still lets the
// listener restart about every 600 ms.
TEST_F(UdpListener, StreamOfControlWordsCannotPostponeTheRestart) {
    host().pauseDivisor = 10;
    StartListening();
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(test::SendUdp(port, i % 2 ? "ping\tping\tping\r" : "restart\trestart\trestart\r"));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // About five restarts in the 3 s; a rule that moved the deadline would
    // have made none.
    EXPECT_GE(test::CountEvent(Log(), Listening(port)), 3) << test::ReadFile(kDayLog);
    // Each is logged while the sender's budget of lines lasts (a few kB a
    // minute); the rest are summed in one line, written at the latest when
    // the listener ends. A last call, always logged, shows that every
    // control word before it was taken.
    ASSERT_TRUE(test::SendUdp(port, "600\t201\t\t\tlast"));
    ASSERT_TRUE(WaitForEvent("R[127.0.0.1]:600\t201\t\t\tlast")) << test::ReadFile(kDayLog);
    session.Stop();
    started = false;
    test::DayLogLines log = Log();
    int logged = test::CountEvent(log, "R[127.0.0.1]:restart\trestart\trestart ") +
                 test::CountEvent(log, "R[127.0.0.1]:ping\tping\tping ");
    const std::string summed = "Datagramy od 127.0.0.1 bez wpisu w dzienniku: ";
    int summedCount = 0, summedLines = 0;
    for (const std::string& event : log.events)
        if (event.rfind(summed, 0) == 0) summedCount += std::atoi(event.c_str() + summed.size()), ++summedLines;
    EXPECT_LT(logged, 30);
    // A word sent in the instant between a restart's close of the old
    // socket and the bind of the new one finds no socket on the port and
    // is refused by the system: at most one per restart.
    const int restarts = test::CountEvent(log, Listening(port)) - 1;
    EXPECT_LE(logged + summedCount, 30);
    EXPECT_GE(logged + summedCount, 30 - restarts) << test::ReadFile(kDayLog);
    EXPECT_LE(summedLines, 2);   // the first at once, the rest a minute later or at the end
}
