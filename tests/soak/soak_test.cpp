// The soak: the plug-in in a reference host process (headless, log option
// on, the host's clock standing still, the listener's pauses 1000 times
// shorter) takes a long mix of datagrams over loopback. Afterwards the
// listener still answers, every distinct call is in the day log exactly
// once, the slot file is ten whole records, and the host's memory did not
// grow from the first part of the run to the last.
//
// The number of datagrams is CALLERID_SOAK_DATAGRAMS (default 10000); the
// full soak is CALLERID_SOAK_DATAGRAMS=100000 build/native/bin/soak_tests.
// The sender keeps at most kInFlight datagrams ahead of the listener, which
// holds the rate below what the listener sustains whatever the machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "datagram_mix.h"
#include "day_log_tail.h"
#include "support/child_process.h"
#include "support/test_support.h"
#include "storage/call_record.h"
#include "support/udp_helpers.h"

namespace {

constexpr char kDayLog[] = "LOGS/TELEFONY/08-12-2026.LOG";
constexpr char kSlotFile[] = "LOGS/TELEFONY/CLIP.DAT";
constexpr long kInFlight = 32;
constexpr int kRecordSize = static_cast<int>(sizeof(CallRecord));
// Growth of the resident set allowed between the first tenth and the end:
// the allocator's own slack, far below what a leak per datagram would add.
constexpr long kRssMarginKb = 1024;

long DatagramCount() {
    const char* text = std::getenv("CALLERID_SOAK_DATAGRAMS");
    long count = text ? std::atol(text) : 0;
    return count > 0 ? count : 10000;
}

long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

// Every field NUL-terminated with zeros after it, as a record is built.
bool IsWholeRecord(const char* record) {
    static constexpr int kFields[][2] = {{0, 500}, {500, 21}, {521, 21}, {542, 11}, {553, 9}};
    for (const auto& [offset, size] : kFields) {
        const char* field = record + offset;
        std::size_t length = strnlen(field, static_cast<std::size_t>(size));
        if (length == static_cast<std::size_t>(size)) return false;
        if (!std::all_of(field + length, field + size, [](char c) { return c == '\0'; })) return false;
    }
    return true;
}

// Call lines are the lines whose date is followed by a tab.
std::unordered_map<std::string, int> CountCallLines(const std::string& log) {
    std::unordered_map<std::string, int> counts;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);)
        if (line.size() > 10 && line[10] == '\t') ++counts[line];
    return counts;
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMemoryIsMeasurable = false;   // the sanitizers keep freed memory on purpose
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

class Soak : public ::testing::Test {
protected:
    void SetUp() override {
        port = test::FreeUdpPort();
        test::SeedHostSettings(4, port);
        host = std::make_unique<test::ChildProcess>(std::vector<std::string>{
            CALLERID_REFHOST_PATH, "--headless", "--dir", scratch.path(), "--clock", "2026-12-08 10:00:00",
            "--pause-divisor", "1000"});
        ASSERT_TRUE(WaitForListening(1)) << host->output();
    }

    void TearDown() override {
        if (!host) return;
        host->Signal(SIGTERM);
        EXPECT_EQ(host->Wait(20000), 0) << host->output();
    }

    // Polls the day log until the condition holds; the host's console is
    // drained meanwhile so that it never blocks on a full pipe.
    template <typename Condition>
    bool Await(Condition condition, int limitMilliseconds = 20000) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMilliseconds);
        for (;;) {
            tail.Look();
            if (condition()) return true;
            if (std::chrono::steady_clock::now() >= deadline) return false;
            host->WaitForLine("\x01never\x01", 1);
        }
    }

    bool WaitForListening(long times) { return Await([&] { return tail.listening() >= times; }); }

    test::ScratchDirectory scratch;
    int port = 0;
    std::unique_ptr<test::ChildProcess> host;
    soak::DayLogTail tail{kDayLog};
};

}  // namespace

TEST_F(Soak, ListenerSurvivesALongMixOfDatagrams) {
    const long total = DatagramCount();
    soak::DatagramMix mix(20261208);
    std::unordered_map<std::string, int> expectedCalls;
    long sent = 0, leavingLines = 0, controlWords = 0;
    long rssEarly = -1;
    auto started = std::chrono::steady_clock::now();

    for (long i = 0; i < total; ++i) {
        soak::Datagram datagram = mix.Next();
        ASSERT_TRUE(Await([&] { return leavingLines - tail.taken() < kInFlight; }))
            << "the listener stopped taking datagrams after " << tail.taken() << " of " << leavingLines;
        ASSERT_TRUE(test::SendUdp(port, datagram.bytes)) << "datagram " << i;
        ++sent;
        leavingLines += datagram.leavesALine;
        if (!datagram.callLine.empty()) ++expectedCalls[datagram.callLine];
        if (datagram.kind == soak::Datagram::Kind::Control) {
            // What comes during the pause is lost with the old socket, by
            // design; the sender waits until the listener listens again.
            ++controlWords;
            ASSERT_TRUE(WaitForListening(controlWords + 1)) << "no listening again after control word " << controlWords;
        }
        if (i == total / 10 && kMemoryIsMeasurable) {
            ASSERT_TRUE(Await([&] { return tail.taken() >= leavingLines; }));
            rssEarly = ResidentKb(host->pid());
        }
    }

    // A last call must still land.
    soak::Datagram last = mix.Call();
    ASSERT_TRUE(test::SendUdp(port, last.bytes));
    ++expectedCalls[last.callLine];
    ASSERT_TRUE(Await([&] { return tail.taken() >= leavingLines + 1; })) << "the listener no longer answers";
    long rssLate = kMemoryIsMeasurable ? ResidentKb(host->pid()) : -1;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::string log = test::ReadFile(kDayLog);
    std::unordered_map<std::string, int> callLines = CountCallLines(log);
    long missing = 0, doubled = 0;
    std::string firstMissing;
    for (const auto& [line, count] : expectedCalls) {
        auto found = callLines.find(line);
        int times = found == callLines.end() ? 0 : found->second;
        if (times == 0 && missing++ == 0) firstMissing = line;
        if (times > count) ++doubled;
    }
    EXPECT_EQ(missing, 0) << "first missing call line: " << firstMissing;
    EXPECT_EQ(doubled, 0);
    EXPECT_EQ(test::CountOf(log, "\tRing\t"), 0) << "a ring was recorded";

    std::string slots = test::ReadFile(kSlotFile);
    ASSERT_EQ(slots.size(), 5620u);
    for (int slot = 0; slot < 10; ++slot)
        EXPECT_TRUE(IsWholeRecord(slots.data() + slot * kRecordSize)) << "slot " << slot;

    if (kMemoryIsMeasurable) {
        EXPECT_LE(rssLate - rssEarly, kRssMarginKb) << "resident set " << rssEarly << " kB -> " << rssLate << " kB";
    }
    std::printf("soak: %ld datagrams (%ld control words, %zu distinct calls) in %.1f s, %.0f datagrams/s; "
                "refhost resident set %ld kB after a tenth, %ld kB at the end\n",
                sent + 1, controlWords, expectedCalls.size(), seconds, (sent + 1) / seconds, rssEarly, rssLate);
}
