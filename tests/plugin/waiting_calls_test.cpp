// The listener while another station holds the slot file: it goes on
// receiving, files nothing without the lock, tells the day log when the
// hold is long, files the waiting calls in the order they came once the
// hold ends, and a stop meanwhile ends it at once, naming what it could
// not file. The other station is this test, holding the lock file.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "text/mazovia_utf8.h"
#include "plugin_fixture.h"
#include "storage/call_record.h"
#include "support/free_udp_port.h"
#include "support/udp_helpers.h"

namespace {

constexpr char kDayLog[] = "LOGS/TELEFONY/01-03-2024.LOG";
constexpr char kSlotFile[] = "LOGS/TELEFONY/CLIP.DAT";
constexpr int kCalls = 10;

class WaitingCalls : public PluginTest {
protected:
    void SetUp() override {
        refhost::FixClock({2024, 3, 1, 10, 0, 0});
        host().pauseDivisor = 100;   // the hold is told after 30 ms instead of 3 s
        port = test::FreeUdpPort();
        std::filesystem::create_directories("LOGS/TELEFONY");
        lockFile = open("LOGS/TELEFONY/CLIP.DAT.lck", O_RDWR | O_CREAT, 0666);
        ASSERT_EQ(flock(lockFile, LOCK_EX), 0);
        test::SeedHostSettings(4, port);
        Load();
        ASSERT_EQ(session.Start(), 0);
        started = true;
        ASSERT_TRUE(WaitForEvent("UDPoling() - rozpoczeto nasluch na UDP UDP " + std::to_string(port)));
    }
    void TearDown() override {
        if (started) session.Stop();
        close(lockFile);
    }

    static test::DayLogLines Log() { return test::SplitDayLog(test::ReadFile(kDayLog)); }
    static std::string Mazovia(const char* text) { return refhost::Utf8ToMazovia(text); }
    static bool WaitForEvent(const std::string& message, int count = 1) {
        return test::WaitUntil([&] { return test::CountEvent(Log(), message) >= count; });
    }
    static bool LogHas(const char* utf8) {
        return test::ReadFile(kDayLog).find(Mazovia(utf8)) != std::string::npos;
    }
    void SendCalls() {
        for (int n = 1; n <= kCalls; ++n)
            ASSERT_TRUE(test::SendUdp(port, "60" + std::to_string(n) + "\t2" + std::to_string(n) + "\t\t\tcall"));
        ASSERT_TRUE(test::WaitUntil([] { return test::CountOf(test::ReadFile(kDayLog), "\tcall\t") == kCalls; }));
    }

    int port = 0;
    int lockFile = -1;
    bool started = false;
};

TEST_F(WaitingCalls, CallsDuringAnotherStationsHoldAreFiledInOrderWhenItEnds) {
    SendCalls();
    ASSERT_TRUE(test::WaitUntil([] { return LogHas("zajęty przez inne stanowisko od"); })) << test::ReadFile(kDayLog);
    EXPECT_EQ(test::CountEvent(Log(), "Zapis"), 0);
    EXPECT_FALSE(test::FileExists(kSlotFile));
    flock(lockFile, LOCK_UN);
    // The end of the wait is logged after the calls' "Zapis" lines.
    ASSERT_TRUE(test::WaitUntil([] { return LogHas("wpisano czekające połączenia: 10"); })) << test::ReadFile(kDayLog);
    EXPECT_EQ(test::CountEvent(Log(), "Zapis"), kCalls);
    std::string file = test::ReadFile(kSlotFile);
    ASSERT_EQ(file.size(), 5620u);
    for (int k = 0; k < kCalls; ++k)
        EXPECT_STREQ(reinterpret_cast<const CallRecord*>(file.data())[k].target, ("2" + std::to_string(k + 1)).c_str());
}

TEST_F(WaitingCalls, AStopDuringTheHoldEndsTheListenerAndNamesWhatWaits) {
    SendCalls();
    auto before = std::chrono::steady_clock::now();
    session.Stop();
    started = false;
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_TRUE(LogHas("nie wpisano czekających połączeń: 10")) << test::ReadFile(kDayLog);
    EXPECT_FALSE(test::FileExists(kSlotFile));
}

}  // namespace
